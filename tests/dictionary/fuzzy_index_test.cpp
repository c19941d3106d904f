#include "glossmith/db/fuzzy_index.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "glossmith/db/dictionary_store.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

class FuzzyIndexTest : public ::testing::Test {
 protected:
  FuzzyIndexTest() : dir_("fuzzy"), store_(connection_) {}
  void SetUp() override {
    path_ = dir_ / "test.dic";
    ASSERT_TRUE(OpenDictionary(connection_, store_, path_).ok);
    english_ = *store_.AddLanguage("English");
    spanish_ = *store_.AddLanguage("Español");
  }
  std::string Pair(const std::string& source, const std::string& target,
                   const std::string& type = "ST") {
    const std::string a = *store_.AddText(type, english_, source);
    const std::string b = *store_.AddText(type, spanish_, target);
    EXPECT_TRUE(store_.Link(a, b));
    return a;
  }
  std::vector<FuzzyMatch> Find(FuzzyIndex& index, const std::string& text, int minimum = 75) {
    return index.Find("ST", std::stoll(english_), text, std::stoll(spanish_), minimum, 5);
  }
  std::int64_t StateTexts() {
    auto query = connection_.Query("select state_texts from ulk_fuzzy_state");
    return query && !query->AtEnd() ? std::stoll(*query->Column(0)) : -1;
  }

  testing::TempDir dir_;
  std::string path_;
  DictionaryConnection connection_;
  DictionaryStore store_;
  std::string english_, spanish_;
};

TEST_F(FuzzyIndexTest, FindsSimilarTextsBestFirstWithScoresAndTypes) {
  Pair("Open file", "Abrir archivo");
  Pair("Open files", "Abrir archivos");
  Pair("&Open File...", "&Abrir archivo...", "MN");
  Pair("Close window", "Cerrar ventana");
  Pair("Print the document", "Imprimir el documento");
  ASSERT_TRUE(store_.fuzzy().Prepare());
  EXPECT_TRUE(store_.fuzzy().InFile());

  const std::vector<FuzzyMatch> matches = Find(store_.fuzzy(), "Open file");
  ASSERT_EQ(matches.size(), 3u);
  EXPECT_EQ(matches[0].score, 100);
  EXPECT_EQ(matches[0].translation, "Abrir archivo");
  EXPECT_EQ(matches[1].score, 96);  // marker, case and final punctuation
  EXPECT_EQ(matches[1].type, "MN");
  EXPECT_EQ(matches[1].source, "&Open File...");
  EXPECT_EQ(matches[2].score, 90);
  EXPECT_EQ(matches[2].translation, "Abrir archivos");
  // Below the minimum, other languages and unrelated texts are not proposed.
  EXPECT_EQ(Find(store_.fuzzy(), "Open file", 95).size(), 2u);
  EXPECT_TRUE(Find(store_.fuzzy(), "Something else entirely").empty());
  // The other direction is searched in the other language's texts.
  const std::vector<FuzzyMatch> back =
      store_.fuzzy().Find("ST", std::stoll(spanish_), "Abrir archivo", std::stoll(english_), 75, 5);
  ASSERT_FALSE(back.empty());
  EXPECT_EQ(back[0].translation, "Open file");
}

TEST_F(FuzzyIndexTest, StoreChangesKeepTheIndexInStep) {
  const std::string open = Pair("Open file", "Abrir archivo");
  ASSERT_TRUE(store_.fuzzy().Prepare());
  EXPECT_EQ(StateTexts(), 2);
  // Added after the build, outside any transaction of the caller's.
  Pair("Save file", "Guardar archivo");
  EXPECT_EQ(StateTexts(), 4);
  ASSERT_EQ(Find(store_.fuzzy(), "Save file").size(), 1u);
  // Changed: found by its new text, no longer by the old.
  ASSERT_TRUE(store_.UpdateText(open, "Open folder"));
  EXPECT_EQ(Find(store_.fuzzy(), "Open folder").at(0).score, 100);
  EXPECT_TRUE(Find(store_.fuzzy(), "Open file", 95).empty());
  // Deleted.
  ASSERT_TRUE(store_.DeleteText(open));
  EXPECT_TRUE(Find(store_.fuzzy(), "Open folder").empty());
  EXPECT_EQ(StateTexts(), 3);
  // A whole language.
  ASSERT_TRUE(store_.DeleteLanguage(spanish_));
  EXPECT_EQ(StateTexts(), 1);
  // The index stays current: a new connection takes it as it is.
  FuzzyIndex again(connection_);
  EXPECT_TRUE(again.Prepare([](std::int64_t, std::int64_t) -> bool {
    ADD_FAILURE() << "a current index is not built again";
    return true;
  }));
}

TEST_F(FuzzyIndexTest, AWriterThatDoesNotKnowTheIndexMakesItBuildAgain) {
  Pair("Open file", "Abrir archivo");
  ASSERT_TRUE(store_.fuzzy().Prepare());
  // As a program without the index stores a text: straight into the table.
  ASSERT_EQ(connection_.Execute(
                "insert into texts (text_type, text_lang_id, text_text) values ('ST', " + english_ +
                ", 'Open files')"),
            SQLITE_OK);
  const std::string added = std::to_string(connection_.LastInsertId());
  const std::string spanish = *store_.AddText("ST", spanish_, "Abrir archivos");
  ASSERT_TRUE(store_.Link(added, spanish));
  FuzzyIndex again(connection_);
  std::int64_t seen = 0;
  ASSERT_TRUE(again.Prepare([&](std::int64_t done, std::int64_t total) {
    seen = done;
    EXPECT_EQ(total, 4);
    return true;
  }));
  EXPECT_EQ(seen, 4);
  EXPECT_EQ(Find(again, "Open files").at(0).score, 100);
}

TEST_F(FuzzyIndexTest, AStoppedBuildChangesNothing) {
  for (int i = 0; i < 3000; ++i) Pair("Text number " + std::to_string(i), "Texto " + std::to_string(i));
  EXPECT_FALSE(store_.fuzzy().Prepare([](std::int64_t, std::int64_t) { return false; }));
  EXPECT_FALSE(store_.fuzzy().InFile());
  EXPECT_FALSE(store_.fuzzy().IsReady());
  EXPECT_TRUE(Find(store_.fuzzy(), "Text number 12").empty());
}

TEST_F(FuzzyIndexTest, AReadOnlyDictionaryGetsATemporaryIndex) {
  Pair("Open file", "Abrir archivo");
  connection_.Close();
  ::chmod(path_.c_str(), 0444);
  DictionaryConnection reader;
  DictionaryStore store(reader);
  ASSERT_TRUE(OpenDictionary(reader, store, path_, DictionaryAccess::kRead).ok);
  ASSERT_TRUE(store.fuzzy().Prepare());
  EXPECT_FALSE(store.fuzzy().InFile());
  EXPECT_EQ(Find(store.fuzzy(), "Open files").at(0).score, 90);
  ::chmod(path_.c_str(), 0644);
}

TEST_F(FuzzyIndexTest, TheSchemaCheckKnowsTheIndexTables) {
  Pair("Open file", "Abrir archivo");
  ASSERT_TRUE(store_.fuzzy().Prepare());
  EXPECT_TRUE(store_.IsValidDictionary());
  connection_.Close();

  // A dictionary whose index table is something else is refused.
  const std::string other = dir_ / "other.dic";
  DictionaryConnection connection;
  DictionaryStore store(connection);
  ASSERT_TRUE(OpenDictionary(connection, store, other).ok);
  ASSERT_EQ(connection.Execute("create table ulk_fuzzy (x text)"), SQLITE_OK);
  connection.Close();
  std::string problem;
  DictionaryConnection again;
  DictionaryStore againStore(again);
  const OpenDictionaryResult refused = OpenDictionary(again, againStore, other);
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.message.find("ulk_fuzzy"), std::string::npos) << refused.message;
}

TEST(FuzzyIndexBands, EveryLengthHasOneBandAndBandsGrow) {
  int previous = -1;
  for (std::size_t length = 0; length < 5000; ++length) {
    const int band = LengthBand(length);
    EXPECT_TRUE(band == previous || band == previous + 1) << length;
    previous = band;
  }
  EXPECT_EQ(LengthBand(16), 16);
  EXPECT_LT(LengthBand(1000), 60);
}

}  // namespace
}  // namespace ulk
