// Fuzz target: a dictionary file from anyone, opened and read as the
// translator's component and the administrator read it (languages, texts
// by language and type, lookups, translations, similar texts, the TMX
// export). It never
// hangs or crashes; every text it gives back is one a dictionary may hold
// (CheckStoredText); what the export writes, the TMX reader takes; and the
// file does not change.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "glossmith/db/dictionary_store.h"
#include "glossmith/exchange/tmx_exchange.h"
#include "platform/stored_text.h"

namespace {

// Enough languages and rows of each listing to reach every kind of lookup.
constexpr std::size_t kLanguagesLooked = 4;
constexpr std::size_t kRowsLooked = 4;

// A folder of this process's own, removed at exit.
class Folder {
 public:
  Folder() {
    // In memory where the system has such a folder: every run writes a file.
    char name[] = "/dev/shm/dictionary_fuzzer.XXXXXX";
    char fallback[] = "/tmp/dictionary_fuzzer.XXXXXX";
    if (::mkdtemp(name)) {
      path_ = name;
    } else if (::mkdtemp(fallback)) {
      path_ = fallback;
    } else {
      std::abort();
    }
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& WorkFolder() {
  static const Folder folder;
  return folder.path();
}

void Check(std::string_view text) {
  if (ulk::CheckStoredText(text)) std::abort();
}

void CheckAll(const std::vector<std::string>& texts) {
  for (const std::string& text : texts) Check(text);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Row {
  std::string id;
  std::string type;
  std::string text;
};

void ReadDictionary(ulk::DictionaryConnection& connection, ulk::DictionaryStore& store) {
  CheckAll(store.LanguageNames());
  std::vector<ulk::DictionaryLanguage> languages = store.ListLanguages();
  for (const ulk::DictionaryLanguage& language : languages) {
    Check(language.id);
    Check(language.name);
  }
  if (languages.size() > kLanguagesLooked) languages.resize(kLanguagesLooked);
  for (const ulk::DictionaryLanguage& language : languages) {
    const ulk::DictionaryId found = store.FindLanguage(language.name);
    if (found) Check(*found);
    std::vector<Row> rows;
    const auto collect = [&](std::string_view id, std::string_view type, std::string_view text) {
      Check(id);
      Check(type);
      Check(text);
      if (rows.size() < kRowsLooked)
        rows.push_back({std::string(id), std::string(type), std::string(text)});
    };
    store.ForEachText(language.id, "", collect);
    store.ForEachText(language.id, "MN", collect);
    for (const Row& row : rows) {
      if (const ulk::DictionaryId id = store.FindText(row.type, language.id, row.text)) Check(*id);
      CheckAll(store.Partners(row.id));
      CheckAll(store.TranslationLanguages(row.id));
      store.CountTextLinks(row.id);
      for (const ulk::DictionaryLanguage& other : languages) {
        CheckAll(store.TranslationsInto(row.id, other.id));
        store.ForEachTranslation(
            row.id, other.id,
            [](std::string_view id, std::string_view type, std::string_view text) {
              Check(id);
              Check(type);
              Check(text);
            });
      }
    }
  }
  // Similar texts: the file's own index when it is current, else one built
  // beside it for the connection; every match a text the dictionary may
  // hold, scoring between the minimum and 100.
  if (store.fuzzy().Prepare() && !languages.empty()) {
    std::vector<Row> texts;
    store.ForEachText(languages.front().id, "", [&](std::string_view id, std::string_view type,
                                                    std::string_view text) {
      if (texts.size() < kRowsLooked) texts.push_back({std::string(id), std::string(type), std::string(text)});
    });
    for (const Row& row : texts) {
      for (const ulk::DictionaryLanguage& other : languages) {
        for (const ulk::FuzzyMatch& match :
             store.fuzzy().Find(row.type, std::atoll(languages.front().id.c_str()), row.text,
                                std::atoll(other.id.c_str()), 50, 5)) {
          Check(match.type);
          Check(match.source);
          Check(match.translation);
          if (match.score < 50 || match.score > 100) std::abort();
        }
      }
    }
  }
  const std::string tmx = WorkFolder() + "/export.tmx";
  if (ulk::ExportTmx(connection, tmx).ok) {
    std::vector<ulk::TmxUnit> units;
    std::string error;
    if (!ulk::ReadTmx(ReadBytes(tmx), units, error)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = WorkFolder() + "/input.dic";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  {
    ulk::DictionaryConnection connection;
    ulk::DictionaryStore store(connection);
    if (ulk::OpenDictionary(connection, store, path, ulk::DictionaryAccess::kRead).ok) {
      ReadDictionary(connection, store);
    }
  }
  if (ReadBytes(path) != bytes) std::abort();
  // A read-only look at a file in write-ahead mode leaves its side files.
  for (const char* side : {"-wal", "-shm", "-journal"}) std::remove((path + side).c_str());
  return 0;
}
