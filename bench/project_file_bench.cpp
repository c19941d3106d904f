// Writing and reading a large project: 20 modules x 3 languages x 5,000
// entries. Baselines from the same run: writing the same bytes with one
// plain write, and reading them back while splitting them into lines.
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench_util.h"
#include "platform/files.h"
#include "translator/model/project_file.h"

namespace {

ulk::Project LargeProject() {
  ulk::Project project;
  project.name = "Benchmark";
  for (int m = 0; m < 20; ++m) {
    ulk::Module module;
    module.path = "/bench/modules/module" + std::to_string(m) + ".dll";
    ulk::Module* stored = project.AddModule(module, false);
    const char* names[] = {"Español", "English", "Deutsch"};
    for (int l = 0; l < 3; ++l) {
      ulk::ModuleLanguage& language = stored->AddLanguage(ulk::ModuleLanguage(
          names[l], l == 0 ? "" : "/bench/out/" + std::to_string(l) + ".dll", l == 0));
      for (int e = 0; e < 5000; ++e) {
        language.SetEntry(
            "ST_N_" + std::to_string(e / 16 + 1) + " (" + std::to_string(e % 16) + ")",
            std::string(names[l]) + " texto de prueba número " + std::to_string(e) +
                "\\n con salto");
      }
    }
  }
  return project;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "ulk-bench";
  fs::create_directories(dir);
  const std::string path = (dir / "large.ulk").string();

  // Every phase runs in a child of its own, so that each peak memory is
  // its own and the parent stays small.
  const auto write = ulk::bench::RunInChild([&] {
    const ulk::Project project = LargeProject();
    const double seconds = ulk::bench::Seconds([&] { ulk::SaveProjectFile(project, path); });
    const std::string text = ulk::WriteProject(project);
    const double plain =
        ulk::bench::Seconds([&] { ulk::WriteFileAtomically((dir / "plain.txt").string(), text); });
    ulk::bench::Report("write project", seconds, "s", plain, "plain write", "< 0.5 s");
    return seconds;
  });
  (void)write;
  const auto fileSize = static_cast<double>(fs::file_size(path));
  std::printf("project file: %.1f MB, 300,000 entries\n", fileSize / 1e6);

  const auto baseline = ulk::bench::RunInChild([&] {
    std::string bytes;
    std::size_t lines = 0;
    const double seconds = ulk::bench::Seconds([&] {
      ulk::ReadWholeFile(path, bytes);
      for (const char c : bytes) lines += c == '\n';
    });
    if (lines == 0) std::abort();
    return seconds;
  });
  const auto read = ulk::bench::RunInChild([&] {
    ulk::Project project;
    const double seconds = ulk::bench::Seconds([&] {
      if (!ulk::LoadProjectFile(project, path).ok) std::abort();
    });
    return seconds;
  });

  ulk::bench::Report("read project", read.seconds, "s", baseline.seconds, "read+split", "< 0.5 s");
  ulk::bench::Report("read peak memory / file size", read.peakBytes / fileSize, "x",
                     baseline.peakBytes / fileSize, "read+split", "< 5");
  fs::remove(dir / "plain.txt");
  return 0;
}
