// The dictionary access component, over the administrator's database layer.
// A dictionary is opened read-only, so that looking texts up never changes
// the file, and opened again for writing at the first store.
#include "termvault/termvault.h"

#include <unistd.h>

#include <charconv>
#include <memory>
#include <string>
#include <vector>

#include "glossmith/db/dictionary_connection.h"
#include "glossmith/db/dictionary_store.h"
#include "platform/stored_text.h"

namespace {

// A list handed out one string at a time.
class Listing {
 public:
  void Reset(std::vector<std::string> items) {
    items_ = std::move(items);
    next_ = 0;
  }
  void Clear() { Reset({}); }
  const char* Next() {
    if (next_ >= items_.size()) return "";
    return items_[next_++].c_str();
  }

 private:
  std::vector<std::string> items_;
  std::size_t next_ = 0;
};

// The open dictionary: its connection and the store over it.
struct OpenFile {
  ulk::DictionaryConnection connection;
  ulk::DictionaryStore store{connection};
};

// The stored form of a text handed in; false when it cannot be stored.
bool Stored(const char* text, std::string& out) {
  return text && !ulk::ToStoredText(text, out);
}

class Component {
 public:
  bool Open(const char* path) {
    Close();
    if (!path || !*path) return false;
    // A missing file is made a new dictionary, as callers have always
    // been told; any other is only read until something is stored.
    const ulk::DictionaryAccess access =
        ::access(path, F_OK) == 0 ? ulk::DictionaryAccess::kRead : ulk::DictionaryAccess::kCreate;
    auto file = std::make_unique<OpenFile>();
    if (!ulk::OpenDictionary(file->connection, file->store, path, access).ok) return false;
    file_ = std::move(file);
    path_ = path;
    return true;
  }

  void Close() {
    file_.reset();
    path_.clear();
    found_.clear();
    translations_.Clear();
    languages_.Clear();
    dictionaryLanguages_.Clear();
  }

  bool IsOpen() const { return file_ != nullptr; }

  bool Set(const char* kind, const char* sourceLanguage, const char* sourceText,
           const char* targetLanguage, const char* targetText, bool replace) {
    std::string values[5];
    if (!IsOpen() || !Stored(kind, values[0]) || !Stored(sourceLanguage, values[1]) ||
        !Stored(sourceText, values[2]) || !Stored(targetLanguage, values[3]) ||
        !Stored(targetText, values[4])) {
      return false;
    }
    for (int i = 1; i < 5; ++i) {
      if (values[i].empty()) return false;
    }
    if (!OpenForWriting()) return false;
    ulk::DictionaryConnection& connection = file_->connection;
    if (!connection.Begin()) return false;
    if (Store(values[0], values[1], values[2], values[3], values[4], replace)) {
      return connection.Commit();
    }
    connection.Rollback();
    return false;
  }

  bool Find(const char* kind, const char* language, const char* text) {
    found_.clear();
    translations_.Clear();
    languages_.Clear();
    std::string stored;
    if (!IsOpen() || !kind || !language || !text || ulk::ToStoredText(text, stored)) return false;
    const ulk::DictionaryId languageId = store().FindLanguage(language);
    if (!languageId) return false;
    const ulk::DictionaryId textId = store().FindText(kind, *languageId, stored);
    if (!textId) return false;
    found_ = *textId;
    return true;
  }

  const char* FirstTranslation(const char* language) {
    translations_.Clear();
    if (found_.empty() || !language) return "";
    if (const ulk::DictionaryId languageId = store().FindLanguage(language)) {
      translations_.Reset(store().TranslationsInto(found_, *languageId));
    }
    return translations_.Next();
  }
  const char* NextTranslation() { return translations_.Next(); }

  const char* FirstLanguage() {
    languages_.Clear();
    if (!found_.empty()) languages_.Reset(store().TranslationLanguages(found_));
    return languages_.Next();
  }
  const char* NextLanguage() { return languages_.Next(); }

  const char* FirstDictionaryLanguage() {
    dictionaryLanguages_.Clear();
    if (IsOpen()) dictionaryLanguages_.Reset(store().LanguageNames());
    return dictionaryLanguages_.Next();
  }
  const char* NextDictionaryLanguage() { return dictionaryLanguages_.Next(); }

  bool PrepareFuzzy(DicProgressCallback progress, void* context) {
    if (!IsOpen()) return false;
    ulk::FuzzyIndexProgress report;
    if (progress) {
      report = [progress, context](std::int64_t done, std::int64_t total) {
        return progress(context, done, total) != 0;
      };
    }
    return EnsureFuzzy(report);
  }

  int FindSimilar(const char* kind, const char* sourceLanguage, const char* text,
                  const char* targetLanguage, int minScore, int maxMatches, DicMatchCallback match,
                  void* context) {
    std::string stored;
    if (!IsOpen() || !kind || !sourceLanguage || !text || !targetLanguage || !match ||
        maxMatches <= 0 || ulk::ToStoredText(text, stored)) {
      return -1;
    }
    if (!EnsureFuzzy({})) return -1;
    const ulk::DictionaryId from = store().FindLanguage(sourceLanguage);
    const ulk::DictionaryId to = store().FindLanguage(targetLanguage);
    std::int64_t source = 0;
    std::int64_t target = 0;
    if (!from || !to || !ToId(*from, source) || !ToId(*to, target)) return 0;
    const std::vector<ulk::FuzzyMatch> matches =
        store().fuzzy().Find(kind, source, stored, target, minScore,
                             static_cast<std::size_t>(maxMatches));
    for (const ulk::FuzzyMatch& m : matches) {
      match(context, m.score, m.type.c_str(), m.source.c_str(), m.translation.c_str());
    }
    return static_cast<int>(matches.size());
  }

  int LanguageId(const char* language) {
    if (!IsOpen() || !language) return 0;
    const ulk::DictionaryId id = store().FindLanguage(language);
    int value = 0;
    if (id) std::from_chars(id->data(), id->data() + id->size(), value);
    return value;
  }

 private:
  ulk::DictionaryStore& store() { return file_->store; }

  // The index of similar texts ready; one that must be built goes into the
  // file when the file can be written, so that it is built once.
  bool EnsureFuzzy(const ulk::FuzzyIndexProgress& progress) {
    ulk::FuzzyIndex& index = store().fuzzy();
    if (index.IsReady()) return true;
    if (!index.IsCurrentInFile() && ::access(path_.c_str(), W_OK) == 0) OpenForWriting();
    return store().fuzzy().Prepare(progress);
  }

  // The dictionary opened again for writing, once: the texts found stay
  // valid, as it is the same file. False, the read-only one kept, when it
  // cannot be (gone, or no longer a dictionary).
  bool OpenForWriting() {
    if (file_->connection.access() != ulk::DictionaryAccess::kRead) return true;
    auto file = std::make_unique<OpenFile>();
    if (!ulk::OpenDictionary(file->connection, file->store, path_, ulk::DictionaryAccess::kWrite)
             .ok) {
      return false;
    }
    file_ = std::move(file);
    return true;
  }

  ulk::DictionaryId TextId(const std::string& kind, const std::string& languageId,
                           const std::string& text) {
    if (ulk::DictionaryId id = store().FindText(kind, languageId, text)) return id;
    return store().AddText(kind, languageId, text);
  }

  bool Store(const std::string& kind, const std::string& sourceLanguage,
             const std::string& sourceText, const std::string& targetLanguage,
             const std::string& targetText, bool replace) {
    ulk::DictionaryStore& dictionary = store();
    const ulk::DictionaryId from = dictionary.AddLanguage(sourceLanguage);
    const ulk::DictionaryId to = dictionary.AddLanguage(targetLanguage);
    if (!from || !to) return false;
    const ulk::DictionaryId source = TextId(kind, *from, sourceText);
    const ulk::DictionaryId target = TextId(kind, *to, targetText);
    if (!source || !target) return false;
    if (*source == *target) return true;  // the same text in the same language
    if (replace) {
      for (const std::string& partner : dictionary.Partners(*source)) {
        if (partner != *target && IsInLanguage(partner, *to) &&
            !dictionary.Unlink(*source, partner)) {
          return false;
        }
      }
    }
    if (!dictionary.Link(*source, *target)) return false;
    dictionary.PropagateLink(*source, *target);
    return true;
  }

  bool IsInLanguage(const std::string& textId, const std::string& languageId) {
    std::int64_t text = 0;
    std::int64_t language = 0;
    if (!ToId(textId, text) || !ToId(languageId, language)) return false;
    ulk::PreparedStatement* query = file_->connection.Prepared(
        "select text_id from texts where text_id = ? and text_lang_id = ?");
    if (!query) return false;
    query->Bind(text).Bind(language);
    const bool found = query->Step() == SQLITE_ROW;
    query->Reset();
    return found;
  }

  static bool ToId(const std::string& text, std::int64_t& id) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size();
  }

  std::unique_ptr<OpenFile> file_;
  std::string path_;
  std::string found_;
  Listing translations_;
  Listing languages_;
  Listing dictionaryLanguages_;
};

Component& TheComponent() {
  static Component component;
  return component;
}

}  // namespace

extern "C" {

int DicOpen(const char* path) {
  return TheComponent().Open(path) ? 1 : 0;
}

int DicClose(void) {
  TheComponent().Close();
  return 1;
}

int DicIsOpened(void) {
  return TheComponent().IsOpen() ? 1 : 0;
}

int DicSet(const char* kind, const char* sourceLanguage, const char* sourceText,
           const char* targetLanguage, const char* targetText) {
  return TheComponent().Set(kind, sourceLanguage, sourceText, targetLanguage, targetText, false);
}

int DicSetEx(const char* kind, const char* sourceLanguage, const char* sourceText,
             const char* targetLanguage, const char* targetText, int replace) {
  return TheComponent().Set(kind, sourceLanguage, sourceText, targetLanguage, targetText,
                            replace != 0);
}

int DicFind(const char* kind, const char* sourceLanguage, const char* sourceText) {
  return TheComponent().Find(kind, sourceLanguage, sourceText) ? 1 : 0;
}

const char* DicGetFirst(const char* targetLanguage) {
  return TheComponent().FirstTranslation(targetLanguage);
}

const char* DicGetNext(void) {
  return TheComponent().NextTranslation();
}

const char* DicGetFirstLanguage(void) {
  return TheComponent().FirstLanguage();
}

const char* DicGetNextLanguage(void) {
  return TheComponent().NextLanguage();
}

const char* DicGetFirstDBLanguage(void) {
  return TheComponent().FirstDictionaryLanguage();
}

const char* DicGetNextDBLanguage(void) {
  return TheComponent().NextDictionaryLanguage();
}

int DicGetLanguageId(const char* language) {
  return TheComponent().LanguageId(language);
}

int DicFuzzyPrepare(DicProgressCallback progress, void* context) {
  return TheComponent().PrepareFuzzy(progress, context) ? 1 : 0;
}

int DicFuzzyFind(const char* kind, const char* sourceLanguage, const char* text,
                 const char* targetLanguage, int minScore, int maxMatches, DicMatchCallback match,
                 void* context) {
  return TheComponent().FindSimilar(kind, sourceLanguage, text, targetLanguage, minScore,
                                    maxMatches, match, context);
}

}  // extern "C"
