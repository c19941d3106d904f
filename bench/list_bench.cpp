// The resource list of a module of 20,000 texts in three languages: filling
// it (the rows built from the project, handed to the virtual list, the key
// column fitted, the first row selected and the visible rows painted) and
// sorting it by a language column. Baseline: the same rows copied into a
// plain table of strings, and that table sorted by the same column.
// Runs under a display (scripts/bench starts a virtual one).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>

#include "bench/bench_util.h"
#include "platform/text.h"
#include "translator/model/project_file.h"
#include "translator/model/resource_rows.h"
#include "translator/ui/left_view.h"
#include "translator/ui/main_frame.h"
#include "translator/ui/translator_app.h"
#include "translator/ui/ulk_doc.h"
#include "translator/ui/ulk_view.h"
#include "uikit/spanish.h"

namespace {

constexpr int kTexts = 20000;

ulk::Project LargeProject(const std::string& folder) {
  ulk::Project project;
  project.name = "Lista grande";
  ulk::Module module;
  module.path = folder + "/grande.dll";
  const char* names[] = {"Español (España)", "Inglés (Estados Unidos)", "Alemán (Alemania)"};
  for (int l = 0; l < 3; ++l) {
    ulk::ModuleLanguage language(names[l], l == 0 ? "" : folder + "/out.dll", l == 0);
    for (int i = 0; i < kTexts; ++i) {
      // Texts in no particular order, so that sorting has work to do.
      const unsigned mixed = static_cast<unsigned>(i) * 2654435761u;
      language.SetEntry(ulk::Format("ST_N_%d (%d)", i / 16 + 1, i % 16),
                        ulk::Format("%s %08x texto número %d", names[l], mixed, i));
    }
    module.AddLanguage(language);
  }
  project.AddModule(module, false);
  return project;
}

void Pump() {
  wxTheApp->ProcessPendingEvents();
  if (wxEventLoopBase* loop = wxEventLoopBase::GetActive()) {
    while (loop->Pending()) loop->Dispatch();
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = std::filesystem::temp_directory_path() / "ulk-list-bench";
  std::filesystem::create_directories(folder);
  const std::string projectPath = folder + "/grande.ulk";
  if (!ulk::SaveProjectFile(LargeProject(folder), projectPath).empty()) return 1;

  ulk::PrepareSpanishEnvironment();
  wxApp::SetInstance(new ulk::TranslatorApp());
  if (!wxEntryStart(argc, argv)) {
    std::fprintf(stderr, "list_bench necesita una pantalla (xvfb-run)\n");
    return 1;
  }
  wxEventLoopBase* loop = wxTheApp->GetTraits()->CreateEventLoop();
  int status = 0;
  {
    wxEventLoopActivator activate(loop);
    ulk::StartOptions options;
    options.projectPath = projectPath;
    options.configPath = folder + "/ulk.conf";
    options.loadComponent = false;
    auto& app = ulk::TheApp();
    app.Startup(options);
    Pump();
    ulk::CMainFrame* frame = app.MainFrame();
    ulk::CLeftView* tree = frame->TreeView();
    ulk::CULKView* list = frame->ListView();
    const ulk::Module& module = app.Document()->GetProject().modules.front();
    tree->SelectNode(module.id);
    Pump();

    double fill = 1e9;
    double sort = 1e9;
    for (int round = 0; round < 5; ++round) {
      fill = std::min(fill, ulk::bench::Seconds([&] {
                        list->Fill();
                        frame->List()->Update();
                      }));
      sort = std::min(sort, ulk::bench::Seconds([&] {
                        list->SortColumn(2);
                        frame->List()->Update();
                      }));
    }
    const long rows = list->RowCount();

    double copy = 1e9;
    double plainSort = 1e9;
    for (int round = 0; round < 5; ++round) {
      std::vector<std::vector<std::string>> table;
      copy = std::min(copy, ulk::bench::Seconds([&] {
                        ulk::ResourceTable built =
                            ulk::BuildResourceTable(module, ulk::kNodeProject, "");
                        table.reserve(built.rows.size());
                        for (ulk::ResourceRow& row : built.rows)
                          table.push_back(std::move(row.cells));
                      }));
      plainSort =
          std::min(plainSort, ulk::bench::Seconds([&] {
                     std::stable_sort(table.begin(), table.end(),
                                      [](const auto& a, const auto& b) { return a[2] < b[2]; });
                   }));
    }

    std::printf("filas en la lista: %ld (%d textos x 3 idiomas)\n", rows, kTexts);
    std::printf(
        "llenar la lista:     %7.3f s  (tabla de cadenas: %7.3f s, x%.1f)  objetivo < 0,2 s\n",
        fill, copy, fill / copy);
    std::printf(
        "ordenar por columna: %7.3f s  (tabla de cadenas: %7.3f s, x%.1f)  objetivo < 0,2 s\n",
        sort, plainSort, sort / plainSort);
    status = rows == kTexts ? 0 : 1;
    app.Shutdown();
  }
  delete loop;
  wxEntryCleanup();
  std::filesystem::remove_all(folder);
  return status;
}
