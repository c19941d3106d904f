// Similar texts in a large dictionary, through the component:
//   fuzzy_bench LIBTERMVAULT WORK_FOLDER
// 1,000,000 interface-like texts (500,000 English, 500,000 Spanish) and
// 500,000 links. Measures building the index of similar texts (against
// storing the same texts plainly), the file's growth, the five best matches
// at 75 or more for texts near and far from stored ones (against an exact
// look-up), and exact look-ups with and without the index.
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/interface_texts.h"
#include "glossmith/db/dictionary_store.h"

namespace {

namespace fs = std::filesystem;
using ulk::bench::Phrase;
using ulk::bench::Random;
using ulk::bench::Variant;
using ulk::bench::Vocabulary;

constexpr int kPairs = 500000;
constexpr int kQueries = 2000;

double BuildDictionary(const std::string& path, const Vocabulary& vocabulary,
                       std::vector<std::string>& sources) {
  fs::remove(path);
  ulk::DictionaryConnection connection;
  ulk::DictionaryStore store(connection);
  if (!ulk::OpenDictionary(connection, store, path).ok) std::abort();
  connection.Execute("pragma synchronous=off");
  connection.Begin();
  const std::string english = *store.AddLanguage("English");
  const std::string spanish = *store.AddLanguage("Español");
  ulk::PreparedStatement* text = connection.Prepared(
      "insert into texts (text_id, text_type, text_lang_id, text_text) values (?, 'ST', ?, ?)");
  ulk::PreparedStatement* link = connection.Prepared(
      "insert into translations (tran_text_id_1, tran_text_id_2) values (?, ?)");
  Random random{11};
  const double seconds = ulk::bench::Seconds([&] {
    for (int n = 0; n < kPairs; ++n) {
      sources.push_back(Phrase(vocabulary, random));
      const std::int64_t source = 2 * std::int64_t{n} + 1;
      text->Reset().Bind(source).Bind(std::stoll(english)).Bind(sources.back());
      text->Step();
      text->Reset().Bind(source + 1).Bind(std::stoll(spanish)).Bind("ES " + sources.back());
      text->Step();
      link->Reset().Bind(source).Bind(source + 1);
      link->Step();
      link->Reset().Bind(source + 1).Bind(source);
      link->Step();
    }
  });
  connection.Commit();
  return seconds;
}

struct Component {
  void* library = nullptr;
  int (*open)(const char*) = nullptr;
  int (*close)() = nullptr;
  int (*find)(const char*, const char*, const char*) = nullptr;
  const char* (*first)(const char*) = nullptr;
  int (*prepare)(int (*)(void*, long long, long long), void*) = nullptr;
  int (*similar)(const char*, const char*, const char*, const char*, int, int,
                 void (*)(void*, int, const char*, const char*, const char*), void*) = nullptr;

  explicit Component(const char* path) {
    library = dlopen(path, RTLD_NOW);
    if (!library) std::abort();
    open = reinterpret_cast<decltype(open)>(dlsym(library, "DicOpen"));
    close = reinterpret_cast<decltype(close)>(dlsym(library, "DicClose"));
    find = reinterpret_cast<decltype(find)>(dlsym(library, "DicFind"));
    first = reinterpret_cast<decltype(first)>(dlsym(library, "DicGetFirst"));
    prepare = reinterpret_cast<decltype(prepare)>(dlsym(library, "DicFuzzyPrepare"));
    similar = reinterpret_cast<decltype(similar)>(dlsym(library, "DicFuzzyFind"));
    if (!prepare || !similar) std::abort();
  }
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

// Median exact look-up (DicFind + DicGetFirst) in seconds.
double ExactLookups(Component& component, const std::vector<std::string>& sources) {
  std::vector<double> times;
  Random random{5};
  for (int i = 0; i < kQueries; ++i) {
    const std::string& text = sources[static_cast<std::size_t>(random.Below(kPairs))];
    times.push_back(ulk::bench::Seconds([&] {
      if (component.find("ST", "English", text.c_str())) component.first("Español");
    }));
  }
  return Percentile(times, 0.5);
}

int Searches(Component& component, const Vocabulary& vocabulary,
             const std::vector<std::string>& sources, double exactAfter);

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: fuzzy_bench LIBTERMVAULT CARPETA\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::string path = std::string(argv[2]) + "/fuzzy.dic";
  const Vocabulary vocabulary;
  std::vector<std::string> sources;
  // "again": the searches alone, on the dictionary and index of a run before.
  const bool again = argc > 3 && std::string(argv[3]) == "again";
  if (again) {
    Random random{11};
    for (int n = 0; n < kPairs; ++n) sources.push_back(Phrase(vocabulary, random));
  }
  const double plain = again ? 0 : BuildDictionary(path, vocabulary, sources);
  const double before = static_cast<double>(fs::file_size(path));
  std::printf("dictionary: %d texts, %d links, %.0f MB\n", 2 * kPairs, kPairs, before / 1e6);

  Component component(argv[1]);
  if (!component.open(path.c_str())) std::abort();
  if (again) return Searches(component, vocabulary, sources, ExactLookups(component, sources));
  const double exactBefore = ExactLookups(component, sources);
  long long reports = 0;
  const double build = ulk::bench::Seconds([&] {
    const auto progress = [](void* context, long long, long long) {
      ++*static_cast<long long*>(context);
      return 1;
    };
    if (!component.prepare(progress, &reports)) std::abort();
  });
  component.close();
  const double after = static_cast<double>(fs::file_size(path));
  ulk::bench::Report("build the index of 1,000,000 texts", build, "s", plain,
                     "store the texts plainly", "<= 60 s");
  std::printf("  progress reported %lld times; file %.0f MB -> %.0f MB (+%.0f%%)\n", reports,
              before / 1e6, after / 1e6, 100.0 * (after - before) / before);

  if (!component.open(path.c_str())) std::abort();
  const double exactAfter = ExactLookups(component, sources);
  ulk::bench::Report("exact look-up with the index (median)", exactAfter * 1e3, "ms",
                     exactBefore * 1e3, "without the index", "no slower");

  return Searches(component, vocabulary, sources, exactAfter);
}

namespace {

int Searches(Component& component, const Vocabulary& vocabulary,
             const std::vector<std::string>& sources, double exactAfter) {
  Random random{3};
  for (const int minimum : {75, 50}) {
    std::vector<double> times;
    int withMatches = 0;
    for (int i = 0; i < kQueries; ++i) {
      const std::string& stored = sources[static_cast<std::size_t>(random.Below(kPairs))];
      const std::string text =
          i % 2 ? Variant(vocabulary, stored, random) : Phrase(vocabulary, random);
      int count = 0;
      times.push_back(ulk::bench::Seconds([&] {
        count = component.similar("ST", "English", text.c_str(), "Español", minimum, 5,
                                  [](void*, int, const char*, const char*, const char*) {}, nullptr);
      }));
      withMatches += count > 0;
    }
    char what[80];
    std::snprintf(what, sizeof what, "5 best matches >= %d (median)", minimum);
    ulk::bench::Report(what, Percentile(times, 0.5) * 1e3, "ms", exactAfter * 1e3,
                       "exact look-up", minimum == 75 ? "<= 20 ms" : "-");
    std::snprintf(what, sizeof what, "5 best matches >= %d (95th percentile)", minimum);
    ulk::bench::Report(what, Percentile(times, 0.95) * 1e3, "ms", exactAfter * 1e3,
                       "exact look-up", minimum == 75 ? "<= 50 ms" : "-");
    std::printf("  %d of %d texts had matches\n", withMatches, kQueries);
  }
  component.close();
  return 0;
}

}  // namespace
