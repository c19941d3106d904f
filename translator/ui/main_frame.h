// The main window: menus, toolbar, the status bar with its four panes and
// progress bar, the splitter with the project tree and the resource list;
// it forwards each command to the view that owns it.
#pragma once

#include <string>
#include <vector>

#include <wx/docview.h>

#include "translator/ui/window_ui.h"
#include "uikit/icon_menu.h"
#include "uikit/status_bar_progress.h"

class wxImageList;
class wxSplitterWindow;
class wxToolBar;

namespace ulk {

class CFindingsDlg;
class CLeftView;
struct Finding;
class CULKView;
struct LeverageOptions;
class ProjectTree;
class ResourceList;

class CMainFrame : public wxDocParentFrame {
 public:
  CMainFrame(wxDocManager* manager, bool hasDictionary, bool hasGlossmith);
  ~CMainFrame() override;

  // The views of the open document: the tree and the list, or null.
  CLeftView* TreeView() const;
  CULKView* ListView() const;
  ProjectTree* Tree() const { return tree_; }
  ResourceList* List() const { return list_; }
  wxImageList* TreeImages() const { return treeImages_; }
  WindowUi& Ui() { return ui_; }
  IconMenus& Menus() { return menus_; }
  wxToolBar* MainToolbar() const { return toolbar_; }

  // Pane 0: saves its text and shows `text` at once; PopStatusText shows
  // the saved text again ("Preparado" when none is saved).
  void PushStatusText(const std::string& text);
  void PopStatusText();
  void ShowProgress(bool show);
  void SetProgressRange(int low, int high);
  void SetProgressPos(int position);
  const StatusBarProgress& Progress() const { return progress_; }

  // Panes 2 and 3 as idle time leaves them.
  void UpdateStatusPanes();
  // "name - ULK".
  void UpdateTitle();

  // The administrator's command line: the program, then the open
  // dictionary's path as one argument when one is open.
  std::vector<std::string> GlossmithCommand() const;

  // Pops up a context menu (menu 131's popup `index`) at a screen position;
  // its commands come back through this window.
  void PopupContextMenu(wxMenu* menu, const wxPoint& screenPosition);
  wxMenu* MakeTreeContextMenu();
  wxMenu* MakeListContextMenu();
  // A dialog node of the tree: its previews and its layout.
  wxMenu* MakeDialogNodeContextMenu();

  // Checks the translations of the project, or of the selected module, and
  // shows the findings in their window (made on the first check).
  void RunTranslationCheck(bool selectedModuleOnly);
  CFindingsDlg* FindingsWindow() const { return findings_; }
  // Selects the finding's module and its row in the list; a module or an
  // entry that is gone is reported.
  bool GoToFinding(const Finding& finding);
  bool HasModules() const;

  // Fills the project's target languages from another project chosen in a
  // file dialog, with the options asked then; one undo step; a report of
  // what came from where.
  void ReuseTranslations();
  // The same from the project at `path` once the options are known; false
  // when the file could not be read (reported).
  bool ReuseTranslationsFrom(const std::string& path, const LeverageOptions& options);
  // The analysis of the project's work, in its window (modal).
  void ShowAnalysis();
  bool HasSelectedModule() const;

 private:
  void CreateMenus();
  void CreateToolbars();
  void CreateStatusPanes();
  // Sizes the fixed panes to the longest text each can show, its current
  // one included.
  void FitStatusPanes();
  void CreateAccelerators();
  void BindCommands();
  void BindFrameCommands();

  void OnStatusBarSize(wxSizeEvent& event);
  void OnIdle(wxIdleEvent& event);
  void OnDropFiles(wxDropFilesEvent& event);
  void StartGlossmith();
  void ShowAbout();
  void SwitchPane(bool forward);
  void ForwardToDocManager(int wxStockId);
  void OpenRecentFile(int index);

  bool hasDictionary_;
  bool hasGlossmith_;
  wxSplitterWindow* splitter_ = nullptr;
  ProjectTree* tree_ = nullptr;
  ResourceList* list_ = nullptr;
  wxToolBar* toolbar_ = nullptr;
  // Stands in for the hidden toolbar that lends the menus its images.
  MenuImageTable menuImages_;
  IconMenus menus_;
  StatusBarProgress progress_;
  std::vector<std::string> statusStack_;
  wxImageList* treeImages_ = nullptr;
  WindowUi ui_;
  CFindingsDlg* findings_ = nullptr;
};

}  // namespace ulk
