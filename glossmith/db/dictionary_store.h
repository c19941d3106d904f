// The dictionary operations: languages, texts of six types, and the links
// that say which texts translate one another, each a fixed statement (or a
// short fixed sequence) of the statement table. Ids cross the interface as
// decimal strings; "none" is an absent result. Nothing is shown: failures
// are false or absent results, with the connection's LastResult.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "glossmith/db/dictionary_connection.h"
#include "glossmith/db/fuzzy_index.h"

namespace ulk {

// The statement table, in slot order (41 texts). Values are written where
// the texts hold "%s"; a quoted "'%s'" takes a text, a bare %s an id.
inline constexpr int kStatementCount = 41;
const char* StatementText(int slot);

// Every single quote doubled, nothing else changed.
std::string DoubleQuotes(std::string_view text);

// The statement of a slot with its values written in (texts quote-doubled);
// grows as needed, whatever the length of the values.
std::string FormatStatement(int slot, const std::vector<std::string>& values);

using DictionaryId = std::optional<std::string>;

struct DictionaryLanguage {
  std::string id;
  std::string name;
};

// Gets the id, type and text of one row of a listing; the texts are valid
// only during the call. Every text a listing gives passes CheckStoredText:
// a row that does not (a file written by something else) is left out.
using TextVisitor =
    std::function<void(std::string_view id, std::string_view type, std::string_view text)>;

class DictionaryStore {
 public:
  explicit DictionaryStore(DictionaryConnection& connection)
      : connection_(connection), fuzzy_(connection) {}

  // For a file that did not exist before it was opened; all of it or
  // nothing.
  bool CreateSchema();
  // Whether the file holds a dictionary as this program makes it: the
  // table ulk, and any of the other three tables exactly as created here,
  // no view and no trigger (indexes of any kind are fine). When it holds a
  // dictionary made otherwise, `problem` says what is wrong, in Spanish; it
  // stays empty for a file that is no dictionary at all.
  bool IsValidDictionary(std::string* problem = nullptr);

  DictionaryId FindLanguage(std::string_view name);
  DictionaryId AddLanguage(std::string_view name);
  bool RenameLanguage(std::string_view id, std::string_view name);
  // Inside a managed transaction: every link of the language's texts, its
  // texts, then the language; rolled back when any step fails.
  bool DeleteLanguage(std::string_view id);
  // By name.
  std::vector<DictionaryLanguage> ListLanguages();

  // Names, types and texts are stored only as they pass CheckStoredText
  // (the caller makes them so with ToStoredText): anything else is refused,
  // with kQueryNotStoredText as the connection's LastResult. A file with
  // the index of similar texts gets it updated in the same transaction as
  // the text (a savepoint of its own outside the caller's transaction).
  DictionaryId FindText(std::string_view type, std::string_view languageId, std::string_view text);
  DictionaryId AddText(std::string_view type, std::string_view languageId, std::string_view text);
  bool UpdateText(std::string_view id, std::string_view text);
  bool DeleteText(std::string_view id);
  long CountTextLinks(std::string_view id);

  // Adds whichever direction of the pair is missing.
  bool Link(std::string_view a, std::string_view b);
  // Whether a is linked with b (that direction).
  bool HasLink(std::string_view a, std::string_view b);
  bool Unlink(std::string_view a, std::string_view b);
  bool UnlinkAll(std::string_view id);
  // After Link (a, b): every partner of a with b, every partner of b with
  // a, and every partner of a with every partner of b.
  bool PropagateLink(std::string_view a, std::string_view b);

  // The administrator's listings: the texts of a language by type and text
  // (of one type when `type` is not empty), and the translations of a text
  // into a language by text. False when the query cannot run or stops on an
  // error; the rows visited before stay visited.
  bool ForEachText(std::string_view languageId, std::string_view type, const TextVisitor& visit);
  bool ForEachTranslation(std::string_view textId, std::string_view languageId,
                          const TextVisitor& visit);

  // The partners of a text (slot 31), in query order.
  std::vector<std::string> Partners(std::string_view id);
  // The texts into a language of the translations of a text (slot 32).
  std::vector<std::string> TranslationsInto(std::string_view textId, std::string_view languageId);
  // The languages of a text's translations (slot 34), and of the whole
  // dictionary (slot 35), by name.
  std::vector<std::string> TranslationLanguages(std::string_view textId);
  std::vector<std::string> LanguageNames();

  DictionaryConnection& connection() { return connection_; }
  FuzzyIndex& fuzzy() { return fuzzy_; }

 private:
  // Runs a statement of the table with its values bound in order (texts for
  // quoted places, ids for bare ones). The result code, also kept as the
  // connection's LastResult for statements without rows. A file deleted or
  // replaced since it was opened refuses every change
  // (SQLITE_READONLY_DBMOVED).
  int Run(int slot, const std::vector<std::string_view>& values);
  // The first column of every row.
  bool Rows(int slot, const std::vector<std::string_view>& values, std::vector<std::string>& rows);
  bool HasRow(int slot, const std::vector<std::string_view>& values);
  // False, noting kQueryNotStoredText, unless every value passes
  // CheckStoredText.
  bool AcceptsStored(std::initializer_list<std::string_view> values);
  // The language and text of a stored text, for the index to forget it.
  // Inside DeleteLanguage's transaction.
  bool ForgetLanguageInIndex(std::string_view id);
  bool StoredText(std::string_view id, std::int64_t& textId, std::int64_t& languageId,
                  std::string& text);

  DictionaryConnection& connection_;
  FuzzyIndex fuzzy_;
};

struct OpenDictionaryResult {
  bool ok = false;
  std::string message;  // what to show when not ok
  bool created = false;
};

// Opens a dictionary: with kCreate (the administrator's way) a file that
// did not exist gets the schema; with kRead or kWrite a missing file is
// refused. A file that cannot be opened, or that is no dictionary, is
// refused with the message to show. A dictionary opened for writing that
// can be written uses the write-ahead log; one opened with kRead is never
// changed.
OpenDictionaryResult OpenDictionary(DictionaryConnection& connection, DictionaryStore& store,
                                    const std::string& path,
                                    DictionaryAccess access = DictionaryAccess::kCreate);

}  // namespace ulk
