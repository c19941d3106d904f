// The resource list's editing commands: undo and redo, the clipboard,
// deleting translations, finding text, the dictionary and its suggestions.
#include <wx/menu.h>
#include <wx/time.h>

#include "platform/text.h"
#include "translator/dictionary/dictionary_translation.h"
#include "translator/model/messages.h"
#include "translator/model/resource_rows.h"
#include "translator/resources/resource_kind.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_hooks.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/preview/resource_preview.h"
#include "translator/ui/similar_translation_dlg.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_clipboard.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

WindowUi& Ui() {
  return TheApp().MainFrame()->Ui();
}

// How often idle time may ask the clipboard whether it holds a row: the
// question goes to the display server.
constexpr long kPasteCheckMillis = 500;

}  // namespace

void CULKView::OnUndo() {
  Doc()->Undo();
}

void CULKView::OnRedo() {
  Doc()->Redo();
}

bool CULKView::CanUndo() const {
  return Doc() && Doc()->CanUndo();
}

bool CULKView::CanRedo() const {
  return Doc() && Doc()->CanRedo();
}

bool CULKView::OneSelected() const {
  return list_ && list_->GetSelectedItemCount() == 1;
}

bool CULKView::AnySelected() const {
  return list_ && list_->GetSelectedItemCount() > 0;
}

bool CULKView::CanPaste() const {
  if (!OneSelected()) return false;
  const long now = static_cast<long>(wxGetLocalTimeMillis().GetValue());
  if (pasteCheckedAt_ < 0 || now - pasteCheckedAt_ >= kPasteCheckMillis) {
    pasteAvailable_ = ClipboardHasRow();
    pasteCheckedAt_ = now;
  }
  return pasteAvailable_;
}

void CULKView::OnCopy() {
  const Module* module = CurrentModule();
  const std::string key = GetSelectedKey();
  if (!module || key.empty()) return;
  const std::string own = BuildClipboardBlock(*module, key, '\0', '\0');
  const std::string text = BuildClipboardBlock(*module, key, '\t', '\n');
  std::string error;
  if (!PutRowOnClipboard(own, text, error)) {
    ShowMessageBox(GetFrame(), std::string(MessageText(kMsgErrorCopyingToClipboard)) + "\n" + error,
                   MessageKind::kError);
  }
  pasteCheckedAt_ = -1;
}

void CULKView::OnCut() {
  ClearClipboard();
  OnCopy();
  if (ClipboardHasRow()) OnDeleteTranslation();
}

void CULKView::OnPaste() {
  Module* module = CurrentModule();
  const std::string key = GetSelectedKey();
  if (!module || key.empty()) return;
  std::string block;
  if (!ReadRowFromClipboard(block)) {
    ShowMessageBox(GetFrame(), MessageText(kMsgErrorPastingFromClipboard), MessageKind::kError);
    return;
  }
  Doc()->BeginEdit(true);
  PasteClipboardBlock(*module, key, block);
  RefreshRowOfKey(key);
  Doc()->EntriesChanged();
}

void CULKView::OnDeleteTranslation() {
  Module* module = CurrentModule();
  if (!module) return;
  const std::vector<std::string> keys = SelectedKeys();
  Doc()->BeginEdit(false);
  WindowUi& ui = Ui();
  ui.ShowProgress(true);
  ui.SetProgressRange(0, static_cast<int>(keys.size()));
  int emptied = 0;
  int done = 0;
  for (const std::string& key : keys) {
    emptied += DeleteTranslations(*module, key);
    RefreshRowOfKey(key);
    Doc()->EntriesChanged();
    ui.SetProgressPos(++done);
  }
  ui.ShowProgress(false);
  if (emptied > 0) {
    Doc()->CommitEdit();
  } else {
    Doc()->DiscardEdit();
  }
}

void CULKView::OnSelectAll() {
  helper_.SelectAll();
  if (list_) list_->SetFocus();
}

void CULKView::SetSearch(const std::string& text, bool matchCase, bool down) {
  searchText_ = text;
  matchCase_ = matchCase;
  searchDown_ = down;
  findData_.SetFindString(ToWx(text));
  wxUint32 flags = 0;
  if (matchCase) flags |= wxFR_MATCHCASE;
  if (down) flags |= wxFR_DOWN;
  findData_.SetFlags(flags);
}

void CULKView::OnFind() {
  if (findDialog_) {
    findDialog_->Show();
    findDialog_->Raise();
    findDialog_->SetFocus();
    return;
  }
  findData_.SetFindString(ToWx(searchText_));
  findDialog_ = new wxFindReplaceDialog(list_, &findData_, ToWx("Buscar"), wxFR_NOWHOLEWORD);
  findDialog_->Bind(wxEVT_FIND, &CULKView::OnFindDialogEvent, this);
  findDialog_->Bind(wxEVT_FIND_NEXT, &CULKView::OnFindDialogEvent, this);
  findDialog_->Bind(wxEVT_FIND_CLOSE, &CULKView::OnFindDialogEvent, this);
  findDialog_->Show();
}

void CULKView::OnFindDialogEvent(wxFindDialogEvent& event) {
  if (event.GetEventType() == wxEVT_FIND_CLOSE) {
    findDialog_->Destroy();
    findDialog_ = nullptr;
    return;
  }
  const int flags = event.GetFlags();
  searchText_ = FromWx(event.GetFindString());
  matchCase_ = (flags & wxFR_MATCHCASE) != 0;
  searchDown_ = (flags & wxFR_DOWN) != 0;
  if (!searchText_.empty()) OnFindNext();
}

void CULKView::OnFindNext() {
  if (searchText_.empty()) {
    OnFind();
    return;
  }
  const Module* module = CurrentModule();
  if (!module || !list_) return;
  std::vector<std::string> keys;
  keys.reserve(static_cast<std::size_t>(RowCount()));
  for (const ListRow& row : list_->Rows()) keys.push_back(row.cells[0]);
  const long row =
      FindNextRow(*module, keys, helper_.FirstSelected(), searchText_, matchCase_, searchDown_);
  if (row < 0) return;
  SelectRowOnly(row);
  if (findDialog_) findDialog_->Hide();
}

void CULKView::OnTranslateResource() {
  Module* module = CurrentModule();
  const std::string key = GetSelectedKey();
  if (!module || key.empty()) return;
  Doc()->BeginEdit(false);
  if (RunTranslationDialog(*module, key, GetFrame())) {
    Doc()->CommitEdit();
    RefreshRowOfKey(key);
    Doc()->EntriesChanged();
  } else {
    Doc()->DiscardEdit();
  }
}

std::optional<std::string> CULKView::PreviewKey() const {
  if (!list_ || !CurrentModule()) return std::nullopt;
  const int selectedRows = list_->GetSelectedItemCount();
  if (selectedRows > 1) return std::nullopt;
  std::optional<std::string> selected;
  std::optional<std::string> firstRow;
  if (selectedRows == 1) selected = GetSelectedKey();
  if (RowCount() > 0) firstRow = list_->RowAt(0).cells[0];
  const std::optional<std::string> key = ChoosePreviewKey(selected, firstRow);
  // Only dialogs and menus can be shown: a selected string or version row
  // leaves the commands disabled.
  if (!key) return std::nullopt;
  const ResourceKind kind = KindOfKey(*key);
  if (kind != ResourceKind::kMenu && kind != ResourceKind::kDialog) return std::nullopt;
  return std::string(ResourceKeyOf(*key));
}

bool CULKView::CanPreview() const {
  return PreviewKey().has_value();
}

bool CULKView::CanPreviewTranslated() const {
  const Module* module = CurrentModule();
  return module && module->LanguageCount() > 1 && CanPreview();
}

void CULKView::OnShowOriginal() {
  const Module* module = CurrentModule();
  if (const std::optional<std::string> key = PreviewKey(); module && key) {
    ShowResourcePreview(*module, *key, false, GetFrame());
  }
}

void CULKView::OnShowTranslated() {
  const Module* module = CurrentModule();
  if (const std::optional<std::string> key = PreviewKey();
      module && key && module->LanguageCount() > 1) {
    ShowResourcePreview(*module, *key, true, GetFrame());
  }
}

bool CULKView::CanEditLayout() const {
  const std::optional<std::string> key = PreviewKey();
  return CanPreviewTranslated() && key && KindOfKey(*key) == ResourceKind::kDialog;
}

void CULKView::OnEditLayout() {
  Module* module = CurrentModule();
  const std::optional<std::string> key = PreviewKey();
  if (!module || !key || !CanEditLayout()) return;
  if (EditDialogLayout(*module, *key, Doc()->History(), GetFrame())) Doc()->EntriesChanged();
}

bool CULKView::ComponentLoaded() const {
  return TheApp().Dictionary() != nullptr;
}

bool CULKView::DictionaryOpen() const {
  const DictionaryComponent* dictionary = TheApp().Dictionary();
  return dictionary && dictionary->IsOpened();
}

bool CULKView::CanTranslateSelected() const {
  const Module* module = CurrentModule();
  return DictionaryOpen() && module && module->LanguageCount() > 1;
}

bool CULKView::CanAddSelected() const {
  return CanTranslateSelected() && !TheApp().Dictionary()->readOnly();
}

void CULKView::OnOpenDictionary() {
  if (!TheApp().Dictionary()) return;
  if (const std::optional<std::string> path = ChooseDictionaryFile(GetFrame())) {
    OpenDictionaryFile(*path);
  }
}

bool CULKView::OpenDictionaryFile(const std::string& path) {
  DictionaryComponent* dictionary = TheApp().Dictionary();
  if (!dictionary) return false;
  if (dictionary->Open(path)) {
    // The index of similar texts, built now (once, for a dictionary that
    // can be written) rather than at the first translation dialog.
    if (dictionary->HasSimilarTexts()) {
      Ui().PushStatusText("Preparando el índice de textos parecidos...");
      PrepareSimilarTexts(*dictionary, Ui());
      Ui().PopStatusText();
    }
    return true;
  }
  ShowMessageBox(GetFrame(), FormatMessage(kMsgErrorOpeningDictionary, path.c_str()),
                 MessageKind::kError);
  return false;
}

void CULKView::OnCloseDictionary() {
  if (DictionaryComponent* dictionary = TheApp().Dictionary()) dictionary->Close();
}

void CULKView::OnTranslateSelected() {
  Module* module = CurrentModule();
  DictionaryComponent* dictionary = TheApp().Dictionary();
  if (!module || !dictionary) return;
  const std::vector<std::string> changed =
      TranslateKeys(*module, SelectedKeys(), *dictionary, Ui(), &Doc()->History());
  for (const std::string& key : changed) RefreshRowOfKey(key);
  if (!changed.empty()) Doc()->EntriesChanged();
}

bool CULKView::CanTranslateSimilar() const {
  const DictionaryComponent* dictionary = TheApp().Dictionary();
  return CanTranslateSelected() && dictionary && dictionary->HasSimilarTexts();
}

void CULKView::OnTranslateSimilar() {
  Module* module = CurrentModule();
  DictionaryComponent* dictionary = TheApp().Dictionary();
  if (!module || !dictionary || !AskSimilarMinimum(GetFrame(), similarMinimum_)) return;
  const std::vector<std::string> changed = TranslateKeys(
      *module, SelectedKeys(), *dictionary, Ui(), &Doc()->History(), similarMinimum_);
  for (const std::string& key : changed) RefreshRowOfKey(key);
  if (!changed.empty()) Doc()->EntriesChanged();
}

void CULKView::OnAddSelected() {
  const Module* module = CurrentModule();
  DictionaryComponent* dictionary = TheApp().Dictionary();
  if (!module || !dictionary) return;
  AddKeysToDictionary(*module, SelectedKeys(), *dictionary, Ui());
}

wxMenu* CULKView::SuggestionMenu(const wxPoint& screenPosition) {
  suggestions_.clear();
  suggestionScores_.clear();
  suggestionLanguage_.clear();
  suggestionKey_.clear();
  const Module* module = CurrentModule();
  const std::string key = GetSelectedKey();
  if (!module || key.empty() || !DictionaryOpen()) return nullptr;
  const int column = helper_.HitTestColumn(list_->ScreenToClient(screenPosition));
  // Only a target language's column: after the key and the original.
  if (column < 2 || static_cast<std::size_t>(column) > columnLanguages_.size()) return nullptr;
  const std::string& language = columnLanguages_[static_cast<std::size_t>(column) - 1];
  const std::vector<Candidate> candidates =
      CandidatesFor(*module, key, language, *TheApp().Dictionary());
  if (candidates.empty()) return nullptr;
  auto* menu = new wxMenu();
  int id = kIdFirstSuggestion;
  for (const Candidate& candidate : candidates) {
    suggestions_[id] = candidate.text;
    suggestionScores_[id] = candidate.score;
    // A candidate's own "&" is text, not a mnemonic.
    menu->Append(WxId(id), ToWx(ReplaceAll(candidate.label, "&", "&&")));
    ++id;
  }
  suggestionLanguage_ = language;
  suggestionKey_ = key;
  return menu;
}

void CULKView::OnSuggestion(int commandId) {
  const auto found = suggestions_.find(commandId);
  Module* module = CurrentModule();
  if (found == suggestions_.end() || found->second.empty() || !module) return;
  Doc()->BeginEdit(true);
  const auto score = suggestionScores_.find(commandId);
  if (ApplyCandidate(*module, suggestionKey_, suggestionLanguage_, found->second,
                     score == suggestionScores_.end() ? 100 : score->second)) {
    RefreshRowOfKey(suggestionKey_);
    Doc()->EntriesChanged();
  }
}

}  // namespace ulk
