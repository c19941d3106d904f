// The administrator's main window: the menus, the three toolbars, the two
// language selectors and the two lists of the browser. A thin window: the
// browser decides, this shows what it holds and passes the user's choices
// and commands on.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include <wx/fdrepdlg.h>
#include <wx/frame.h>

#include "glossmith/browser/dictionary_browser.h"
#include "glossmith/ui/window_prompter.h"
#include "uikit/icon_menu.h"

class wxChoice;
class wxProgressDialog;
class wxListEvent;
class wxMenu;
class wxPanel;
class wxToolBar;

namespace ulk {
class DialogToolbar;
class StripedListCtrl;
}  // namespace ulk

namespace ulk::glossmith {

class CGlossmithDlg : public wxFrame {
 public:
  CGlossmithDlg();
  ~CGlossmithDlg() override;

  // Opens (or creates) the dictionary at `path` as the open command does.
  void OpenPath(const std::string& path);

  DictionaryBrowser& browser() { return browser_; }
  StripedListCtrl* textsList() const { return texts_; }
  StripedListCtrl* translationsList() const { return translations_; }
  wxChoice* sourceSelector() const { return source_; }
  wxChoice* targetSelector() const { return target_; }
  DialogToolbar* mainToolbar() const { return mainToolbar_; }
  DialogToolbar* textsToolbar() const { return textsToolbar_; }
  DialogToolbar* translationsToolbar() const { return translationsToolbar_; }
  wxToolBar* menuIconsToolbar() const { return menuIcons_; }
  wxFindReplaceDialog* findDialog() const { return findDialog_; }

  // The "Filtros" menu as the filter button shows it.
  std::unique_ptr<wxMenu> MakeFilterMenu();

  // The last progress of a TMX exchange shown (done, total).
  std::pair<std::size_t, std::size_t> lastProgress() const { return lastProgress_; }

 private:
  void BuildMenus();
  void BuildControls();
  void BindCommands();
  void BindLists();

  // Shows what changed in the browser: title, selectors, rows, selections.
  void ShowBrowser();
  void ShowList(StripedListCtrl* list, const TextRows& rows, long selected, long reveal);

  void OnOpen();
  void OnImportTmx();
  void OnExportTmx();
  // Shows the progress of a TMX exchange in a window of its own, made at
  // the first report and gone when the work is done or a message shows.
  TmxProgress ShowProgress(int messageId);
  void OnFilterMenu();
  void OnLanguages();
  void OnFind();
  void OnFindDialog(wxFindDialogEvent& event);
  void OnAbout();
  void OnListSelection(wxListEvent& event, bool texts);
  void OnListActivated(wxListEvent& event, bool texts);
  // Runs a browser command and shows what it changed.
  template <typename Command>
  void Run(Command command);

  WindowPrompter prompter_;
  DictionaryBrowser browser_;
  IconMenus menus_;
  wxPanel* panel_ = nullptr;
  wxChoice* source_ = nullptr;
  wxChoice* target_ = nullptr;
  StripedListCtrl* texts_ = nullptr;
  StripedListCtrl* translations_ = nullptr;
  DialogToolbar* mainToolbar_ = nullptr;
  DialogToolbar* textsToolbar_ = nullptr;
  DialogToolbar* translationsToolbar_ = nullptr;
  wxToolBar* menuIcons_ = nullptr;
  wxFindReplaceData findData_;
  wxFindReplaceDialog* findDialog_ = nullptr;
  std::unique_ptr<wxProgressDialog> progress_;
  std::pair<std::size_t, std::size_t> lastProgress_;
  // Set while the window shows the browser, so that the selection events
  // it causes are not taken for the user's.
  bool showing_ = false;
};

}  // namespace ulk::glossmith
