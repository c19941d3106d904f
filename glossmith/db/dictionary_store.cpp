// The statement table and the dictionary operations.
#include "glossmith/db/dictionary_store.h"

#include <unistd.h>

#include <charconv>
#include <initializer_list>

#include "glossmith/db/glossmith_messages.h"
#include "platform/stored_text.h"

namespace ulk {
namespace {

constexpr const char* kStatements[kStatementCount] = {
    /* 0 */ "0.0.1",
    /* 1 */ "Copyright (C) 2026 Kelvanter. Diccionario de traducción de recursos",
    /* 2 */ "Dictionary for ULK Program",
    /* 3 */ "begin transaction",
    /* 4 */ "commit",
    /* 5 */ "rollback",
    /* 6 */
    "create table ulk ( ulk_version varchar2(12), ulk_copyright varchar(255), ulk_description "
    "varchar(255))",
    /* 7 */
    "insert into ulk (ulk_version, ulk_copyright, ulk_description) values ('%s', '%s', '%s')",
    /* 8 */ "select ulk_version, ulk_copyright, ulk_description  from ulk",
    /* 9 */ "create table languages ( lang_id integer primary key, lang_name varchar(255) unique)",
    /* 10 */ "create unique index index_lang_name    on languages (lang_name)",
    /* 11 */ "select lang_id from languages where lang_name = '%s'",
    /* 12 */ "insert into languages (lang_name) values ('%s')",
    /* 13 */ "update languages   set lang_name='%s' where lang_id=%s",
    /* 14 */
    "create table texts ( text_id integer primary key, text_lang_id integer, text_type varchar(2), "
    "text_text varchar(255))",
    /* 15 */
    "create index index_text_type_lang_text    on texts (text_type, text_lang_id, text_text)",
    /* 16 */
    "select text_id from texts where text_type = '%s'   and text_lang_id = %s   and text_text = "
    "'%s'",
    /* 17 */ "insert into texts (text_type, text_lang_id, text_text) values ('%s', %s, '%s')",
    /* 18 */ "update texts   set text_text='%s' where text_id=%s",
    /* 19 */ "delete from texts where text_id=%s",
    /* 20 */
    "create table translations ( tran_id integer primary key, tran_text_id_1 integer, "
    "tran_text_id_2 integer)",
    /* 21 */ "create index index_tran_text_id_1    on translations (tran_text_id_1)",
    /* 22 */ "create index index_tran_text_id_2    on translations (tran_text_id_2)",
    /* 23 */
    "create index index_tran_text_id_1_2    on translations (tran_text_id_1, tran_text_id_2)",
    /* 24 */ "insert into translations (tran_text_id_1, tran_text_id_2) values (%s, %s)",
    /* 25 */ "delete from translations  where tran_text_id_1=%s   and tran_text_id_2=%s",
    /* 26 */ "delete from translations  where tran_text_id_1=%s",
    /* 27 */ "delete from translations  where tran_text_id_2=%s",
    /* 28 */ "select tran_id  from translations where tran_text_id_1=%s   and tran_text_id_2=%s",
    /* 29 */ "select count(tran_text_id_1)  from translations where tran_text_id_1=%s",
    /* 30 */ "select count(tran_text_id_2)  from translations where tran_text_id_2=%s",
    /* 31 */ "select tran_text_id_2   from translations where tran_text_id_1=%s",
    /* 32 */
    "select text_text  from translations, texts where tran_text_id_1 = %s   and tran_text_id_2 = "
    "text_id   and text_lang_id = %s order by text_text",
    /* 33 */
    "select count(tran_id)   from translations where (tran_text_id_1 = %s and tran_text_id_2 = %s) "
    "   or (tran_text_id_2 = %s and tran_text_id_1 = %s)",
    /* 34 */
    "select distinct(lang_name)  from languages, translations, texts where lang_id = text_lang_id  "
    " and tran_text_id_2 = text_id   and tran_text_id_1 = %s",
    /* 35 */ "select lang_name   from languages  order by lang_name",
    /* 36 */ "select lang_id, lang_name   from languages  order by lang_name",
    /* 37 */
    "delete from translations  where tran_text_id_1 in (select text_id from texts where "
    "text_lang_id = %s)",
    /* 38 */
    "delete from translations  where tran_text_id_2 in (select text_id from texts where "
    "text_lang_id = %s)",
    /* 39 */ "delete from texts where text_lang_id = %s",
    /* 40 */ "delete from languages where lang_id = %s",
};

enum Slot : int {
  kVersion = 0,
  kCopyright = 1,
  kDescription = 2,
  kBegin = 3,
  kCommit = 4,
  kCreateUlk = 6,
  kInsertUlk = 7,
  kSelectUlk = 8,
  kCreateLanguages = 9,
  kIndexLanguageName = 10,
  kFindLanguage = 11,
  kAddLanguage = 12,
  kRenameLanguage = 13,
  kCreateTexts = 14,
  kIndexTexts = 15,
  kFindText = 16,
  kAddText = 17,
  kUpdateText = 18,
  kDeleteText = 19,
  kCreateTranslations = 20,
  kIndexLink1 = 21,
  kIndexLink2 = 22,
  kIndexLink12 = 23,
  kAddLink = 24,
  kDeleteLink = 25,
  kDeleteLinksFrom = 26,
  kDeleteLinksTo = 27,
  kFindLink = 28,
  kCountLinksFrom = 29,
  kCountLinksTo = 30,
  kPartners = 31,
  kTranslationsInto = 32,
  kTranslationLanguages = 34,
  kLanguageNames = 35,
  kListLanguages = 36,
  kDeleteLanguageLinksFrom = 37,
  kDeleteLanguageLinksTo = 38,
  kDeleteLanguageTexts = 39,
  kDeleteLanguage = 40,
};

// A statement with "?" for each value, and which values are texts.
struct Parameterised {
  std::string sql;
  std::vector<bool> isText;
};

Parameterised Parameterise(std::string_view text) {
  Parameterised p;
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, 4, "'%s'") == 0) {
      p.sql += '?';
      p.isText.push_back(true);
      at += 4;
    } else if (text.compare(at, 2, "%s") == 0) {
      p.sql += '?';
      p.isText.push_back(false);
      at += 2;
    } else {
      p.sql += text[at++];
    }
  }
  return p;
}

const Parameterised& ParameterisedStatement(int slot) {
  static const std::vector<Parameterised> table = [] {
    std::vector<Parameterised> all;
    for (const char* text : kStatements) all.push_back(Parameterise(text));
    return all;
  }();
  return table[static_cast<std::size_t>(slot)];
}

// The browser's own statements, outside the table.
constexpr const char* kAllTextsOfLanguage =
    "select text_id, text_type, text_text from texts where text_lang_id=%s order by text_type, "
    "text_text";
constexpr const char* kTextsOfLanguageAndType =
    "select text_id, text_type, text_text from texts where text_lang_id=%s and "
    "text_type='%s'order by text_type, text_text";
constexpr const char* kTranslationsOfText =
    "select text_id, text_type, text_text  from translations, texts where tran_text_id_1 = %s   "
    "and tran_text_id_2 = text_id   and text_lang_id = %s order by text_text";

bool ToInteger(std::string_view text, std::int64_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string IdText(std::int64_t id) {
  return std::to_string(id);
}

bool AreStoredTexts(std::initializer_list<std::string_view> values) {
  for (const std::string_view value : values) {
    if (CheckStoredText(value)) return false;
  }
  return true;
}

// The statement, ready to run with the values bound: texts as texts, ids as
// integers (an id that is no number stays a text and matches no row).
PreparedStatement* Bound(DictionaryConnection& connection, const Parameterised& p,
                         const std::vector<std::string_view>& values) {
  PreparedStatement* statement = connection.Prepared(p.sql);
  if (!statement) return nullptr;
  for (std::size_t i = 0; i < p.isText.size(); ++i) {
    const std::string_view value = i < values.size() ? values[i] : std::string_view();
    std::int64_t id = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), id);
    if (p.isText[i] || error != std::errc() || end != value.data() + value.size()) {
      statement->Bind(value);
    } else {
      statement->Bind(id);
    }
  }
  return statement;
}

PreparedStatement* Bound(DictionaryConnection& connection, int slot,
                         const std::vector<std::string_view>& values) {
  return Bound(connection, ParameterisedStatement(slot), values);
}

// Every row of a statement over (id, type, text); false when it cannot run
// or stops on an error.
bool VisitTexts(DictionaryConnection& connection, const Parameterised& p,
                const std::vector<std::string_view>& values, const TextVisitor& visit) {
  PreparedStatement* statement = Bound(connection, p, values);
  if (!statement) return false;
  int result = SQLITE_ROW;
  while ((result = statement->Step()) == SQLITE_ROW) {
    const std::string_view id = statement->TextView(0);
    const std::string_view type = statement->TextView(1);
    const std::string_view text = statement->TextView(2);
    if (AreStoredTexts({id, type, text})) visit(id, type, text);
  }
  statement->Reset();
  return result == SQLITE_DONE;
}

}  // namespace

const char* StatementText(int slot) {
  return slot >= 0 && slot < kStatementCount ? kStatements[slot] : "";
}

std::string DoubleQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (const char c : text) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  return out;
}

std::string FormatStatement(int slot, const std::vector<std::string>& values) {
  const std::string_view text = StatementText(slot);
  std::string out;
  std::size_t next = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (text.compare(at, 4, "'%s'") == 0) {
      out += '\'';
      out += next < values.size() ? DoubleQuotes(values[next]) : std::string();
      out += '\'';
      ++next;
      at += 4;
    } else if (text.compare(at, 2, "%s") == 0) {
      out += next < values.size() ? values[next] : std::string();
      ++next;
      at += 2;
    } else {
      out += text[at++];
    }
  }
  return out;
}

int DictionaryStore::Run(int slot, const std::vector<std::string_view>& values) {
  // In write-ahead mode SQLite goes on writing into a file that was deleted
  // under it, and everything written then is lost at close; refuse as it
  // does itself in its other journal modes.
  if (connection_.HasMoved()) {
    connection_.NoteResult(SQLITE_READONLY_DBMOVED);
    return SQLITE_READONLY_DBMOVED;
  }
  PreparedStatement* statement = Bound(connection_, slot, values);
  if (!statement) {
    connection_.NoteResult(SQLITE_ERROR);
    return SQLITE_ERROR;
  }
  int result = statement->Step();
  if (result == SQLITE_DONE || result == SQLITE_ROW) result = SQLITE_OK;
  statement->Reset();
  connection_.NoteResult(result);
  return result;
}

bool DictionaryStore::Rows(int slot, const std::vector<std::string_view>& values,
                           std::vector<std::string>& rows) {
  rows.clear();
  PreparedStatement* statement = Bound(connection_, slot, values);
  if (!statement) return false;
  int result = SQLITE_ROW;
  while ((result = statement->Step()) == SQLITE_ROW) {
    if (auto text = statement->Text(0); text && !CheckStoredText(*text)) {
      rows.push_back(*std::move(text));
    }
  }
  statement->Reset();  // ends the statement's read
  return result == SQLITE_DONE;
}

bool DictionaryStore::AcceptsStored(std::initializer_list<std::string_view> values) {
  if (AreStoredTexts(values)) return true;
  connection_.NoteResult(kQueryNotStoredText);
  return false;
}

bool DictionaryStore::HasRow(int slot, const std::vector<std::string_view>& values) {
  std::vector<std::string> rows;
  return Rows(slot, values, rows) && !rows.empty();
}

bool DictionaryStore::CreateSchema() {
  if (connection_.Execute(kStatements[kBegin]) != SQLITE_OK) return false;
  bool created = true;
  for (const int slot : {kCreateUlk, kCreateLanguages, kCreateTexts, kCreateTranslations,
                         kIndexLanguageName, kIndexTexts, kIndexLink1, kIndexLink2, kIndexLink12}) {
    created = created && connection_.Execute(kStatements[slot]) == SQLITE_OK;
  }
  created = created && Run(kInsertUlk, {kStatements[kVersion], kStatements[kCopyright],
                                        kStatements[kDescription]}) == SQLITE_OK;
  if (created && connection_.Execute(kStatements[kCommit]) == SQLITE_OK) return true;
  const int code = connection_.LastResult();
  connection_.Execute("rollback");
  connection_.NoteResult(code);
  return false;
}

namespace {

// The tables as this program creates them; another definition under one
// of these names could change what our statements mean (a collation that
// makes two texts equal, a key that is no row id).
constexpr int kDictionaryTables[] = {kCreateUlk, kCreateLanguages, kCreateTexts,
                                     kCreateTranslations};

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsPunctuation(char c) {
  return c == '(' || c == ')' || c == ',';
}

// A table definition in one spelling: lower case, blanks only between two
// words, one blank there.
std::string CanonicalDefinition(std::string_view sql) {
  std::string out;
  bool blank = false;
  for (const char c : sql) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
      blank = true;
      continue;
    }
    if (blank && !out.empty() && !IsPunctuation(out.back()) && !IsPunctuation(c)) out += ' ';
    blank = false;
    out += LowerAscii(c);
  }
  return out;
}

std::string LowerName(std::string_view name) {
  std::string out;
  for (const char c : name) out += LowerAscii(c);
  return out;
}

// The table's name as its statement names it: the third word.
std::string_view TableOf(int slot) {
  std::string_view text = kStatements[slot];
  text.remove_prefix(std::string_view("create table ").size());
  return text.substr(0, text.find(' '));
}

// A name from the file as a message may show it.
std::string Shown(std::string_view name) {
  constexpr std::size_t kLongest = 64;
  if (CheckStoredText(name)) return "?";
  if (name.size() <= kLongest) return std::string(name);
  std::size_t cut = kLongest;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return std::string(name.substr(0, cut)) + "...";
}

}  // namespace

bool DictionaryStore::IsValidDictionary(std::string* problem) {
  const auto refuse = [&](std::string what) {
    if (problem) *problem = std::move(what);
    return false;
  };
  if (problem) problem->clear();
  PreparedStatement* schema = connection_.Prepared("select type, name, sql from sqlite_master");
  if (!schema) return refuse({});
  bool hasUlk = false;
  std::string found;
  int result = SQLITE_ROW;
  while (found.empty() && (result = schema->Step()) == SQLITE_ROW) {
    const std::string_view type = schema->TextView(0);
    const std::string_view name = schema->TextView(1);
    if (type == "view") {
      found = "Contiene la vista «" + Shown(name) + "»; un diccionario no tiene vistas.";
    } else if (type == "trigger") {
      found = "Contiene el disparador «" + Shown(name) + "»; un diccionario no tiene disparadores.";
    } else if (type == "table") {
      const std::string table = LowerName(name);
      if (const char* ours = FuzzyIndex::Definition(table)) {
        if (CanonicalDefinition(schema->TextView(2)) != CanonicalDefinition(ours)) {
          found = "La tabla «" + table + "» no es el índice de textos parecidos de un diccionario.";
        }
        continue;
      }
      for (const int slot : kDictionaryTables) {
        if (table != TableOf(slot)) continue;
        if (CanonicalDefinition(schema->TextView(2)) != CanonicalDefinition(kStatements[slot])) {
          found = "La tabla «" + table + "» no tiene las columnas y tipos de un diccionario.";
        }
        hasUlk = hasUlk || slot == kCreateUlk;
      }
    }
  }
  schema->Reset();
  if (!found.empty()) return refuse(std::move(found));
  if (result != SQLITE_ROW && result != SQLITE_DONE) return refuse({});
  return hasUlk && connection_.Query(kStatements[kSelectUlk]) != nullptr;
}

DictionaryId DictionaryStore::FindLanguage(std::string_view name) {
  std::vector<std::string> rows;
  if (!Rows(kFindLanguage, {name}, rows) || rows.empty()) return std::nullopt;
  return rows.front();
}

DictionaryId DictionaryStore::AddLanguage(std::string_view name) {
  if (!AcceptsStored({name})) return std::nullopt;
  if (DictionaryId existing = FindLanguage(name)) return existing;
  if (Run(kAddLanguage, {name}) != SQLITE_OK) return std::nullopt;
  return IdText(connection_.LastInsertId());
}

bool DictionaryStore::RenameLanguage(std::string_view id, std::string_view name) {
  if (!AcceptsStored({name})) return false;
  return Run(kRenameLanguage, {name, id}) == SQLITE_OK;
}

bool DictionaryStore::DeleteLanguage(std::string_view id) {
  if (!connection_.Begin()) return false;
  if (fuzzy_.InFile() && !ForgetLanguageInIndex(id)) {
    connection_.Rollback();
    return false;
  }
  for (const int slot :
       {kDeleteLanguageLinksFrom, kDeleteLanguageLinksTo, kDeleteLanguageTexts, kDeleteLanguage}) {
    if (Run(slot, {id}) != SQLITE_OK) {
      connection_.Rollback();
      return false;
    }
  }
  return connection_.Commit();
}

bool DictionaryStore::ForgetLanguageInIndex(std::string_view id) {
  std::int64_t language = 0;
  if (!ToInteger(id, language)) return true;  // no text has it
  std::vector<std::pair<std::int64_t, std::string>> texts;
  PreparedStatement* query =
      connection_.Prepared("select text_id, text_text from texts where text_lang_id = ?");
  if (!query) return false;
  query->Bind(language);
  int result = SQLITE_ROW;
  while ((result = query->Step()) == SQLITE_ROW) {
    texts.emplace_back(query->Integer(0), std::string(query->TextView(1)));
  }
  query->Reset();
  if (result != SQLITE_DONE) return false;
  for (const auto& [textId, text] : texts) {
    if (!fuzzy_.Remove(textId, language, text)) return false;
  }
  return true;
}

std::vector<DictionaryLanguage> DictionaryStore::ListLanguages() {
  std::vector<DictionaryLanguage> languages;
  PreparedStatement* statement = Bound(connection_, kListLanguages, {});
  if (!statement) return languages;
  while (statement->Step() == SQLITE_ROW) {
    const std::string_view id = statement->TextView(0);
    const std::string_view name = statement->TextView(1);
    if (AreStoredTexts({id, name})) languages.push_back({std::string(id), std::string(name)});
  }
  statement->Reset();
  return languages;
}

DictionaryId DictionaryStore::FindText(std::string_view type, std::string_view languageId,
                                       std::string_view text) {
  std::vector<std::string> rows;
  if (!Rows(kFindText, {type, languageId, text}, rows) || rows.empty()) return std::nullopt;
  return rows.front();
}

namespace {

// One change of a text and of the index with it, kept or undone whole: a
// savepoint is a transaction of its own outside the caller's and a part of
// it inside.
class IndexedChange {
 public:
  explicit IndexedChange(DictionaryConnection& connection, bool indexed)
      : connection_(connection), active_(indexed && connection.Execute("savepoint ulk_text") == SQLITE_OK),
        failed_(indexed && !active_) {}
  ~IndexedChange() {
    if (!active_) return;
    const int code = connection_.LastResult();
    connection_.Execute("rollback to ulk_text");
    connection_.Execute("release ulk_text");
    connection_.NoteResult(code);
  }
  IndexedChange(const IndexedChange&) = delete;
  IndexedChange& operator=(const IndexedChange&) = delete;

  // False when the savepoint could not be taken: nothing may change then.
  bool Started() const { return !failed_; }
  bool Keep() {
    if (!active_) return true;
    active_ = false;
    return connection_.Execute("release ulk_text") == SQLITE_OK;
  }

 private:
  DictionaryConnection& connection_;
  bool active_;
  bool failed_;
};

}  // namespace

bool DictionaryStore::StoredText(std::string_view id, std::int64_t& textId,
                                 std::int64_t& languageId, std::string& text) {
  if (!ToInteger(id, textId)) return false;
  PreparedStatement* query =
      connection_.Prepared("select text_lang_id, text_text from texts where text_id = ?");
  if (!query) return false;
  query->Bind(textId);
  const bool found = query->Step() == SQLITE_ROW;
  if (found) {
    languageId = query->Integer(0);
    text = std::string(query->TextView(1));
  }
  query->Reset();
  return found;
}

DictionaryId DictionaryStore::AddText(std::string_view type, std::string_view languageId,
                                      std::string_view text) {
  if (!AcceptsStored({type, text})) return std::nullopt;
  // The text is written before anything is read, so that a transaction
  // that starts here takes the write lock at once and waits for another
  // writer instead of failing on a snapshot grown old.
  IndexedChange change(connection_, true);
  if (!change.Started()) return std::nullopt;
  if (Run(kAddText, {type, languageId, text}) != SQLITE_OK) return std::nullopt;
  const std::int64_t id = connection_.LastInsertId();
  std::int64_t language = 0;
  if (fuzzy_.InFile() && (!ToInteger(languageId, language) || !fuzzy_.Add(id, language, text))) {
    return std::nullopt;
  }
  if (!change.Keep()) return std::nullopt;
  return IdText(id);
}

bool DictionaryStore::UpdateText(std::string_view id, std::string_view text) {
  if (!AcceptsStored({text})) return false;
  const bool indexed = fuzzy_.InFile();
  IndexedChange change(connection_, indexed);
  if (!change.Started()) return false;
  std::int64_t textId = 0;
  std::int64_t language = 0;
  std::string old;
  const bool known = indexed && StoredText(id, textId, language, old);
  if (known && !fuzzy_.Remove(textId, language, old)) return false;
  if (Run(kUpdateText, {text, id}) != SQLITE_OK) return false;
  if (known && !fuzzy_.Add(textId, language, text)) return false;
  return change.Keep();
}

bool DictionaryStore::DeleteText(std::string_view id) {
  const bool indexed = fuzzy_.InFile();
  IndexedChange change(connection_, indexed);
  if (!change.Started()) return false;
  std::int64_t textId = 0;
  std::int64_t language = 0;
  std::string old;
  if (indexed && StoredText(id, textId, language, old) && !fuzzy_.Remove(textId, language, old)) {
    return false;
  }
  if (Run(kDeleteText, {id}) != SQLITE_OK) return false;
  return change.Keep();
}

long DictionaryStore::CountTextLinks(std::string_view id) {
  const auto count = [&](int slot) {
    std::vector<std::string> rows;
    if (!Rows(slot, {id}, rows) || rows.empty()) return 0L;
    long value = 0;
    std::from_chars(rows.front().data(), rows.front().data() + rows.front().size(), value);
    return value;
  };
  const long forward = count(kCountLinksFrom);
  return forward != 0 ? forward : count(kCountLinksTo);
}

bool DictionaryStore::Link(std::string_view a, std::string_view b) {
  bool forward = HasRow(kFindLink, {a, b});
  bool backward = HasRow(kFindLink, {b, a});
  if (!forward) forward = Run(kAddLink, {a, b}) == SQLITE_OK;
  if (!backward) backward = Run(kAddLink, {b, a}) == SQLITE_OK;
  return forward && backward;
}

bool DictionaryStore::HasLink(std::string_view a, std::string_view b) {
  return HasRow(kFindLink, {a, b});
}

bool DictionaryStore::Unlink(std::string_view a, std::string_view b) {
  if (Run(kDeleteLink, {a, b}) != SQLITE_OK) return false;
  return Run(kDeleteLink, {b, a}) == SQLITE_OK;
}

bool DictionaryStore::UnlinkAll(std::string_view id) {
  if (Run(kDeleteLinksFrom, {id}) != SQLITE_OK) return false;
  return Run(kDeleteLinksTo, {id}) == SQLITE_OK;
}

bool DictionaryStore::PropagateLink(std::string_view a, std::string_view b) {
  if (!HasRow(kFindLink, {a, b})) return false;
  bool result = false;
  std::vector<std::string> rows;
  std::vector<std::string> partnersOfA;
  if (Rows(kPartners, {a}, rows)) {
    result = true;
    for (auto& id : rows) {
      if (!id.empty() && id != b) partnersOfA.push_back(std::move(id));
    }
    for (const std::string& p : partnersOfA) result = Link(b, p);
  }
  std::vector<std::string> partnersOfB;
  if (Rows(kPartners, {b}, rows)) {
    result = true;
    for (auto& id : rows) {
      if (!id.empty() && id != a) partnersOfB.push_back(std::move(id));
    }
    for (const std::string& q : partnersOfB) result = Link(a, q);
  }
  for (const std::string& p : partnersOfA) {
    for (const std::string& q : partnersOfB) {
      if (p != q) result = Link(p, q);
    }
  }
  return result;
}

bool DictionaryStore::ForEachText(std::string_view languageId, std::string_view type,
                                  const TextVisitor& visit) {
  static const Parameterised all = Parameterise(kAllTextsOfLanguage);
  static const Parameterised ofType = Parameterise(kTextsOfLanguageAndType);
  if (!type.empty()) return VisitTexts(connection_, ofType, {languageId, type}, visit);
  // The same rows in the same order, without sorting a whole language: the
  // index on (type, language, text) hands each type's texts out in order,
  // and the types follow one another by seeks. Rows without a type, which
  // the order puts first, come first; a type stored as anything but text
  // leaves the work to the single statement.
  static const Parameterised untyped = Parameterise(
      "select text_id, text_type, text_text from texts where text_lang_id=%s and "
      "text_type is null order by text_text");
  std::vector<std::string> types;
  PreparedStatement* next = connection_.Prepared("select min(text_type) from texts");
  PreparedStatement* after =
      connection_.Prepared("select min(text_type) from texts where text_type > ?");
  if (!next || !after) return VisitTexts(connection_, all, {languageId}, visit);
  for (PreparedStatement* step = next; step->Step() == SQLITE_ROW; step = after) {
    if (step->ColumnType(0) == SQLITE_NULL) break;
    // Each type must come after the one before in byte order, or the seeks
    // would go round in circles.
    const std::string_view found = step->TextView(0);
    if (step->ColumnType(0) != SQLITE_TEXT || (!types.empty() && found <= types.back())) {
      step->Reset();
      return VisitTexts(connection_, all, {languageId}, visit);
    }
    types.emplace_back(found);
    step->Reset();
    after->Reset().Bind(types.back());
  }
  next->Reset();
  after->Reset();
  if (!VisitTexts(connection_, untyped, {languageId}, visit)) return false;
  for (const std::string& each : types) {
    if (!VisitTexts(connection_, ofType, {languageId, each}, visit)) return false;
  }
  return true;
}

bool DictionaryStore::ForEachTranslation(std::string_view textId, std::string_view languageId,
                                         const TextVisitor& visit) {
  static const Parameterised statement = Parameterise(kTranslationsOfText);
  return VisitTexts(connection_, statement, {textId, languageId}, visit);
}

std::vector<std::string> DictionaryStore::Partners(std::string_view id) {
  std::vector<std::string> rows;
  Rows(kPartners, {id}, rows);
  return rows;
}

std::vector<std::string> DictionaryStore::TranslationsInto(std::string_view textId,
                                                           std::string_view languageId) {
  std::vector<std::string> rows;
  Rows(kTranslationsInto, {textId, languageId}, rows);
  return rows;
}

std::vector<std::string> DictionaryStore::TranslationLanguages(std::string_view textId) {
  std::vector<std::string> rows;
  Rows(kTranslationLanguages, {textId}, rows);
  return rows;
}

std::vector<std::string> DictionaryStore::LanguageNames() {
  std::vector<std::string> rows;
  Rows(kLanguageNames, {}, rows);
  return rows;
}

OpenDictionaryResult OpenDictionary(DictionaryConnection& connection, DictionaryStore& store,
                                    const std::string& path, DictionaryAccess access) {
  OpenDictionaryResult result;
  connection.Close();
  const bool existed = ::access(path.c_str(), F_OK) == 0;
  // Only a file that is not there is made: one that vanished between the
  // look and the open is not made again behind the caller's back.
  const DictionaryAccess mode =
      access == DictionaryAccess::kCreate && existed ? DictionaryAccess::kWrite : access;
  if (!connection.Open(path, mode)) {
    result.message = GlossmithMessage(kGlossCannotOpenDictionary, path);
    return result;
  }
  if (mode == DictionaryAccess::kCreate) {
    if (!store.CreateSchema()) {
      connection.Close();
      result.message = GlossmithMessage(kGlossCannotOpenDictionary, path);
      return result;
    }
    result.created = true;
  }
  std::string problem;
  if (!store.IsValidDictionary(&problem)) {
    connection.Close();
    result.message = GlossmithMessageText(kGlossNotADictionary);
    if (!problem.empty()) result.message += "\n\n" + problem;
    return result;
  }
  if (access != DictionaryAccess::kRead) connection.UseWriteAheadLog();
  result.ok = true;
  return result;
}

}  // namespace ulk
