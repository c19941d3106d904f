// Generating translated modules as the user runs it, ulk-cli as a whole
// process, against cp of the same files in the same run:
//   project_bench ULK_CLI WORK_FOLDER COUNT LARGE_MODULE MODULE...
// A project of COUNT modules, copies of the MODULEs in turn (several sizes,
// PE32 and PE32+), and a project of LARGE_MODULE alone; each module has one
// target language with every text translated. Runs alternate between the
// generation and the copy; the median of each is reported.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "translator/model/project_file.h"
#include "translator/model/resource_engine.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 7;
constexpr const char* kTarget = "Inglés (Estados Unidos)";

using ulk::bench::Median;
using ulk::bench::RunProcess;
using Timing = ulk::bench::ProcessTime;

void EmptyFolder(const fs::path& folder) {
  fs::remove_all(folder);
  fs::create_directories(folder);
}

// A project file over copies of `sources` (COUNT of them, in turn) in
// `folder`, with every text translated into the target language, whose
// modules go to `folder`/out. Returns the module paths.
std::vector<std::string> MakeProject(const std::vector<std::string>& sources, std::size_t count,
                                     const fs::path& folder) {
  EmptyFolder(folder);
  ulk::Project project;
  project.name = "Benchmark";
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "m%03zu.dll", i);
    const fs::path path = folder / name;
    fs::copy_file(sources[i % sources.size()], path);
    ulk::Module module;
    module.path = path.string();
    if (!module.AddOriginalLanguage()) std::abort();
    ulk::ResourceEngine engine;
    if (!engine.GetResources(&module)) std::abort();
    ulk::ModuleLanguage& target =
        module.AddLanguage(ulk::ModuleLanguage(kTarget, (folder / "out" / name).string(), false));
    for (const ulk::TextEntry& entry : module.DefaultLanguage()->Entries()) {
      target.SetEntry(entry.key, "EN " + entry.text + " (translated)");
    }
    project.AddModule(module, true);
    paths.push_back(path.string());
  }
  if (!ulk::SaveProjectFile(project, (folder / "project.ulk").string()).empty()) std::abort();
  return paths;
}

struct Figures {
  Timing generate;
  Timing copy;
};

// Generation of the whole project against cp of its module files, runs
// alternating; the median of each.
Figures Measure(const std::string& cli, const fs::path& folder,
                const std::vector<std::string>& modules) {
  std::vector<std::string> copy = {"/bin/cp"};
  copy.insert(copy.end(), modules.begin(), modules.end());
  copy.push_back((folder / "copy").string());
  const std::vector<std::string> generate = {cli, "generate", (folder / "project.ulk").string()};
  std::vector<Timing> generated;
  std::vector<Timing> copied;
  for (int run = 0; run < kRuns; ++run) {
    EmptyFolder(folder / "out");
    generated.push_back(RunProcess(generate));
    EmptyFolder(folder / "copy");
    copied.push_back(RunProcess(copy));
  }
  for (const std::string& module : modules) {
    if (!fs::exists(folder / "out" / fs::path(module).filename())) std::abort();
  }
  const auto median = [](const std::vector<Timing>& runs) {
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Timing& t : runs) {
      wall.push_back(t.wall);
      cpu.push_back(t.cpu);
    }
    return Timing{Median(wall), Median(cpu)};
  };
  return {median(generated), median(copied)};
}

void ReportFigures(const char* what, const Figures& f, const char* target) {
  ulk::bench::Report(what, f.generate.wall, "s", f.copy.wall, "cp", target);
  std::printf("%-44s %10.3f s    baseline (cp) %10.3f  ratio %6.2f  (processor time)\n",
              "  user + system", f.generate.cpu, f.copy.cpu,
              f.copy.cpu > 0 ? f.generate.cpu / f.copy.cpu : 0.0);
}

double TotalBytes(const std::vector<std::string>& paths) {
  double total = 0;
  for (const std::string& path : paths) total += static_cast<double>(fs::file_size(path));
  return total;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "uso: project_bench ULK_CLI CARPETA NÚMERO MÓDULO_GRANDE MÓDULO...\n");
    return 2;
  }
  const std::string cli = fs::absolute(argv[1]).string();
  const fs::path work = fs::absolute(argv[2]);
  const std::size_t count = std::strtoul(argv[3], nullptr, 10);
  const std::vector<std::string> sources(argv + 5, argv + argc);

  const std::vector<std::string> modules = MakeProject(sources, count, work / "project");
  std::printf("project: %zu modules from %zu sources (PE32 and PE32+), %.1f MB\n", modules.size(),
              sources.size(), TotalBytes(modules) / 1e6);
  ReportFigures("generate a project of many modules", Measure(cli, work / "project", modules),
                "ratio <= 1.5");

  // The same for one module with many resources, its project file (64,000
  // entries) read by the process too.
  const std::vector<std::string> large = MakeProject({argv[4]}, 1, work / "large");
  ReportFigures("generate one module of many resources", Measure(cli, work / "large", large),
                "none (whole process, for reference)");
  return 0;
}
