// Fitting every dialog of a module of 1,000 dialogs (each with 8 labels, 8
// edit boxes and 2 buttons) around German texts that are all too long.
// Baseline from the same run: the checks of the same language, which
// measure the same texts once.
//   layout_bench MODULE.dll
#include <cstdio>
#include <string>

#include "bench/bench_util.h"
#include "tests/scripted_ui.h"
#include "translator/exchange/layout_fit.h"
#include "translator/exchange/quality_check.h"
#include "translator/model/resource_engine.h"
#include "translator/resources/resource_kind.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "uso: layout_bench MÓDULO\n");
    return 2;
  }
  ulk::Project project;
  ulk::Module module;
  module.path = argv[1];
  module.AddOriginalLanguage();
  ulk::ResourceEngine engine;
  if (!engine.GetResources(&module)) {
    std::fprintf(stderr, "no se ha podido leer %s\n", argv[1]);
    return 1;
  }
  ulk::Module& stored = *project.AddModule(module, true);
  ulk::ModuleLanguage& german =
      stored.AddLanguage(ulk::ModuleLanguage("Deutsch", "/bench/de/module.dll", false));
  std::size_t dialogs = 0;
  for (const ulk::TextEntry& entry : stored.DefaultLanguage()->Entries()) {
    if (ulk::KindOfKey(entry.key) != ulk::ResourceKind::kDialog) continue;
    dialogs += entry.key.ends_with(" (0)");
    german.SetEntry(entry.key, entry.text + " (ausführlich übersetzt)");
  }
  std::printf("dialogs: %zu\n", dialogs);

  ulk::testing::ScriptedUi ui;
  const double check =
      ulk::bench::Seconds([&] { ulk::CheckTranslations(project, &stored, nullptr, ui); });
  ulk::LayoutFitResult result;
  const double fit =
      ulk::bench::Seconds([&] { result = ulk::FitModuleLayouts(stored, german, nullptr, false); });
  if (!result.ok() || german.dialogGeometry.size() != dialogs) {
    std::fprintf(stderr, "fit failed: %s (%zu dialogs fitted)\n", result.error.c_str(),
                 german.dialogGeometry.size());
    return 1;
  }
  ulk::bench::Report("fit every dialog", fit, "s", check, "check", "< 1 s");
  // A second fit finds everything fitted: the measuring alone.
  const double again =
      ulk::bench::Seconds([&] { result = ulk::FitModuleLayouts(stored, german, nullptr, false); });
  if (result.changed) return 1;
  ulk::bench::Report("fit again (nothing to do)", again, "s", check, "check", "< 1 s");
  return 0;
}
