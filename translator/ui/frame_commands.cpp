// The commands the main window handles itself: the file commands it hands
// to the document framework, the bars, the panes, the about box, the user
// languages and the dictionary administrator.
#include <wx/docview.h>
#include <wx/filehistory.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_hooks.h"
#include "translator/ui/left_view.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_art.h"
#include "translator/ui/ulk_view.h"
#include "uikit/about_box.h"
#include "uikit/command_id.h"
#include "uikit/wx_text.h"

namespace ulk {

void CMainFrame::BindFrameCommands() {
  auto on = [this](int id, auto handler) { Bind(wxEVT_MENU, handler, WxId(id)); };
  on(kIdFileNew, [](wxCommandEvent&) { TheApp().NewProject(); });
  on(kIdFileOpen, [this](wxCommandEvent&) {
    ForwardToDocManager(wxID_OPEN);
    TheApp().EnsureDocument();
  });
  on(kIdFileSave, [this](wxCommandEvent&) { ForwardToDocManager(wxID_SAVE); });
  on(kIdFileSaveAs, [this](wxCommandEvent&) { ForwardToDocManager(wxID_SAVEAS); });
  on(kIdAppExit, [this](wxCommandEvent&) { Close(); });
  on(kIdAppAbout, [this](wxCommandEvent&) { ShowAbout(); });
  on(kIdUserLanguages, [this](wxCommandEvent&) { RunUserLanguagesDialog(this); });
  on(kIdDictionaryAdmin, [this](wxCommandEvent&) { StartGlossmith(); });
  on(kIdCheckProject, [this](wxCommandEvent&) { RunTranslationCheck(false); });
  on(kIdCheckModule, [this](wxCommandEvent&) { RunTranslationCheck(true); });
  on(kIdReuseTranslations, [this](wxCommandEvent&) { ReuseTranslations(); });
  on(kIdAnalyseProject, [this](wxCommandEvent&) { ShowAnalysis(); });
  for (int id : {kIdCheckProject, kIdReuseTranslations, kIdAnalyseProject}) {
    Bind(
        wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(HasModules()); }, WxId(id));
  }
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(HasSelectedModule()); },
      WxId(kIdCheckModule));
  on(kIdNextPane, [this](wxCommandEvent&) { SwitchPane(true); });
  on(kIdPrevPane, [this](wxCommandEvent&) { SwitchPane(false); });
  on(kIdViewToolbar, [this](wxCommandEvent&) {
    toolbar_->Show(!toolbar_->IsShown());
    SendSizeEvent();
  });
  on(kIdViewStatusBar, [this](wxCommandEvent&) {
    GetStatusBar()->Show(!GetStatusBar()->IsShown());
    SendSizeEvent();
  });
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Check(toolbar_->IsShown()); },
      WxId(kIdViewToolbar));
  Bind(
      wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Check(GetStatusBar()->IsShown()); },
      WxId(kIdViewStatusBar));
  for (int id : {kIdFileNew, kIdFileOpen, kIdFileSave, kIdFileSaveAs, kIdAppExit, kIdAppAbout,
                 kIdUserLanguages, kIdDictionaryAdmin}) {
    Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(true); }, WxId(id));
  }
  Bind(
      wxEVT_MENU, [this](wxCommandEvent& event) { OpenRecentFile(event.GetId() - wxID_FILE1); },
      wxID_FILE1, wxID_FILE9);
}

void CMainFrame::ForwardToDocManager(int wxStockId) {
  wxCommandEvent event(wxEVT_MENU, wxStockId);
  event.SetEventObject(this);
  GetDocumentManager()->ProcessEvent(event);
}

void CMainFrame::OpenRecentFile(int index) {
  wxFileHistory* history = GetDocumentManager()->GetFileHistory();
  if (!history || index < 0 || static_cast<std::size_t>(index) >= history->GetCount()) return;
  const wxString path = history->GetHistoryFile(static_cast<std::size_t>(index));
  if (!TheApp().OpenProject(FromWx(path))) {
    // A file that cannot be opened leaves the list.
    for (std::size_t i = 0; i < history->GetCount(); ++i) {
      if (history->GetHistoryFile(i) == path) {
        history->RemoveFileFromHistory(i);
        break;
      }
    }
  }
}

void CMainFrame::OnDropFiles(wxDropFilesEvent& event) {
  if (event.GetNumberOfFiles() > 0) TheApp().OpenProject(FromWx(event.GetFiles()[0]));
}

void CMainFrame::ShowAbout() {
  AboutBox::Options options;
  options.caption = "Acerca de ULK";
  options.icon = ProgramIcon();
  options.secondIcon = MakerIcon();
  AboutBox box(this, options);
  box.ShowModal();
}

void CMainFrame::SwitchPane(bool forward) {
  (void)forward;  // two panes: either way is the other one
  if (tree_->HasFocus()) {
    list_->SetFocus();
  } else {
    tree_->SetFocus();
  }
}

std::vector<std::string> CMainFrame::GlossmithCommand() const {
  std::vector<std::string> command;
  const std::string& program = TheApp().glossmithPath();
  if (program.empty()) return command;
  command.push_back(program);
  if (DictionaryComponent* dictionary = TheApp().Dictionary()) {
    if (dictionary->IsOpened()) command.push_back(dictionary->path());
  }
  return command;
}

void CMainFrame::StartGlossmith() {
  const std::vector<std::string> command = GlossmithCommand();
  if (command.empty()) return;
  std::vector<wxString> words;
  for (const std::string& word : command) words.push_back(ToWx(word));
  std::vector<const wchar_t*> argv;
  for (const wxString& word : words) argv.push_back(word.wc_str());
  argv.push_back(nullptr);
  wxExecuteEnv environment;
  environment.cwd = ToWx(TheApp().startDirectory());
  // The translator waits, hidden, until the administrator ends; a program
  // that cannot start brings the window back at once, silently.
  Hide();
  wxExecute(argv.data(), wxEXEC_SYNC | wxEXEC_NOEVENTS, nullptr, &environment);
  Show();
  Raise();
}

}  // namespace ulk
