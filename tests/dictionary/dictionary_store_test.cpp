#include "glossmith/db/dictionary_store.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

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
  const std::string samples[] = {"it's \"quoted\"", "100% '' \\n back\\slash", "dos\nlíneas\r\n",
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
  auto languages = store_.ListLanguages();
  ASSERT_TRUE(languages);
  EXPECT_EQ(*languages->Column(1), "Deutsch");
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
