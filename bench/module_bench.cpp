// Reading and generating modules:
//   module_bench LARGE_MODULE BULK_MODULE WORK_FOLDER
// LARGE_MODULE has many resources (10,000 strings, 1,000 dialogs, 200
// menus); BULK_MODULE is about 20 MB with a few resources. Baselines from
// the same run: windres decoding the module to .rc, and cp of the file (a
// process, as the generation in a fresh program is measured).
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_util.h"
#include "platform/memory.h"
#include "translator/model/project_file.h"
#include "translator/model/resource_engine.h"

namespace {

namespace fs = std::filesystem;

double Shell(const std::string& command) {
  return ulk::bench::Seconds([&] {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  });
}

// The best of a few runs of `work`, which reports its own seconds.
template <typename Fn>
double Best(int runs, Fn work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) best = std::min(best, work());
  return best;
}

ulk::Module ReadyModule(const std::string& path, const std::string& output, bool translateAll) {
  ulk::Module module;
  module.path = path;
  module.AddOriginalLanguage();
  ulk::ResourceEngine engine;
  if (!engine.GetResources(&module)) std::abort();
  ulk::ModuleLanguage& target =
      module.AddLanguage(ulk::ModuleLanguage("Inglés (Estados Unidos)", output, false));
  if (translateAll) {
    for (const ulk::TextEntry& entry : module.DefaultLanguage()->Entries()) {
      target.SetEntry(entry.key, "EN " + entry.text + " (translated)");
    }
  }
  return module;
}

void BenchRead(const std::string& module) {
  const double read = Best(5, [&] {
    return ulk::bench::Seconds([&] {
      ulk::ModuleResources resources;
      if (!resources.ReadModule(module)) std::abort();
      std::size_t bytes = 0;
      for (std::size_t i = 0; i < resources.TextCount(); ++i)
        bytes += resources.TextAt(i).text.size();
      if (bytes == 0) std::abort();
    });
  });
  const double windres = Best(3, [&] {
    return Shell("x86_64-w64-mingw32-windres -i '" + module + "' -O rc -o /dev/null");
  });
  ulk::bench::Report("list and decode every resource", read, "s", windres, "windres -i -O rc",
                     "ratio <= 0.25");
}

void BenchMerge(const std::string& module) {
  ulk::Module base = ReadyModule(module, "/dev/null", true);
  ulk::ResourceEngine engine;
  engine.ReadTexts(module);
  const ulk::ReadTextList texts = engine.readTexts;
  const double merge = Best(3, [&] {
    ulk::Module copy = base;
    return ulk::bench::Seconds([&] { ulk::MergeReadTexts(copy, texts); });
  });
  std::printf("%-44s %10.3f s    (%zu texts, one target language; target: well under 1 s)\n",
              "merge a read into the project", merge, texts.size());
}

// The generation of every target language of the project's one module,
// timed inside a fresh program that has just read the project: the
// program's first memory is part of it. Prints the wall and processor
// seconds.
int GenerateOnce(const std::string& projectPath) {
  ulk::Project project;
  if (!ulk::LoadProjectFile(project, projectPath).ok) return 1;
  const double cpuBefore = ulk::bench::ProcessorSeconds();
  const double seconds = ulk::bench::Seconds([&] {
    ulk::ResourceEngine engine;
    if (!engine.GenerateLanguages(&project.modules.front())) std::abort();
  });
  std::printf("%.6f %.6f\n", seconds, ulk::bench::ProcessorSeconds() - cpuBefore);
  return 0;
}

ulk::bench::ProcessTime FreshRun(const std::string& self, const std::string& projectPath) {
  int fds[2];
  if (::pipe(fds) != 0) std::abort();
  ulk::bench::RunProcess({self, "--generate-once", projectPath}, fds[1]);
  ::close(fds[1]);
  char text[128] = {};
  const ssize_t got = ::read(fds[0], text, sizeof text - 1);
  ::close(fds[0]);
  ulk::bench::ProcessTime time{-1, -1};
  if (got > 0) std::sscanf(text, "%lf %lf", &time.wall, &time.cpu);
  return time;
}

void BenchGenerate(const std::string& self, const std::string& module, const std::string& work,
                   const char* what) {
  const std::string output = work + "/generated.dll";
  const std::string copy = work + "/copied.dll";
  const std::string projectPath = work + "/generate.ulk";
  const auto size = static_cast<double>(fs::file_size(module));
  ulk::Module ready = ReadyModule(module, output, true);
  {
    ulk::Project project;
    project.name = "Benchmark";
    project.AddModule(ready, true);
    if (!ulk::SaveProjectFile(project, projectPath).empty()) std::abort();
  }
  const auto run = ulk::bench::RunInChild([&] {
    ulk::Module mine = ready;
    const auto generate = [&] {
      return ulk::bench::Seconds([&] {
        ulk::ResourceEngine engine;
        if (!engine.GenerateLanguages(&mine)) std::abort();
      });
    };
    // The memory the generation itself takes, above what the program and
    // its project held before.
    const double before = ulk::bench::ResidentMemory();
    ulk::bench::ResetPeakMemory();
    generate();
    const double grown = ulk::bench::PeakMemory() - before;
    std::printf("%-44s %10.2f x    (memory the generation takes / module size; target < 3)\n",
                "  peak memory", grown / size);
    // Timed as the program does it again and again.
    return Best(5, generate);
  });
  // Runs alternate between a fresh program and cp, as processes, each
  // writing a file that is not there yet.
  std::vector<double> fresh;
  std::vector<double> freshCpu;
  std::vector<double> copied;
  std::vector<double> copiedCpu;
  for (int i = 0; i < 7; ++i) {
    fs::remove(output);
    const ulk::bench::ProcessTime generated = FreshRun(self, projectPath);
    fresh.push_back(generated.wall);
    freshCpu.push_back(generated.cpu);
    fs::remove(copy);
    const ulk::bench::ProcessTime copiedOnce = ulk::bench::RunProcess({"/bin/cp", module, copy});
    copied.push_back(copiedOnce.wall);
    copiedCpu.push_back(copiedOnce.cpu);
  }
  const double cp = ulk::bench::Median(copied);
  ulk::bench::Report(what, ulk::bench::Median(fresh), "s", cp, "cp", "ratio <= 1.5");
  std::printf("%-44s %10.3f s    baseline (cp) %10.3f  ratio %6.2f  (processor time)\n",
              "  user + system", ulk::bench::Median(freshCpu), ulk::bench::Median(copiedCpu),
              ulk::bench::Median(freshCpu) / ulk::bench::Median(copiedCpu));
  std::printf("%-44s %10.3f s    ratio %6.2f  (again and again in one program)\n", "  repeated",
              run.seconds, run.seconds / cp);
  fs::remove(output);
  fs::remove(copy);
  fs::remove(projectPath);
}

}  // namespace

int main(int argc, char** argv) {
  ulk::KeepFreedMemory();  // as the programs do
  if (argc == 3 && std::string(argv[1]) == "--generate-once") return GenerateOnce(argv[2]);
  if (argc < 4) {
    std::fprintf(stderr, "uso: module_bench MÓDULO_GRANDE MÓDULO_20MB CARPETA\n");
    return 2;
  }
  const std::string self = fs::canonical("/proc/self/exe").string();
  std::printf("large module: %.1f MB; bulk module: %.1f MB\n",
              static_cast<double>(fs::file_size(argv[1])) / 1e6,
              static_cast<double>(fs::file_size(argv[2])) / 1e6);
  BenchRead(argv[1]);
  BenchMerge(argv[1]);
  BenchGenerate(self, argv[1], argv[3], "generate: many resources");
  BenchGenerate(self, argv[2], argv[3], "generate: 20 MB module, few resources");
  return 0;
}
