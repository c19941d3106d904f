// Start-up and shut-down of the translator.
#include "translator/ui/translator_app.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include <wx/arrstr.h>
#include <wx/config.h>
#include <wx/docview.h>
#include <wx/fileconf.h>

#include "platform/files.h"
#include "platform/user_settings.h"
#include "translator/model/messages.h"
#include "translator/model/resource_engine.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/left_view.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/ulk_doc.h"
#include "uikit/command_id.h"
#include "uikit/icon_menu.h"
#include "uikit/message_box.h"
#include "uikit/spanish.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr int kRecentFiles = 4;

// The document manager of a single-document program with a recent-file
// list of four, whose new documents are named as the template says.
class UlkDocManager : public wxDocManager {
 public:
  UlkDocManager() : wxDocManager(0, true) { SetMaxDocsOpen(1); }
  wxFileHistory* OnCreateFileHistory() override { return new wxFileHistory(kRecentFiles); }
  wxString MakeNewDocumentName() override { return ToWx(MessageText(kMsgProgramName)); }
};

// A new folder "DLLxxxxxx" in the temporary folder that only this user may
// enter, for the files the preview writes and rewrites by name: nobody else
// can plant a link there for a write to follow. "" on failure.
std::string MakeTemporaryFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return {};
  std::string pattern = (folder / "DLLXXXXXX").string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.parent_path().string();
}

bool IsProgramFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::string GlossmithBeside(const std::string& programFolder) {
  // Only there (the install puts both programs in its bin folder): a
  // program in the current folder could be anyone's.
  const std::string path = programFolder + "/glossmith";
  return !programFolder.empty() && IsProgramFile(path) ? path : std::string();
}

TranslatorApp& TheApp() {
  return *static_cast<TranslatorApp*>(wxTheApp);
}

TranslatorApp::TranslatorApp() {
  std::error_code error;
  startDirectory_ = std::filesystem::current_path(error).string();
}

bool TranslatorApp::OnInit() {
  StartOptions options;
  if (argc > 1) options.projectPath = FromWx(argv[1]);
  return Startup(options);
}

int TranslatorApp::OnExit() {
  Shutdown();
  return wxApp::OnExit();
}

std::string TranslatorApp::FindGlossmith(const std::string& given) const {
  if (!given.empty()) return IsProgramFile(given) ? given : std::string();
  return GlossmithBeside(ExecutableFolder());
}

bool TranslatorApp::Startup(const StartOptions& options) {
  SetAppName("ULK");
  SetVendorName("Kelvanter");
  SetAppDisplayName(ToWx(MessageText(kMsgProgramName)));
  SetUpSpanishTranslations();
  SetMessageBoxCaption(MessageText(kMsgProgramName));
  SetCommandPrompts([](int id) { return std::string(MessageText(id)); });
  SetMenuDrawStyle(MenuDrawStyle::kClassic);

  // Settings: the recent files and, for the property dialogs, "Languages".
  // The file is named here rather than left to wx, whose own choice is a
  // folder in the home that nobody makes.
  std::string settingsPath = options.configPath;
  if (settingsPath.empty()) {
    settingsPath = UserSettingsPath("ULK");
    // When the folder cannot be made, the settings say so when they are
    // written.
    MakeSettingsFolder(settingsPath);
  }
  config_ = std::make_unique<wxFileConfig>("ULK", "Kelvanter", ToWx(settingsPath), wxString(),
                                           wxCONFIG_USE_LOCAL_FILE);
  wxConfigBase::Set(config_.get());

  if (options.loadComponent) {
    if (options.componentCandidates.empty()) {
      dictionary_.Load();
    } else {
      dictionary_.Load(options.componentCandidates);
    }
  }
  glossmithPath_ = FindGlossmith(options.glossmithPath);

  docManager_ = new UlkDocManager();
  // Window title, document name, new-file name, filter name, extension,
  // file type and its display name.
  const wxArrayString parts = wxSplit(ToWx(MessageText(kMsgDocumentTemplate)), '\n', 0);
  new wxDocTemplate(docManager_, parts[3], "*" + parts[4], wxString(), parts[4].Mid(1), parts[5],
                    "CLeftView", CLASSINFO(CULKDoc), CLASSINFO(CLeftView));

  frame_ = new CMainFrame(docManager_, dictionary_.IsLoaded(), !glossmithPath_.empty());
  SetTopWindow(frame_);
  docManager_->FileHistoryLoad(*config_);

  if (options.projectPath.empty()) {
    NewProject();
  } else {
    OpenProject(options.projectPath);
  }

  PrepareTemporaryFiles();
  if (options.showFrame) {
    frame_->Show();
    frame_->Update();
  }
  frame_->DragAcceptFiles(true);
  return true;
}

void TranslatorApp::Shutdown() {
  if (docManager_) {
    docManager_->FileHistorySave(*config_);
    config_->Flush();
    docManager_->CloseDocuments(true);
  }
  // The frame goes at once, not at idle time: its events go through the
  // document manager, which goes next.
  if (frame_) delete frame_;
  frame_ = nullptr;
  if (docManager_) {
    delete docManager_;
    docManager_ = nullptr;
  }
  RemoveTemporaryFiles();
  dictionary_.Unload();
  if (wxConfigBase::Get(false) == config_.get()) wxConfigBase::Set(nullptr);
  config_.reset();
}

void TranslatorApp::FrameDestroyed(CMainFrame* frame) {
  if (frame_ == frame) frame_ = nullptr;
}

CULKDoc* TranslatorApp::Document() const {
  return docManager_ ? dynamic_cast<CULKDoc*>(docManager_->GetCurrentDocument()) : nullptr;
}

DictionaryComponent* TranslatorApp::Dictionary() {
  return dictionary_.IsLoaded() ? &dictionary_ : nullptr;
}

void TranslatorApp::NewProject() {
  if (!docManager_->CreateDocument(wxString(), wxDOC_NEW)) {
    EnsureDocument();
    return;
  }
  if (frame_) {
    wxCommandEvent properties(wxEVT_MENU, WxId(kIdProjectProperties));
    wxPostEvent(frame_, properties);
  }
}

bool TranslatorApp::OpenProject(const std::string& path) {
  wxDocument* document = docManager_->CreateDocument(ToWx(path), wxDOC_SILENT);
  EnsureDocument();
  return document != nullptr;
}

void TranslatorApp::EnsureDocument() {
  if (docManager_ && docManager_->GetDocuments().empty()) {
    docManager_->CreateDocument(wxString(), wxDOC_NEW);
  }
}

void TranslatorApp::PrepareTemporaryFiles() {
  temporaryFolder_ = MakeTemporaryFolder();
  if (temporaryFolder_.empty()) return;
  templateLibraryPath_ = temporaryFolder_ + "/DLL149.dll";
  previewOutputPath_ = temporaryFolder_ + "/DLLvista.dll";
  ResourceEngine engine;
  if (!engine.ExtractResourceToFile(ResourceId::Name("DLL"), ResourceId::Number(kTemplateLibraryId),
                                    templateLibraryPath_, nullptr)) {
    RemoveTemporaryFiles();
  }
}

void TranslatorApp::RemoveTemporaryFiles() {
  std::error_code ignored;
  if (!temporaryFolder_.empty()) std::filesystem::remove_all(temporaryFolder_, ignored);
  temporaryFolder_.clear();
  templateLibraryPath_.clear();
  previewOutputPath_.clear();
}

}  // namespace ulk
