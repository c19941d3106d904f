// The application object: starts the translator (settings, dictionary
// component, document template, the project of the command line, the
// template library's temporary files, the main window) and ends it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <wx/app.h>

#include "translator/dictionary/dictionary_component.h"

class wxDocManager;
class wxDocTemplate;
class wxFileConfig;

namespace ulk {

class CMainFrame;
class CULKDoc;

struct StartOptions {
  // Where the dictionary component is looked for; empty: beside the
  // program, then the loader's search path.
  std::vector<std::string> componentCandidates;
  bool loadComponent = true;
  // The administrator's program; empty: "glossmith" beside the program,
  // then in the start folder. A path that names no file means "missing".
  std::string glossmithPath;
  // A project to open; empty: a new project.
  std::string projectPath;
  // The settings file; empty: the user's, $XDG_CONFIG_HOME/ULK/ULK.conf
  // (~/.config/ULK/ULK.conf), its folder made when it is missing.
  std::string configPath;
  bool showFrame = true;
};

class TranslatorApp : public wxApp {
 public:
  TranslatorApp();

  bool OnInit() override;
  int OnExit() override;

  // Start-up and shut-down, also for tests (which start and stop the
  // program in one process). Startup fails only when the window cannot be
  // made.
  bool Startup(const StartOptions& options);
  void Shutdown();

  CMainFrame* MainFrame() const { return frame_; }
  void FrameDestroyed(CMainFrame* frame);
  CULKDoc* Document() const;
  wxDocManager* DocManager() const { return docManager_; }
  // The component when it is loaded, else null.
  DictionaryComponent* Dictionary();

  const std::string& templateLibraryPath() const { return templateLibraryPath_; }
  const std::string& previewOutputPath() const { return previewOutputPath_; }
  const std::string& startDirectory() const { return startDirectory_; }
  // The administrator's program, or "" when it is missing.
  const std::string& glossmithPath() const { return glossmithPath_; }

  // File New: asks to save, makes a new project, then opens its
  // properties.
  void NewProject();
  // Opens a project; when it cannot be read the window keeps an empty
  // project. False when it was not opened.
  bool OpenProject(const std::string& path);
  // After any attempt to open: a window is never left without a document.
  void EnsureDocument();

 private:
  void PrepareTemporaryFiles();
  void RemoveTemporaryFiles();
  std::string FindGlossmith(const std::string& given) const;

  std::string startDirectory_;
  std::string temporaryFolder_;  // holds the two below, ours alone
  std::string templateLibraryPath_;
  std::string previewOutputPath_;
  std::string glossmithPath_;
  DictionaryComponent dictionary_;
  wxDocManager* docManager_ = nullptr;
  CMainFrame* frame_ = nullptr;
  std::unique_ptr<wxFileConfig> config_;
};

// The running application object.
TranslatorApp& TheApp();

// The administrator's program in `programFolder`, or "" when it is not
// there. It is looked for nowhere else.
std::string GlossmithBeside(const std::string& programFolder);

}  // namespace ulk
