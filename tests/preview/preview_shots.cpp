// Pictures of the preview: writes one PNG per dialog and menu shown through
// ShowResource (original) and ShowTranslatedPreview (translated), and, with
// the reference drawer, the platform's own drawing of each dialog beside
// ours with the positions of both compared.
//
//   preview_shots OUT_DIR [--wine DIALOG_SHOT_EXE] JOB...
//   JOB: original:NAME:MODULE:KEY
//        translated:NAME:PROJECT:MODULE_FILE_NAME:LANGUAGE:KEY
//
// Runs under Xvfb. The comparison lines go to stdout and OUT_DIR/NAME.txt.
#include <wx/app.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "platform/files.h"
#include "platform/template_library.h"
#include "tests/preview/preview_capture.h"
#include "tests/preview/wine_reference.h"
#include "translator/model/project_file.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

struct Options {
  std::string outDir;
  std::string wineProbe;
  std::vector<std::string> jobs;
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// Ours on the left, the reference on the right, on a grey ground.
wxImage SideBySide(const wxImage& left, const wxImage& right) {
  const int gap = 16;
  const int width = left.GetWidth() + gap + right.GetWidth();
  const int height = std::max(left.GetHeight(), right.GetHeight());
  wxImage out(width, height);
  out.SetRGB(wxRect(0, 0, width, height), 90, 90, 90);
  out.Paste(left, 0, 0);
  out.Paste(right, left.GetWidth() + gap, 0);
  return out;
}

// The dialog's client area in screen pixels.
wxImage CaptureClient(EmbeddedDialog& embedded) {
  return testing::CaptureScreenRect(embedded.ClientArea()->GetScreenRect());
}

void WriteText(const std::string& path, const std::string& text) {
  if (FILE* out = std::fopen(path.c_str(), "w")) {
    std::fputs(text.c_str(), out);
    std::fclose(out);
  }
}

class ShotsApp : public wxApp {
 public:
  bool OnInit() override {
    options_.outDir = argc > 1 ? argv[1].utf8_string() : "";
    for (int i = 2; i < argc; ++i) {
      if (argv[i] == "--wine" && i + 1 < argc) {
        options_.wineProbe = argv[++i].utf8_string();
      } else {
        options_.jobs.push_back(argv[i].utf8_string());
      }
    }
    if (options_.outDir.empty()) {
      std::fprintf(stderr, "usage: preview_shots OUT_DIR [--wine DIALOG_SHOT_EXE] JOB...\n");
      exitCode_ = 2;
      return true;
    }
    fs::create_directories(options_.outDir);
    options_.outDir = fs::absolute(options_.outDir).string();
    for (const std::string& job : options_.jobs) {
      if (!RunJob(job)) exitCode_ = 1;
    }
    // Done: OnRun hands back the exit code without a main loop (a false
    // here would end the program with -1, whatever the jobs did).
    return true;
  }
  int OnRun() override { return exitCode_; }
  int OnExit() override { return exitCode_; }

 private:
  bool RunJob(const std::string& job) {
    const std::vector<std::string> parts = Split(job, ':');
    if (parts.size() == 4 && parts[0] == "original") {
      return Show(parts[1], parts[2], parts[3], false, [&](wxWindow* parent) {
        ResourcePreview result;
        const bool shown = ShowResource(parts[2], parts[3], parent, result);
        if (!shown) std::printf("%s: %s\n", parts[1].c_str(), result.Message().c_str());
        return shown;
      });
    }
    if (parts.size() == 6 && parts[0] == "translated") {
      // Module paths in a project are relative to its folder, as the
      // programs open it.
      const fs::path projectPath = fs::absolute(parts[2]);
      fs::current_path(projectPath.parent_path());
      Project project;
      if (!LoadProjectFile(project, projectPath.string()).ok) {
        std::printf("%s: cannot read %s\n", parts[1].c_str(), parts[2].c_str());
        return false;
      }
      const Module* module = nullptr;
      for (const Module& candidate : project.modules) {
        if (candidate.FileName() == parts[3]) module = &candidate;
      }
      if (!module) return false;
      const std::string library = options_.outDir + "/library.dll";
      WriteFileAtomically(library, TemplateLibraryImage());
      const std::string output = options_.outDir + "/preview.dll";
      const std::string language = parts[4];
      return Show(parts[1], module->path, parts[5], true, [&](wxWindow* parent) {
        const auto choose = [&](const std::vector<std::string>&) { return language; };
        return ShowTranslatedPreview(*module, parts[5], choose, library, output, parent);
      });
    }
    std::fprintf(stderr, "unknown job %s\n", job.c_str());
    return false;
  }

  bool Show(const std::string& name, const std::string& module, const std::string& key,
            bool translated, const std::function<bool(wxWindow*)>& show) {
    testing::PreviewWindowHook hook;
    bool pictured = false;
    hook.onDialog = [&](DialogHost& host) {
      if (std::getenv("ULK_SHOTS_DEBUG")) {
        testing::SavePng(testing::CaptureScreenRect(wxRect(0, 0, 1280, 1024)),
                         Png(name + "-screen"));
        std::printf("%s: host at %d,%d %dx%d shown %d\n", name.c_str(), host.GetScreenRect().x,
                    host.GetScreenRect().y, host.GetScreenRect().width, host.GetScreenRect().height,
                    host.IsShownOnScreen());
      }
      pictured = testing::SavePng(testing::CaptureWindow(&host), Png(name));
      if (!translated && !options_.wineProbe.empty()) Compare(name, module, key, *host.Embedded());
    };
    hook.onMenu = [&](MenuHost& host) {
      pictured = testing::SavePng(testing::CaptureWindow(&host), Png(name));
    };
    const bool shown = show(nullptr);
    for (const std::string& message : hook.messages) {
      std::printf("%s: message: %s\n", name.c_str(), message.c_str());
    }
    std::printf("%s: %s\n", name.c_str(), pictured ? Png(name).c_str() : "no picture");
    return shown && pictured;
  }

  std::string Png(const std::string& name) const { return options_.outDir + "/" + name + ".png"; }

  void Compare(const std::string& name, const std::string& module, const std::string& key,
               EmbeddedDialog& embedded) {
    const PreviewKey parsed = ParsePreviewKey(key);
    const std::string dialogName =
        parsed.name.named ? parsed.name.NameUtf8() : "#" + std::to_string(parsed.name.number);
    const std::string prefix = options_.outDir + "/" + name + "-wine";
    testing::WineDialog wine;
    if (!testing::DrawWithWine(options_.wineProbe, module, dialogName, prefix, wine)) {
      std::printf("%s: the reference drawer failed\n", name.c_str());
      return;
    }
    const std::string report = testing::CompareWithWine(embedded, wine);
    WriteText(options_.outDir + "/" + name + "-compare.txt", report);
    std::printf("%s", report.c_str());
    wxImage reference;
    if (reference.LoadFile(wxString::FromUTF8(prefix + ".bmp"), wxBITMAP_TYPE_BMP)) {
      testing::SavePng(SideBySide(CaptureClient(embedded), reference),
                       options_.outDir + "/" + name + "-beside-wine.png");
    }
  }

  Options options_;
  int exitCode_ = 0;
};

}  // namespace
}  // namespace ulk

wxIMPLEMENT_APP_NO_MAIN(ulk::ShotsApp);

int main(int argc, char** argv) {
  return wxEntry(argc, argv);
}
