// The dictionary access component, over the administrator's database layer.
#include "termvault/termvault.h"

#include <unistd.h>

#include <charconv>
#include <string>
#include <vector>

#include "glossmith/db/dictionary_connection.h"
#include "glossmith/db/dictionary_store.h"

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

class Component {
 public:
  Component() : store_(connection_) {}

  bool Open(const char* path) {
    Close();
    if (!path || !*path) return false;
    return ulk::OpenDictionary(connection_, store_, path).ok;
  }

  void Close() {
    connection_.Close();
    found_.clear();
    translations_.Clear();
    languages_.Clear();
    dictionaryLanguages_.Clear();
  }

  bool IsOpen() const { return connection_.IsOpen(); }

  bool Set(const char* kind, const char* sourceLanguage, const char* sourceText,
           const char* targetLanguage, const char* targetText, bool replace) {
    if (!IsOpen() || !kind || !sourceLanguage || !sourceText || !targetLanguage || !targetText ||
        !*sourceLanguage || !*targetLanguage || !*sourceText || !*targetText) {
      return false;
    }
    if (!connection_.Begin()) return false;
    if (Store(kind, sourceLanguage, sourceText, targetLanguage, targetText, replace)) {
      return connection_.Commit();
    }
    connection_.Rollback();
    return false;
  }

  bool Find(const char* kind, const char* language, const char* text) {
    found_.clear();
    translations_.Clear();
    languages_.Clear();
    if (!IsOpen() || !kind || !language || !text) return false;
    const ulk::DictionaryId languageId = store_.FindLanguage(language);
    if (!languageId) return false;
    const ulk::DictionaryId textId = store_.FindText(kind, *languageId, text);
    if (!textId) return false;
    found_ = *textId;
    return true;
  }

  const char* FirstTranslation(const char* language) {
    translations_.Clear();
    if (found_.empty() || !language) return "";
    if (const ulk::DictionaryId languageId = store_.FindLanguage(language)) {
      translations_.Reset(store_.TranslationsInto(found_, *languageId));
    }
    return translations_.Next();
  }
  const char* NextTranslation() { return translations_.Next(); }

  const char* FirstLanguage() {
    languages_.Clear();
    if (!found_.empty()) languages_.Reset(store_.TranslationLanguages(found_));
    return languages_.Next();
  }
  const char* NextLanguage() { return languages_.Next(); }

  const char* FirstDictionaryLanguage() {
    dictionaryLanguages_.Clear();
    if (IsOpen()) dictionaryLanguages_.Reset(store_.LanguageNames());
    return dictionaryLanguages_.Next();
  }
  const char* NextDictionaryLanguage() { return dictionaryLanguages_.Next(); }

  int LanguageId(const char* language) {
    if (!IsOpen() || !language) return 0;
    const ulk::DictionaryId id = store_.FindLanguage(language);
    int value = 0;
    if (id) std::from_chars(id->data(), id->data() + id->size(), value);
    return value;
  }

 private:
  ulk::DictionaryId TextId(const char* kind, const std::string& languageId, const char* text) {
    if (ulk::DictionaryId id = store_.FindText(kind, languageId, text)) return id;
    return store_.AddText(kind, languageId, text);
  }

  bool Store(const char* kind, const char* sourceLanguage, const char* sourceText,
             const char* targetLanguage, const char* targetText, bool replace) {
    const ulk::DictionaryId from = store_.AddLanguage(sourceLanguage);
    const ulk::DictionaryId to = store_.AddLanguage(targetLanguage);
    if (!from || !to) return false;
    const ulk::DictionaryId source = TextId(kind, *from, sourceText);
    const ulk::DictionaryId target = TextId(kind, *to, targetText);
    if (!source || !target) return false;
    if (*source == *target) return true;  // the same text in the same language
    if (replace) {
      for (const std::string& partner : store_.Partners(*source)) {
        if (partner != *target && IsInLanguage(partner, *to) && !store_.Unlink(*source, partner)) {
          return false;
        }
      }
    }
    if (!store_.Link(*source, *target)) return false;
    store_.PropagateLink(*source, *target);
    return true;
  }

  bool IsInLanguage(const std::string& textId, const std::string& languageId) {
    ulk::PreparedStatement* query =
        connection_.Prepared("select text_id from texts where text_id = ? and text_lang_id = ?");
    if (!query) return false;
    query->Bind(static_cast<std::int64_t>(std::stoll(textId)))
        .Bind(static_cast<std::int64_t>(std::stoll(languageId)));
    const bool found = query->Step() == SQLITE_ROW;
    query->Reset();
    return found;
  }

  ulk::DictionaryConnection connection_;
  ulk::DictionaryStore store_;
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

}  // extern "C"
