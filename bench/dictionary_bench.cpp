// The dictionary component on a large dictionary, and TMX imports:
//   dictionary_bench LIBTERMVAULT WORK_FOLDER [tmx]
// 1,000,000 texts in 4 languages and 500,000 links. Measures lookups
// (DicFind + DicGetFirst + DicGetNext), storing 10,000 translations with
// DicSet, and a crash (kill -9) in the middle of storing. Baselines from the
// same run: the plain indexed query on the same file, and plain inserts.
// Then importing a TMX file of 10,000 units of 10 variants, against the
// same texts and links stored by plain inserts, and one unit of 10,000
// variants against 1,000 units of 10 (the same variants: linear work makes
// the ratio 1). With "tmx" only the imports are measured.
#include <dlfcn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/bench_util.h"
#include "glossmith/db/dictionary_store.h"
#include "glossmith/exchange/tmx_exchange.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLanguages = 4;
constexpr int kTextsPerLanguage = 250000;
constexpr int kLookups = 20000;
constexpr int kStores = 10000;
const char* const kLanguageNames[kLanguages] = {"Español", "English", "Deutsch", "Français"};

std::string TextOf(int language, int n) {
  return std::string(kLanguageNames[language]) + " texto de prueba " + std::to_string(n);
}

void BuildDictionary(const std::string& path) {
  fs::remove(path);
  ulk::DictionaryConnection connection;
  ulk::DictionaryStore store(connection);
  if (!ulk::OpenDictionary(connection, store, path).ok) std::abort();
  connection.Execute("pragma synchronous=off");
  connection.Begin();
  std::string ids[kLanguages];
  for (int l = 0; l < kLanguages; ++l) ids[l] = *store.AddLanguage(kLanguageNames[l]);
  ulk::PreparedStatement* text = connection.Prepared(
      "insert into texts (text_id, text_type, text_lang_id, text_text) values (?, 'ST', ?, ?)");
  ulk::PreparedStatement* link = connection.Prepared(
      "insert into translations (tran_text_id_1, tran_text_id_2) values (?, ?)");
  for (int l = 0; l < kLanguages; ++l) {
    for (int n = 0; n < kTextsPerLanguage; ++n) {
      const std::int64_t id = std::int64_t{l} * kTextsPerLanguage + n + 1;
      text->Reset().Bind(id).Bind(static_cast<std::int64_t>(std::stoll(ids[l]))).Bind(TextOf(l, n));
      text->Step();
    }
  }
  // Every Spanish text linked with its English and German text: 500,000
  // links, each stored both ways.
  for (int n = 0; n < kTextsPerLanguage; ++n) {
    const std::int64_t spanish = n + 1;
    for (int l = 1; l <= 2; ++l) {
      const std::int64_t other = std::int64_t{l} * kTextsPerLanguage + n + 1;
      link->Reset().Bind(spanish).Bind(other);
      link->Step();
      link->Reset().Bind(other).Bind(spanish);
      link->Step();
    }
  }
  connection.Commit();
}

struct Component {
  void* library = nullptr;
  int (*open)(const char*) = nullptr;
  int (*close)() = nullptr;
  int (*set)(const char*, const char*, const char*, const char*, const char*) = nullptr;
  int (*find)(const char*, const char*, const char*) = nullptr;
  const char* (*first)(const char*) = nullptr;
  const char* (*next)() = nullptr;

  explicit Component(const char* path) {
    library = dlopen(path, RTLD_NOW);
    if (!library) std::abort();
    open = reinterpret_cast<decltype(open)>(dlsym(library, "DicOpen"));
    close = reinterpret_cast<decltype(close)>(dlsym(library, "DicClose"));
    set = reinterpret_cast<decltype(set)>(dlsym(library, "DicSet"));
    find = reinterpret_cast<decltype(find)>(dlsym(library, "DicFind"));
    first = reinterpret_cast<decltype(first)>(dlsym(library, "DicGetFirst"));
    next = reinterpret_cast<decltype(next)>(dlsym(library, "DicGetNext"));
  }
};

constexpr const char* kTags[] = {"es-ES", "en-US", "de-DE", "fr-FR", "it-IT",
                                 "pt-PT", "nl-NL", "sv-SE", "pl-PL", "cs-CZ"};
constexpr int kTagCount = 10;

// `units` units of `variants` variants each, every text its own, the
// languages taken in turn.
std::string TmxOf(int units, int variants) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n"
      "<header srclang=\"es-ES\"/>\n<body>\n";
  for (int u = 0; u < units; ++u) {
    out += "<tu><prop type=\"x-text-type\">ST</prop>\n";
    for (int v = 0; v < variants; ++v) {
      out += "  <tuv xml:lang=\"";
      out += kTags[v % kTagCount];
      out += "\"><seg>unidad " + std::to_string(u) + " variante " + std::to_string(v) +
             "</seg></tuv>\n";
    }
    out += "</tu>\n";
  }
  return out + "</body>\n</tmx>\n";
}

// Seconds to import `tmx` into a new dictionary.
double ImportSeconds(const std::string& folder, const std::string& tmx) {
  const std::string path = folder + "/import.dic";
  const std::string file = folder + "/import.tmx";
  fs::remove(path);
  if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
    std::fwrite(tmx.data(), 1, tmx.size(), out);
    std::fclose(out);
  }
  ulk::DictionaryConnection connection;
  ulk::DictionaryStore store(connection);
  if (!ulk::OpenDictionary(connection, store, path).ok) std::abort();
  return ulk::bench::Seconds([&] {
    if (!ulk::ImportTmx(connection, store, file).ok) std::abort();
  });
}

// Seconds to store `texts` texts and link each but every tenth with the
// one before it (both ways), with plain inserts in one transaction.
double PlainInsertSeconds(const std::string& folder, int texts) {
  const std::string path = folder + "/plain.dic";
  fs::remove(path);
  ulk::DictionaryConnection connection;
  ulk::DictionaryStore store(connection);
  if (!ulk::OpenDictionary(connection, store, path).ok) std::abort();
  return ulk::bench::Seconds([&] {
    connection.Begin();
    ulk::PreparedStatement* text = connection.Prepared(
        "insert into texts (text_type, text_lang_id, text_text) values ('ST', ?, ?)");
    ulk::PreparedStatement* link = connection.Prepared(
        "insert into translations (tran_text_id_1, tran_text_id_2) values (?, ?)");
    for (int n = 0; n < texts; ++n) {
      text->Reset().Bind(std::int64_t{n % kTagCount + 1}).Bind("texto " + std::to_string(n));
      text->Step();
      if (n % kTagCount == 0) continue;
      const std::int64_t id = connection.LastInsertId();
      const std::int64_t source = id - n % kTagCount;
      link->Reset().Bind(source).Bind(id);
      link->Step();
      link->Reset().Bind(id).Bind(source);
      link->Step();
    }
    connection.Commit();
  });
}

void TmxImports(const std::string& folder) {
  const double units = ImportSeconds(folder, TmxOf(10000, 10));
  ulk::bench::Report("import TMX, 10,000 units x 10 variants", units, "s",
                     PlainInsertSeconds(folder, 100000), "plain inserts", "< 10 x baseline");
  const double wide = ImportSeconds(folder, TmxOf(1, 10000));
  ulk::bench::Report("import TMX, 1 unit x 10,000 variants", wide, "s",
                     ImportSeconds(folder, TmxOf(1000, 10)), "1,000 units x 10", "ratio ~1");
}

int Pick(std::uint64_t& state) {
  state = state * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<int>((state >> 33) % kTextsPerLanguage);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "uso: dictionary_bench LIBTERMVAULT CARPETA\n");
    return 2;
  }
  if (argc > 3 && std::string(argv[3]) == "tmx") {
    TmxImports(argv[2]);
    return 0;
  }
  const std::string path = std::string(argv[2]) + "/large.dic";
  const double build = ulk::bench::Seconds([&] { BuildDictionary(path); });
  std::printf("dictionary: %d texts in %d languages, 500,000 links, %.0f MB (built in %.1f s)\n",
              kLanguages * kTextsPerLanguage, kLanguages,
              static_cast<double>(fs::file_size(path)) / 1e6, build);

  Component component(argv[1]);
  if (!component.open(path.c_str())) std::abort();
  std::uint64_t state = 1;
  int found = 0;
  const double lookups = ulk::bench::Seconds([&] {
    for (int i = 0; i < kLookups; ++i) {
      const std::string text = TextOf(0, Pick(state));
      if (component.find("ST", kLanguageNames[0], text.c_str())) {
        found += std::strlen(component.first(kLanguageNames[1])) > 0;
        component.next();
      }
    }
  });
  if (found != kLookups) std::fprintf(stderr, "only %d of %d found\n", found, kLookups);
  component.close();
  double plain = 0;
  {
    ulk::DictionaryConnection connection;
    connection.Open(path);
    ulk::PreparedStatement* query = connection.Prepared(
        "select text_id from texts where text_type = 'ST' and text_lang_id = 1 and text_text = ?");
    state = 1;
    plain = ulk::bench::Seconds([&] {
      for (int i = 0; i < kLookups; ++i) {
        query->Reset().Bind(TextOf(0, Pick(state)));
        query->Step();
      }
    });
  }
  const double rate = kLookups / lookups;
  ulk::bench::Report("lookups per second (Find+GetFirst+GetNext)", rate, "/s", kLookups / plain,
                     "one indexed query", ">= 20,000 /s");

  // Storing: new translations of existing texts into a fifth language.
  if (!component.open(path.c_str())) std::abort();
  const double stores = ulk::bench::Seconds([&] {
    for (int n = 0; n < kStores; ++n) {
      const std::string source = TextOf(0, n);
      const std::string target = "Italiano testo " + std::to_string(n);
      if (!component.set("ST", kLanguageNames[0], source.c_str(), "Italiano", target.c_str()))
        std::abort();
    }
  });
  component.close();
  double inserts = 0;
  {
    ulk::DictionaryConnection connection;
    connection.Open(path);
    connection.UseWriteAheadLog();
    ulk::PreparedStatement* insert = connection.Prepared(
        "insert into texts (text_type, text_lang_id, text_text) values ('ST', 9, ?)");
    inserts = ulk::bench::Seconds([&] {
      for (int n = 0; n < kStores; ++n) {
        connection.Begin();
        insert->Reset().Bind("plain " + std::to_string(n));
        insert->Step();
        connection.Commit();
      }
    });
  }
  ulk::bench::Report("store 10,000 translations with DicSet", stores, "s", inserts,
                     "10,000 single inserts", "< 3 s");

  // A crash in the middle of storing: the child reports each stored
  // translation and is killed; every reported one must be there, and the
  // file must be whole.
  int fds[2];
  if (::pipe(fds) != 0) std::abort();
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    if (!component.open(path.c_str())) std::_Exit(1);
    for (int n = 0;; ++n) {
      const std::string target = "Português texto " + std::to_string(n);
      if (!component.set("ST", kLanguageNames[0], TextOf(0, n).c_str(), "Português",
                         target.c_str())) {
        std::_Exit(1);
      }
      if (::write(fds[1], &n, sizeof n) != sizeof n) std::_Exit(1);
    }
  }
  ::close(fds[1]);
  int last = -1;
  int n = 0;
  while (last < 3000 && ::read(fds[0], &n, sizeof n) == sizeof n) last = n;
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(fds[0]);
  ulk::DictionaryConnection connection;
  connection.Open(path);
  auto check = connection.Query("pragma integrity_check");
  const std::string integrity = check && check->Column(0) ? *check->Column(0) : "none";
  int missing = 0;
  if (!component.open(path.c_str())) std::abort();
  for (int i = 0; i <= last; ++i) {
    const std::string expected = "Português texto " + std::to_string(i);
    if (!component.find("ST", kLanguageNames[0], TextOf(0, i).c_str()) ||
        component.first("Português") != expected) {
      ++missing;
    }
  }
  std::printf("%-44s integrity %s; %d of %d committed translations missing (target: ok, 0)\n",
              "kill -9 while storing", integrity.c_str(), missing, last + 1);
  TmxImports(argv[2]);
  return 0;
}
