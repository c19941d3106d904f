// The resource list: one row per text of the module selected in the tree,
// one column per language; where translation happens (clipboard, delete,
// find, dictionary) and the undo history looks for its rows.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <wx/docview.h>
#include <wx/fdrepdlg.h>

#include "translator/model/resource_rows.h"
#include "translator/model/undo_history.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/striped_list.h"

namespace ulk {

class CULKDoc;
class CULKView;
class Module;

// The list control; it outlives the documents, whose views attach to it.
class ResourceList : public StripedListCtrl {
 public:
  explicit ResourceList(wxWindow* parent);
  void SetView(CULKView* view) { view_ = view; }
  // The text colour of each translation status.
  static wxColour StatusColour(long status);
  // The window under the header that paints the rows and gets the mouse.
  wxWindow* RowsWindow() const;

 protected:
  void RowsReordered(const std::vector<std::size_t>& order) override;

 private:
  void OnRowsMouseDown(wxMouseEvent& event);
  void OnRowsMotion(wxMouseEvent& event);
  void OnColumnClick(wxListEvent& event);
  void OnActivated(wxListEvent& event);
  void OnKeyDown(wxListEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);
  void OnSize(wxSizeEvent& event);

  CULKView* view_ = nullptr;
};

class CULKView : public wxView, public UndoView {
 public:
  CULKView() = default;
  ~CULKView() override;

  bool OnCreate(wxDocument* doc, long flags) override;
  void OnDraw(wxDC*) override {}
  void OnUpdate(wxView* sender, wxObject* hint = nullptr) override;
  bool OnClose(bool deleteWindow) override;
  // The tree sets the window's title.
  void OnChangeFilename() override {}

  CULKDoc* Doc() const;
  Module* CurrentModule() const;
  ResourceList* List() const { return list_; }

  // The key of the first selected row, or "".
  std::string GetSelectedKey() const;
  std::vector<std::string> SelectedKeys() const;
  // The row of a key, or -1.
  long FindRowOfKey(const std::string& key) const;
  // Re-reads the row of a key from the module and repaints it.
  void RefreshRowOfKey(const std::string& key);
  long RowCount() const;
  const std::vector<std::string>& ColumnLanguages() const { return columnLanguages_; }

  // UndoView
  std::string CurrentModulePath() override;
  bool CaptureSelection(ModuleSnapshot& snapshot) override;
  int FindRow(std::string_view key) override;
  void RefreshRow(int row) override;
  void EnsureRowVisible(int row) override;
  void SuspendRedraw() override;
  void ResumeRedraw() override;

  void Fill();
  // A header click: ascending, or descending when the column is sorted
  // ascending already.
  void SortColumn(int column);
  // Builds the list's context menu (the dictionary's suggestions for the
  // clicked column first) and pops it up.
  void ContextMenu(const wxPoint& screenPosition);
  // Rebuilds the key index after rows moved.
  void RowsMoved();

  // Commands.
  void OnUndo();
  void OnRedo();
  void OnCut();
  void OnCopy();
  void OnPaste();
  void OnSelectAll();
  void OnFind();
  void OnFindNext();
  void OnTranslateResource();
  void OnDeleteTranslation();
  void OnShowOriginal();
  void OnShowTranslated();
  void OnEditLayout();
  void OnOpenDictionary();
  // Opens (or creates) the dictionary at `path`; a failure shows 5041.
  bool OpenDictionaryFile(const std::string& path);
  void OnCloseDictionary();
  // The selected texts from the dictionary, those without a translation
  // there from similar texts at a minimum score the user gives.
  void OnTranslateSimilar();
  bool CanTranslateSimilar() const;
  void OnTranslateSelected();
  void OnAddSelected();
  void OnSuggestion(int commandId);
  // Exchange with translators' tools and pseudo-translation, on a target
  // language of the current module (asked for when it has several).
  void OnExportLanguage();
  void OnImportLanguage();
  void OnPseudoTranslate();
  // Review states: the selected rows' translations in the review language
  // marked, and the next row (wrapping) without a translation or to review
  // there selected.
  void OnMarkReviewed();
  void OnMarkToReview();
  void OnNextUntranslated();
  void OnNextToReview();
  bool CanMark() const;
  // The rows the list shows besides the tree's node's; fills the list
  // again, also for the filter it has.
  void SetFilter(RowFilter filter);
  RowFilter Filter() const { return filter_; }
  // How many rows the tree's node has before the filter.
  std::size_t NodeRowCount() const { return nodeRowCount_; }
  // The target language the review commands look at: that of the language
  // column clicked last in the list, or "" (every target language) when that
  // was the key's or the original's column, or no column has been clicked.
  std::string ReviewLanguage() const;
  void ColumnClicked(int column);
  // What the list says of a cell under the pointer: its mark and note.
  std::string CellTip(long row, int column) const;
  // The same once the language and the file are chosen; each says what
  // happened in a message (the pseudo-translation only when it fails).
  bool ExportLanguageTo(const std::string& language, const std::string& path);
  bool ImportLanguageFrom(const std::string& language, const std::string& path);
  bool PseudoTranslateLanguage(const std::string& language);
  // Selects only the row of `key`, shows it and gives the list the focus;
  // false when the list has no such row.
  bool SelectKey(const std::string& key);
  bool CanExchange() const;
  bool CanUndo() const;
  bool CanRedo() const;
  bool OneSelected() const;
  bool AnySelected() const;
  bool CanPaste() const;
  bool HasRows() const { return RowCount() > 0; }
  // The key both preview commands show: the selected row's (one row
  // selected), else row 0's when it names a dialog or menu; none for other
  // kinds of resource.
  std::optional<std::string> PreviewKey() const;
  bool CanPreview() const;
  bool CanPreviewTranslated() const;
  bool CanEditLayout() const;
  bool ComponentLoaded() const;
  bool DictionaryOpen() const;
  bool CanTranslateSelected() const;
  bool CanAddSelected() const;

  // The find state, for tests and the find dialog.
  void SetSearch(const std::string& text, bool matchCase, bool down);
  wxFindReplaceDialog* FindDialog() const { return findDialog_; }
  const std::map<int, std::string>& Suggestions() const { return suggestions_; }

 private:
  void RebuildKeyIndex();
  // A target language of the current module: the only one, or the one the
  // user chooses ("" when cancelled).
  std::string ChooseTargetLanguage();
  // After an operation changed these entries: their rows, the modified flag.
  void RefreshRowsOfKeys(const std::vector<std::string>& keys);
  void SelectRowOnly(long row);
  void MarkSelected(std::int32_t review);
  void GoToNext(RowFilter filter, int noneMessage);
  void OnFindDialogEvent(wxFindDialogEvent& event);
  wxMenu* SuggestionMenu(const wxPoint& screenPosition);

  ResourceList* list_ = nullptr;
  ListCtrlHelper helper_;
  std::vector<std::string> columnLanguages_;
  RowFilter filter_ = RowFilter::kAll;
  std::size_t nodeRowCount_ = 0;
  std::string clickedLanguage_;
  std::unordered_map<std::string, long> keyIndex_;
  wxFindReplaceData findData_{wxFR_DOWN};
  wxFindReplaceDialog* findDialog_ = nullptr;
  std::string searchText_;
  bool matchCase_ = false;
  bool searchDown_ = true;
  std::map<int, std::string> suggestions_;
  std::map<int, int> suggestionScores_;
  int similarMinimum_ = 85;  // last given, for the session  // below 100: a similar text's translation
  std::string suggestionLanguage_;
  std::string suggestionKey_;
  mutable long pasteCheckedAt_ = -1;
  mutable bool pasteAvailable_ = false;

  wxDECLARE_DYNAMIC_CLASS(CULKView);
};

}  // namespace ulk
