// Exchange of a language of about 20,000 texts: export and import through
// PO and XLIFF, and the checks over all of them. Baselines from the same
// run: saving and loading the project file of the same texts.
//   exchange_bench MODULE.dll WORK_FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench_util.h"
#include "platform/memory.h"
#include "tests/scripted_ui.h"
#include "translator/exchange/quality_check.h"
#include "translator/exchange/translation_exchange.h"
#include "translator/model/project_file.h"
#include "translator/model/resource_engine.h"

namespace {

constexpr const char* kGerman = "Alemán (Alemania)";

// The module read into a project, every text translated.
bool BuildProject(const std::string& modulePath, ulk::Project& project) {
  ulk::Module module;
  module.path = modulePath;
  module.AddOriginalLanguage();
  ulk::ResourceEngine engine;
  if (!engine.GetResources(&module)) return false;
  project.name = "Benchmark";
  ulk::Module* stored = project.AddModule(module, true);
  ulk::ModuleLanguage& german =
      stored->AddLanguage(ulk::ModuleLanguage(kGerman, "/bench/de/module.dll", false));
  for (const ulk::TextEntry& entry : stored->DefaultLanguage()->Entries()) {
    german.SetEntry(entry.key, entry.text + " (de)");
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (argc < 3) {
    std::fprintf(stderr, "uso: exchange_bench MÓDULO CARPETA\n");
    return 2;
  }
  ulk::KeepFreedMemory();  // as the programs do
  const fs::path dir = argv[2];
  fs::create_directories(dir);
  ulk::Project project;
  if (!BuildProject(argv[1], project)) {
    std::fprintf(stderr, "no se ha podido leer %s\n", argv[1]);
    return 1;
  }
  ulk::Module& module = project.modules.front();
  const std::size_t texts = module.DefaultLanguage()->EntryCount();
  std::printf("texts: %zu\n", texts);

  const std::string projectPath = (dir / "exchange.ulk").string();
  const double save = ulk::bench::Seconds([&] { ulk::SaveProjectFile(project, projectPath); });
  const double load = ulk::bench::Seconds([&] {
    ulk::Project loaded;
    if (!ulk::LoadProjectFile(loaded, projectPath).ok) std::abort();
  });

  for (const char* name : {"de.po", "de.xlf"}) {
    const std::string path = (dir / name).string();
    ulk::ExportResult exported;
    const double out = ulk::bench::Seconds(
        [&] { exported = ulk::ExportTranslations(project, module, kGerman, path); });
    if (!exported.ok || exported.units != texts) std::abort();
    ulk::bench::Report((std::string("export ") + name).c_str(), out, "s", save, "save project",
                       "< 0.2 s");

    // Into an empty language, so that every text is a change and one undo
    // step records all of them, as in the window.
    ulk::Project copy = project;
    ulk::Module& target = copy.modules.front();
    target.FindLanguage(kGerman)->RemoveEntriesIf([](const ulk::TextEntry&) { return true; });
    ulk::UndoHistory history(copy);
    ulk::ImportResult imported;
    const double in = ulk::bench::Seconds(
        [&] { imported = ulk::ImportTranslations(target, kGerman, path, &history); });
    if (!imported.ok || imported.changedKeys.size() != texts) std::abort();
    ulk::bench::Report((std::string("import ") + name).c_str(), in, "s", load, "load project",
                       "< 0.2 s");
  }

  ulk::testing::ScriptedUi ui;
  ulk::CheckResult result;
  const double check =
      ulk::bench::Seconds([&] { result = ulk::CheckTranslations(project, nullptr, nullptr, ui); });
  if (result.checked != texts) std::abort();
  ulk::bench::Report("check", check, "s", load, "load project", "< 0.5 s");
  std::printf("findings: %zu\n", result.findings.size());
  return 0;
}
