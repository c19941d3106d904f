#include "glossmith/db/dictionary_store.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

class DictionaryStoreTest : public ::testing::Test {
 protected:
  DictionaryStoreTest() : dir_("store"), store_(connection_) {}
  void SetUp() override {
    const OpenDictionaryResult opened = OpenDictionary(connection_, store_, dir_ / "test.dic");
    ASSERT_TRUE(opened.ok) << opened.message;
    ASSERT_TRUE(opened.created);
    spanish_ = *store_.AddLanguage("Español");
    english_ = *store_.AddLanguage("English");
    german_ = *store_.AddLanguage("Deutsch");
  }
  std::string Text(const std::string& language, const std::string& text) {
    return *store_.AddText("ST", language, text);
  }
  std::string IdOfLastInsert() { return std::to_string(connection_.LastInsertId()); }
  // Every link row as "a-b", sorted.
  std::vector<std::string> Links() {
    std::vector<std::string> rows;
    auto query = connection_.Query("select tran_text_id_1, tran_text_id_2 from translations");
    for (; query && !query->AtEnd(); query->Next())
      rows.push_back(*query->Column(0) + "-" + *query->Column(1));
    std::sort(rows.begin(), rows.end());
    return rows;
  }

  testing::TempDir dir_;
  DictionaryConnection connection_;
  DictionaryStore store_;
  std::string spanish_, english_, german_;
};

TEST_F(DictionaryStoreTest, TextsAndNamesComeBackExactly) {
  const std::string samples[] = {"it's \"quoted\"", "100% '' \\n back\\slash", "dos\\nlíneas\\r\\n",
                                 "Ελληνικά 日本語", std::string(5000, 'x') + "'"};
  for (const std::string& text : samples) {
    const DictionaryId id = store_.AddText("MN", english_, text);
    ASSERT_TRUE(id.has_value()) << text;
    EXPECT_EQ(store_.FindText("MN", english_, text), id);
    EXPECT_FALSE(store_.FindText("ST", english_, text).has_value()) << "another type";
  }
  const DictionaryId odd = store_.AddLanguage("O'Brien 100%");
  ASSERT_TRUE(odd);
  EXPECT_EQ(store_.FindLanguage("O'Brien 100%"), odd);
  EXPECT_EQ(store_.AddLanguage("O'Brien 100%"), odd) << "added once";
  EXPECT_TRUE(store_.RenameLanguage(*odd, "Irish 'Gaelic'"));
  EXPECT_EQ(store_.FindLanguage("Irish 'Gaelic'"), odd);
  EXPECT_FALSE(store_.FindLanguage("O'Brien 100%"));
  const std::string id = Text(english_, "before");
  EXPECT_TRUE(store_.UpdateText(id, "after 'x'"));
  EXPECT_EQ(store_.FindText("ST", english_, "after 'x'"), id);
}

TEST_F(DictionaryStoreTest, OnlyStoredTextsGoInOrComeOut) {
  const std::string id = Text(english_, "kept");
  const std::string notStored[] = {
      "dos\nlíneas", "a\tb",        "cr\r",    std::string("nul\0x", 5),
      "\xff\xfe",    "c1 \xc2\x85", "del \x7f"};
  for (const std::string& text : notStored) {
    EXPECT_FALSE(store_.AddText("ST", english_, text)) << text;
    EXPECT_EQ(connection_.LastResult(), kQueryNotStoredText) << text;
    EXPECT_FALSE(store_.AddText(text, english_, "x")) << "as a type: " << text;
    EXPECT_FALSE(store_.UpdateText(id, text)) << text;
    EXPECT_FALSE(store_.AddLanguage(text)) << text;
    EXPECT_FALSE(store_.RenameLanguage(english_, text)) << text;
  }
  EXPECT_EQ(store_.FindText("ST", english_, "kept"), id);
  EXPECT_EQ(store_.LanguageNames(), (std::vector<std::string>{"Deutsch", "English", "Español"}));

  // What another program wrote: such rows are never handed out.
  const std::string good = Text(spanish_, "bueno");
  const std::string source = Text(german_, "Quelle");
  ASSERT_TRUE(store_.Link(source, good));
  for (const std::string& text : notStored) {
    PreparedStatement* insert = connection_.Prepared(
        "insert into texts (text_type, text_lang_id, text_text) values ('ST', ?, ?)");
    insert->Bind(std::stoll(spanish_)).Bind(text);
    ASSERT_EQ(insert->Step(), SQLITE_DONE);
    ASSERT_TRUE(store_.Link(source, IdOfLastInsert()));
    PreparedStatement* language =
        connection_.Prepared("insert into languages (lang_name) values (?)");
    language->Bind(text);
    ASSERT_EQ(language->Step(), SQLITE_DONE);
  }
  std::vector<std::string> listed;
  store_.ForEachText(spanish_, "", [&](std::string_view, std::string_view, std::string_view text) {
    listed.emplace_back(text);
  });
  EXPECT_EQ(listed, std::vector<std::string>{"bueno"});
  std::vector<std::string> translations;
  store_.ForEachTranslation(source, spanish_,
                            [&](std::string_view, std::string_view, std::string_view text) {
                              translations.emplace_back(text);
                            });
  EXPECT_EQ(translations, std::vector<std::string>{"bueno"});
  EXPECT_EQ(store_.TranslationsInto(source, spanish_), std::vector<std::string>{"bueno"});
  EXPECT_EQ(store_.LanguageNames(), (std::vector<std::string>{"Deutsch", "English", "Español"}));
  EXPECT_EQ(store_.ListLanguages().size(), 3u);
}

TEST_F(DictionaryStoreTest, LinksAreStoredBothWaysOnce) {
  const std::string a = Text(spanish_, "Abrir");
  const std::string b = Text(english_, "Open");
  ASSERT_TRUE(store_.Link(a, b));
  ASSERT_TRUE(store_.Link(a, b));
  EXPECT_EQ(Links(), (std::vector<std::string>{a + "-" + b, b + "-" + a}));
  EXPECT_EQ(store_.CountTextLinks(a), 1);

  const std::string c = Text(spanish_, "Cerrar");
  const std::string d = Text(english_, "Close");
  ASSERT_EQ(connection_.Execute(FormatStatement(24, {c, d})), 0);  // one way only
  ASSERT_TRUE(store_.Link(c, d));
  EXPECT_EQ(Links().size(), 4u);
  EXPECT_EQ(store_.CountTextLinks(Text(german_, "Schließen")), 0);
}

TEST_F(DictionaryStoreTest, JoiningTwoGroupsLinksEveryPair) {
  const std::string x = Text(spanish_, "x");
  const std::string y = Text(english_, "y");
  const std::string z = Text(german_, "z");
  const std::string w = Text(english_, "w");
  ASSERT_TRUE(store_.Link(x, y) && store_.PropagateLink(x, y));
  ASSERT_TRUE(store_.Link(z, w) && store_.PropagateLink(z, w));
  ASSERT_TRUE(store_.Link(x, z));
  ASSERT_TRUE(store_.PropagateLink(x, z));
  std::vector<std::string> expected;
  for (const auto& p : {x, y, z, w}) {
    for (const auto& q : {x, y, z, w}) {
      if (p != q) expected.push_back(p + "-" + q);
    }
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Links(), expected);

  ASSERT_TRUE(store_.Unlink(x, z));
  EXPECT_EQ(Links().size(), 10u);
  EXPECT_EQ(store_.CountTextLinks(x), 2) << "x keeps y and w";
  std::vector<std::string> partners = store_.Partners(z);
  std::sort(partners.begin(), partners.end());
  EXPECT_EQ(partners, (std::vector<std::string>{y, w}));

  ASSERT_TRUE(store_.UnlinkAll(y));
  EXPECT_EQ(store_.CountTextLinks(y), 0);
  EXPECT_FALSE(store_.PropagateLink(x, z)) << "no longer linked";
}

TEST_F(DictionaryStoreTest, DeletingALanguageLeavesNoDanglingLink) {
  const std::string a = Text(spanish_, "Abrir");
  const std::string b = Text(english_, "Open");
  const std::string c = Text(german_, "Öffnen");
  store_.Link(a, b);
  store_.PropagateLink(a, b);
  store_.Link(a, c);
  store_.PropagateLink(a, c);
  ASSERT_EQ(Links().size(), 6u);
  ASSERT_TRUE(store_.DeleteLanguage(english_));
  EXPECT_EQ(Links(), (std::vector<std::string>{a + "-" + c, c + "-" + a}));
  EXPECT_FALSE(store_.FindText("ST", english_, "Open"));
  EXPECT_FALSE(store_.FindLanguage("English"));
  EXPECT_FALSE(connection_.InTransaction());
  const std::vector<DictionaryLanguage> languages = store_.ListLanguages();
  ASSERT_EQ(languages.size(), 2u);
  EXPECT_EQ(languages[0].name, "Deutsch");
  EXPECT_EQ(languages[0].id, german_);
  EXPECT_EQ(store_.LanguageNames(), (std::vector<std::string>{"Deutsch", "Español"}));
  EXPECT_EQ(store_.TranslationLanguages(a), std::vector<std::string>{"Deutsch"});
  EXPECT_EQ(store_.TranslationsInto(a, german_), std::vector<std::string>{"Öffnen"});
}

TEST_F(DictionaryStoreTest, ListingsComeInTheOrderOfTheirStatements) {
  // Types the administrator writes and types other programs may have
  // written: lower case, longer, none at all; some only in another language.
  const char* rows[][2] = {{"ST", "b"}, {"MN", "z"},  {"ST", "a"}, {"st", "c"}, {"DL", "é"},
                           {"VS", "A"}, {"XYZ", "x"}, {"MN", "Z"}, {"DL", "e"}};
  for (const auto& row : rows) ASSERT_TRUE(store_.AddText(row[0], spanish_, row[1]));
  ASSERT_TRUE(store_.AddText("AA", english_, "only English"));
  ASSERT_EQ(connection_.Execute("insert into texts (text_type, text_lang_id, text_text) values "
                                "(null, " +
                                spanish_ + ", 'sin tipo'), (null, " + spanish_ + ", 'antes')"),
            0);
  const auto listed = [&](const std::string& type) {
    std::vector<std::string> out;
    store_.ForEachText(
        spanish_, type, [&](std::string_view id, std::string_view t, std::string_view text) {
          out.push_back(std::string(id) + " " + std::string(t) + " " + std::string(text));
        });
    return out;
  };
  const auto queried = [&](const std::string& sql) {
    std::vector<std::string> out;
    for (auto query = connection_.Query(sql); query && !query->AtEnd(); query->Next()) {
      out.push_back(query->Column(0).value_or("") + " " + query->Column(1).value_or("") + " " +
                    query->Column(2).value_or(""));
    }
    return out;
  };
  const std::string all =
      "select text_id, text_type, text_text from texts where text_lang_id=" + spanish_ +
      " order by text_type, text_text";
  EXPECT_EQ(listed(""), queried(all));
  EXPECT_EQ(listed("").size(), 11u);
  EXPECT_EQ(listed("MN"), queried("select text_id, text_type, text_text from texts where "
                                  "text_lang_id=" +
                                  spanish_ +
                                  " and text_type='MN'order by "
                                  "text_type, text_text"));
  // A type stored as bytes: the single statement lists it.
  ASSERT_EQ(connection_.Execute("insert into texts (text_type, text_lang_id, text_text) values "
                                "(x'4d4e', " +
                                spanish_ + ", 'bytes')"),
            0);
  EXPECT_EQ(listed(""), queried(all));
  EXPECT_EQ(listed("").size(), 12u);
}

TEST_F(DictionaryStoreTest, QueryErrorCodes) {
  auto query = connection_.Query("select lang_name from languages where lang_id = -1");
  ASSERT_TRUE(query) << "a statement without rows gives a query at its end";
  EXPECT_TRUE(query->AtEnd());
  EXPECT_FALSE(query->Column(0));
  EXPECT_EQ(query->LastError(), kQueryNoRow);
  EXPECT_FALSE(query->Next());
  EXPECT_EQ(query->LastError(), kQueryAtEnd);
  auto rows = connection_.Query("select lang_name from languages");
  ASSERT_TRUE(rows);
  EXPECT_FALSE(rows->Column(3));
  EXPECT_EQ(rows->LastError(), kQueryBadColumn);
  EXPECT_EQ(rows->ColumnName(0), "lang_name");
  EXPECT_FALSE(connection_.Query("select nonsense from nowhere"));
  EXPECT_FALSE(connection_.Query(""));
  DictionaryQuery unconnected(nullptr);
  EXPECT_FALSE(unconnected.Compile("select 1"));
  EXPECT_EQ(unconnected.LastError(), kQueryNoDatabase);
  EXPECT_NE(connection_.Execute("insert into nowhere values (1)"), 0);
  EXPECT_NE(connection_.LastResult(), 0);
}

TEST(DictionaryFilesTest, FilesThatAreNoDictionary) {
  testing::TempDir dir("dicfiles");
  DictionaryConnection connection;
  DictionaryStore store(connection);
  const auto open = [&](const std::string& name) {
    return OpenDictionary(connection, store, dir / name);
  };

  testing::WriteFileBytes(
      dir / "old.dic", "** This file contains an SQLite 2.1 database **" + std::string(1000, '\0'));
  testing::WriteFileBytes(dir / "text.dic", "just a text file\n");
  testing::WriteFileBytes(dir / "garbage.dic", std::string(4096, '\x5a'));
  for (const char* name : {"old.dic", "text.dic", "garbage.dic"}) {
    const OpenDictionaryResult result = open(name);
    EXPECT_FALSE(result.ok) << name;
    EXPECT_EQ(result.message, "No se puede abrir el diccionario:\n\n[" + (dir / name) + "]");
  }

  testing::WriteFileBytes(dir / "empty.dic", "");
  OpenDictionaryResult empty = open("empty.dic");
  EXPECT_FALSE(empty.ok);
  EXPECT_EQ(empty.message, "El archivo seleccionado no es un diccionario válido.");
  EXPECT_EQ(std::filesystem::file_size(dir / "empty.dic"), 0u) << "not initialised";

  ASSERT_TRUE(connection.Open(dir / "other.db"));
  ASSERT_EQ(connection.Execute("create table something (x)"), 0);
  connection.Close();
  EXPECT_FALSE(open("other.db").ok);

  ASSERT_TRUE(connection.Open(dir / "bare.dic"));
  ASSERT_EQ(connection.Execute(StatementText(6)), 0);
  connection.Close();
  EXPECT_TRUE(open("bare.dic").ok) << "an ulk table without rows is enough";
}

// Runs statements on a file as any program could, past our connection's
// guards.
void RawSql(const std::string& path, const std::string& sql) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  char* error = nullptr;
  const int result = sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(result, SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(raw);
}

// A dictionary as this program makes it, in rollback-journal mode.
void MakeDictionary(const std::string& path) {
  DictionaryConnection connection;
  DictionaryStore store(connection);
  ASSERT_TRUE(OpenDictionary(connection, store, path).ok);
  const std::string es = *store.AddLanguage("Español");
  const std::string en = *store.AddLanguage("English");
  ASSERT_TRUE(store.Link(*store.AddText("ST", es, "Sí"), *store.AddText("ST", en, "Yes")));
  connection.Close();
  RawSql(path, "pragma journal_mode=delete");
}

TEST(DictionaryFilesTest, DictionariesMadeOtherwiseAreRefused) {
  testing::TempDir dir("dicschema");
  const std::string notADictionary = "El archivo seleccionado no es un diccionario válido.";
  const std::string columns = " no tiene las columnas y tipos de un diccionario.";
  const std::pair<std::string, std::string> cases[] = {
      // Reading the texts of this one never ends.
      {"drop table texts; create view texts (text_id, text_lang_id, text_type, text_text) as "
       "with recursive n(x) as (select 1 union all select x + 1 from n) "
       "select x, 1, 'ST', 'bucle' from n",
       "Contiene la vista «texts»; un diccionario no tiene vistas."},
      {"create trigger more after insert on texts begin insert into texts (text_text) values "
       "(new.text_text || 'x'); end",
       "Contiene el disparador «more»; un diccionario no tiene disparadores."},
      {"create view extra as select 1",
       "Contiene la vista «extra»; un diccionario no tiene vistas."},
      // Texts equal whatever their case: a lookup would take another text.
      {"drop table texts; create table texts (text_id integer primary key, text_lang_id integer, "
       "text_type varchar(2), text_text varchar(255) collate nocase)",
       "La tabla «texts»" + columns},
      {"drop table texts; create table TEXTS (text_id integer primary key, text_lang_id integer, "
       "text_type varchar(2), text_text varchar(255)) without rowid",
       "La tabla «texts»" + columns},
      {"alter table translations add column note text", "La tabla «translations»" + columns},
      {"drop table languages; create table languages (lang_id integer primary key desc, "
       "lang_name varchar(255) unique)",
       "La tabla «languages»" + columns},
      {"drop table ulk; create virtual table ulk using fts5 (ulk_version, ulk_copyright, "
       "ulk_description)",
       "La tabla «ulk»" + columns},
      {"drop table ulk", ""},
  };
  for (const auto& [sql, problem] : cases) {
    const std::string path = dir / "otro.dic";
    std::filesystem::remove(path);
    MakeDictionary(path);
    RawSql(path, sql);
    for (const DictionaryAccess access : {DictionaryAccess::kRead, DictionaryAccess::kCreate}) {
      DictionaryConnection connection;
      DictionaryStore store(connection);
      const OpenDictionaryResult result = OpenDictionary(connection, store, path, access);
      EXPECT_FALSE(result.ok) << sql;
      EXPECT_EQ(result.message,
                problem.empty() ? notADictionary : notADictionary + "\n\n" + problem)
          << sql;
      EXPECT_FALSE(connection.IsOpen());
    }
  }

  // Indexes of its own and tables of others do no harm.
  const std::string path = dir / "indexed.dic";
  MakeDictionary(path);
  RawSql(path,
         "create index mine on texts (lower(text_text)); create table notes (x); "
         "create index by_type on texts (text_type) where text_type = 'MN'");
  DictionaryConnection connection;
  DictionaryStore store(connection);
  const OpenDictionaryResult result = OpenDictionary(connection, store, path);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(store.LanguageNames(), (std::vector<std::string>{"English", "Español"}));
}

TEST(DictionaryFilesTest, ReadingNeitherChangesNorCreatesAFile) {
  testing::TempDir dir("dicread");
  const std::string path = dir / "leer.dic";
  MakeDictionary(path);
  const std::string before = testing::ReadFileBytes(path);
  {
    DictionaryConnection connection;
    DictionaryStore store(connection);
    ASSERT_TRUE(OpenDictionary(connection, store, path, DictionaryAccess::kRead).ok);
    EXPECT_TRUE(connection.IsReadOnly());
    const std::string es = *store.FindLanguage("Español");
    const DictionaryId yes = store.FindText("ST", es, "Sí");
    ASSERT_TRUE(yes);
    EXPECT_EQ(store.Partners(*yes).size(), 1u);
    EXPECT_FALSE(store.AddLanguage("Deutsch")) << "a read-only open refuses writes";
  }
  EXPECT_EQ(testing::ReadFileBytes(path), before) << "the journal mode is the file's header";
  EXPECT_FALSE(std::filesystem::exists(path + "-wal"));

  // A name mistyped by a command that only reads or writes makes no file.
  for (const DictionaryAccess access : {DictionaryAccess::kRead, DictionaryAccess::kWrite}) {
    DictionaryConnection connection;
    DictionaryStore store(connection);
    const OpenDictionaryResult result =
        OpenDictionary(connection, store, dir / "mal-escrito.dic", access);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
              "No se puede abrir el diccionario:\n\n[" + (dir / "mal-escrito.dic") + "]");
    EXPECT_FALSE(std::filesystem::exists(dir / "mal-escrito.dic"));
  }

  // Opened to be written, it takes the write-ahead log.
  DictionaryConnection connection;
  DictionaryStore store(connection);
  ASSERT_TRUE(OpenDictionary(connection, store, path, DictionaryAccess::kWrite).ok);
  auto mode = connection.Query("pragma journal_mode");
  EXPECT_EQ(mode->Column(0).value_or(""), "wal");
}

TEST(DictionaryFilesTest, AStatementEndsAtItsBudgetOrWhenCancelled) {
  testing::TempDir dir("dicbudget");
  const std::string path = dir / "b.dic";
  MakeDictionary(path);
  DictionaryConnection connection;
  DictionaryStore store(connection);
  ASSERT_TRUE(OpenDictionary(connection, store, path, DictionaryAccess::kRead).ok);
  const std::string longQuery =
      "with recursive n(x) as (select 1 union all select x + 1 from n where x < 3000000) "
      "select count(*) from n";
  ASSERT_TRUE(connection.Query(longQuery)) << "within the default budget";

  int asked = 0;
  const struct {
    std::uint64_t budget;
    std::function<bool()> cancel;
    const char* message;
  } cases[] = {
      {100000, {}, "la consulta se ha detenido: el diccionario le exigía demasiado trabajo"},
      {kDefaultStatementBudget, [&] { return ++asked == 3; }, "la consulta se ha cancelado"},
  };
  for (const auto& c : cases) {
    connection.SetStatementBudget(c.budget);
    connection.SetCancelCheck(c.cancel);
    EXPECT_FALSE(connection.Query(longQuery)) << c.message;
    EXPECT_EQ(connection.ErrorMessage(), c.message);
    // The next statement has a budget of its own.
    connection.SetCancelCheck({});
    EXPECT_TRUE(store.FindLanguage("Español")) << c.message;
  }
  EXPECT_EQ(asked, 3);
}

TEST(DictionaryFilesTest, ReadOnlyDictionariesOpen) {
  testing::TempDir dir("dicro");
  DictionaryConnection connection;
  DictionaryStore store(connection);
  ASSERT_TRUE(OpenDictionary(connection, store, dir / "ro.dic").ok);
  store.AddLanguage("Español");
  connection.Close();
  ::chmod((dir / "ro.dic").c_str(), 0444);
  ASSERT_TRUE(OpenDictionary(connection, store, dir / "ro.dic").ok);
  EXPECT_EQ(store.LanguageNames(), std::vector<std::string>{"Español"});
}

TEST(DictionaryFilesTest, TwoProcessesOnOneFile) {
  testing::TempDir dir("dicshare");
  const std::string path = dir / "shared.dic";
  {
    DictionaryConnection connection;
    DictionaryStore store(connection);
    ASSERT_TRUE(OpenDictionary(connection, store, path).ok);
    store.AddLanguage("Español");
  }
  const auto fill = [&](const std::string& prefix) {
    DictionaryConnection connection;
    DictionaryStore store(connection);
    if (!OpenDictionary(connection, store, path).ok) return false;
    const std::string language = *store.FindLanguage("Español");
    for (int i = 0; i < 200; ++i) {
      if (!connection.Begin()) return false;
      if (!store.AddText("ST", language, prefix + std::to_string(i))) return false;
      if (!connection.Commit()) return false;
    }
    return true;
  };
  const pid_t child = ::fork();
  if (child == 0) ::_exit(fill("child ") ? 0 : 1);
  const bool parent = fill("parent ");
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(parent);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  DictionaryConnection connection;
  ASSERT_TRUE(connection.Open(path));
  auto count = connection.Query("select count(*) from texts");
  EXPECT_EQ(*count->Column(0), "400");
}

TEST(StatementTableTest, TextsAndQuoteDoubling) {
  EXPECT_EQ(DoubleQuotes("it's 'x'"), "it''s ''x''");
  EXPECT_EQ(DoubleQuotes("none"), "none");
  EXPECT_EQ(FormatStatement(16, {"MN", "3", "O'Neil"}),
            "select text_id from texts where text_type = 'MN'   and text_lang_id = 3   and "
            "text_text = 'O''Neil'");
  EXPECT_EQ(std::string(StatementText(13)),
            "update languages   set lang_name='%s' where lang_id=%s");
  EXPECT_EQ(std::string(StatementText(40)), "delete from languages where lang_id = %s");
  EXPECT_EQ(std::string(StatementText(41)), "");
  EXPECT_EQ(FormatStatement(11, {std::string(3000, 'q')}).size(), 3000 + 50u) << "no length limit";
}

}  // namespace
}  // namespace ulk
