// The real component, loaded through the translator's binding and driven
// through its thirteen functions; and components the binding refuses.
#include "termvault/termvault.h"

#include <dlfcn.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "translator/dictionary/dictionary_component.h"

namespace ulk {
namespace {

TEST(ComponentBindingTest, RefusedComponentsCountAsAbsent) {
  DictionaryComponent component;
  EXPECT_FALSE(component.Load({"/no/such/libtermvault.so"}));
  EXPECT_FALSE(component.IsLoaded());
  for (const char* fake : {FAKE_MISSING_FUNCTION, FAKE_WRONG_VERSION, FAKE_NO_VERSION}) {
    EXPECT_FALSE(component.Load({fake})) << fake;
    EXPECT_FALSE(component.IsLoaded());
    EXPECT_FALSE(component.Open("/tmp/x.dic"));
  }
  ASSERT_TRUE(component.Load({"/no/such/libtermvault.so", TERMVAULT_PATH}))
      << "the next candidate is tried";
  EXPECT_TRUE(component.IsLoaded());
  EXPECT_TRUE(component.readOnly()) << "no dictionary open yet";

  EXPECT_TRUE(IsAcceptedComponentVersion("0, 0, 0, 1"));
  EXPECT_TRUE(IsAcceptedComponentVersion("0, 0, 0, 12"));
  EXPECT_FALSE(IsAcceptedComponentVersion("0, 0, 3, 1"));
  EXPECT_FALSE(IsAcceptedComponentVersion("1, 0, 0, 0"));
  EXPECT_FALSE(IsAcceptedComponentVersion("0.0.0.1"));
  EXPECT_FALSE(IsAcceptedComponentVersion(""));
}

class TermvaultTest : public ::testing::Test {
 protected:
  TermvaultTest() : dir_("termvault") {}
  void SetUp() override {
    ASSERT_TRUE(component_.Load({TERMVAULT_PATH}));
    library_ = dlopen(TERMVAULT_PATH, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library_, nullptr);
  }
  void TearDown() override {
    if (library_) dlclose(library_);
  }
  template <typename Fn>
  Fn Function(const char* name) {
    return reinterpret_cast<Fn>(dlsym(library_, name));
  }
  std::vector<std::string> Drain(const char* first, const char* next) {
    std::vector<std::string> out;
    auto firstFn = Function<const char* (*)()>(first);
    auto nextFn = Function<const char* (*)()>(next);
    for (std::string text = firstFn(); !text.empty(); text = nextFn()) out.push_back(text);
    return out;
  }
  std::vector<std::string> Translations(const std::string& language) {
    std::vector<std::string> out;
    for (std::string text = component_.GetFirst(language); !text.empty();
         text = component_.GetNext()) {
      out.push_back(text);
    }
    return out;
  }

  testing::TempDir dir_;
  DictionaryComponent component_;
  void* library_ = nullptr;
};

TEST_F(TermvaultTest, StoresAndFindsTranslations) {
  const std::string path = dir_ / "sub/../new.dic";
  std::filesystem::create_directories(dir_ / "sub");
  ASSERT_TRUE(component_.Open(path));
  EXPECT_TRUE(component_.IsOpened());
  EXPECT_EQ(component_.path(), path);
  EXPECT_EQ(component_.title(), "new.dic");
  EXPECT_FALSE(component_.readOnly());

  EXPECT_TRUE(component_.Set("MN", "Español", "&Abrir", "English", "&Open"));
  EXPECT_TRUE(component_.Set("MN", "Español", "&Abrir", "English", "Op&en"));
  EXPECT_TRUE(component_.Set("MN", "Español", "&Abrir", "Deutsch", "Ö&ffnen"));
  EXPECT_TRUE(component_.Set("ST", "Español", "it's 100%", "English", "l'\"x\"\\n"));
  EXPECT_FALSE(component_.Set("MN", "Español", "", "English", "x")) << "no empty texts";

  ASSERT_TRUE(component_.Find("MN", "Español", "&Abrir"));
  EXPECT_EQ(Translations("English"), (std::vector<std::string>{"&Open", "Op&en"}));
  EXPECT_EQ(Translations("Deutsch"), std::vector<std::string>{"Ö&ffnen"});
  EXPECT_TRUE(Translations("Français").empty());
  std::vector<std::string> languages = Drain("DicGetFirstLanguage", "DicGetNextLanguage");
  std::sort(languages.begin(), languages.end());  // in the query's own order
  EXPECT_EQ(languages, (std::vector<std::string>{"Deutsch", "English"}));
  EXPECT_EQ(Drain("DicGetFirstDBLanguage", "DicGetNextDBLanguage"),
            (std::vector<std::string>{"Deutsch", "English", "Español"}));

  // The group is joined: the German text is a translation of the English.
  ASSERT_TRUE(component_.Find("MN", "English", "&Open"));
  EXPECT_EQ(Translations("Deutsch"), std::vector<std::string>{"Ö&ffnen"});
  EXPECT_FALSE(component_.Find("ST", "Español", "&Abrir")) << "another type";
  EXPECT_TRUE(Translations("English").empty()) << "nothing found, nothing listed";
  ASSERT_TRUE(component_.Find("ST", "Español", "it's 100%"));
  EXPECT_EQ(Translations("English"), std::vector<std::string>{"l'\"x\"\\n"});

  auto languageId = Function<int (*)(const char*)>("DicGetLanguageId");
  EXPECT_GT(languageId("English"), 0);
  EXPECT_EQ(languageId("Klingon"), 0);

  auto setEx =
      Function<int (*)(const char*, const char*, const char*, const char*, const char*, int)>(
          "DicSetEx");
  ASSERT_EQ(setEx("MN", "Español", "&Abrir", "English", "&Open it", 1), 1);
  ASSERT_TRUE(component_.Find("MN", "Español", "&Abrir"));
  EXPECT_EQ(Translations("English"), std::vector<std::string>{"&Open it"}) << "replaced";
  EXPECT_EQ(Translations("Deutsch"), std::vector<std::string>{"Ö&ffnen"});

  component_.Close();
  EXPECT_FALSE(component_.IsOpened());
  EXPECT_TRUE(component_.readOnly());
  EXPECT_EQ(component_.title(), "");
  EXPECT_FALSE(component_.Find("MN", "Español", "&Abrir"));
}

TEST_F(TermvaultTest, ReadOnlyAndRefusedFiles) {
  const std::string path = dir_ / "ro.dic";
  ASSERT_TRUE(component_.Open(path));
  component_.Set("ST", "Español", "Sí", "English", "Yes");
  component_.Close();
  ::chmod(path.c_str(), 0444);
  ASSERT_TRUE(component_.Open(path));
  EXPECT_TRUE(component_.readOnly());
  ASSERT_TRUE(component_.Find("ST", "Español", "Sí"));
  EXPECT_EQ(component_.GetFirst("English"), "Yes");

  ::chmod(path.c_str(), 0644);
  ASSERT_TRUE(component_.Open(path));
  ASSERT_FALSE(component_.readOnly());
  testing::WriteFileBytes(dir_ / "text.dic", "not a dictionary at all");
  EXPECT_FALSE(component_.Open(dir_ / "text.dic"));
  EXPECT_FALSE(component_.IsOpened());
  EXPECT_EQ(component_.path(), "");
  EXPECT_TRUE(component_.readOnly()) << "no dictionary is open";
}

// Runs statements on a file as any program could.
void RawSql(const std::string& path, const std::string& sql) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
      << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(raw);
}

TEST_F(TermvaultTest, LookingUpNeverChangesTheFile) {
  const std::string path = dir_ / "lookup.dic";
  ASSERT_TRUE(component_.Open(path)) << "a missing file is made a dictionary";
  ASSERT_TRUE(component_.Set("ST", "Español", "Sí", "English", "Yes"));
  component_.Close();
  RawSql(path, "pragma journal_mode=delete");
  const std::string before = testing::ReadFileBytes(path);

  ASSERT_TRUE(component_.Open(path));
  ASSERT_TRUE(component_.Find("ST", "Español", "Sí"));
  EXPECT_EQ(Translations("English"), std::vector<std::string>{"Yes"});
  EXPECT_EQ(Drain("DicGetFirstLanguage", "DicGetNextLanguage"),
            std::vector<std::string>{"English"});
  EXPECT_EQ(Drain("DicGetFirstDBLanguage", "DicGetNextDBLanguage"),
            (std::vector<std::string>{"English", "Español"}));
  EXPECT_GT(Function<int (*)(const char*)>("DicGetLanguageId")("English"), 0);
  component_.Close();
  EXPECT_EQ(testing::ReadFileBytes(path), before);
  EXPECT_FALSE(std::filesystem::exists(path + "-wal"));

  // The first store opens it for writing; what was found stays found.
  ASSERT_TRUE(component_.Open(path));
  ASSERT_TRUE(component_.Find("ST", "Español", "Sí"));
  ASSERT_TRUE(component_.Set("ST", "Español", "No", "English", "No"));
  EXPECT_EQ(Translations("English"), std::vector<std::string>{"Yes"});
  ASSERT_TRUE(component_.Find("ST", "Español", "No"));
  EXPECT_EQ(Translations("English"), std::vector<std::string>{"No"});
  component_.Close();
  EXPECT_NE(testing::ReadFileBytes(path), before);
}

TEST_F(TermvaultTest, WhatIsStoredPassesTheGate) {
  const std::string path = dir_ / "gate.dic";
  ASSERT_TRUE(component_.Open(path));
  const struct {
    std::string text;
    const char* stored;  // nullptr when refused
  } cases[] = {
      {"dos\nlíneas\tya", "dos\\nlíneas\\tya"},
      {"ya\\nguardado", "ya\\nguardado"},
      {"\xff\xfe", nullptr},
      {"c1 \xc2\x85", nullptr},
      {"del \x7f", nullptr},
      {std::string("nul\0cut", 7), nullptr},
  };
  for (const auto& c : cases) {
    for (const bool asSource : {true, false}) {
      const std::string& source = asSource ? c.text : "fuente";
      const std::string& target = asSource ? "destino" : c.text;
      EXPECT_EQ(component_.Set("ST", "Español", source, "English", target), c.stored != nullptr)
          << c.text;
      if (!c.stored) continue;
      ASSERT_TRUE(component_.Find("ST", asSource ? "Español" : "English", c.stored)) << c.text;
      ASSERT_TRUE(component_.Find("ST", asSource ? "Español" : "English", c.text))
          << "looked up in either form: " << c.text;
    }
  }
  EXPECT_FALSE(component_.Find("ST", "Español", "nul")) << "never stored cut short";
  EXPECT_FALSE(component_.Set("ST", "Espa\xf1ol", "x", "English", "y")) << "a language too";
}

TEST_F(TermvaultTest, FilesFromOthersNeitherHangNorCrashIt) {
  // A view that never ends in place of the texts.
  const std::string view = dir_ / "view.dic";
  ASSERT_TRUE(component_.Open(view));
  ASSERT_TRUE(component_.Set("ST", "Español", "Sí", "English", "Yes"));
  component_.Close();
  RawSql(view,
         "drop table texts; create view texts (text_id, text_lang_id, text_type, text_text) as "
         "with recursive n(x) as (select 1 union all select x + 1 from n) "
         "select x, 1, 'ST', 'bucle' from n");
  EXPECT_FALSE(component_.Open(view));
  EXPECT_FALSE(component_.IsOpened());

  // A link to an id that is no number.
  const std::string odd = dir_ / "odd.dic";
  ASSERT_TRUE(component_.Open(odd));
  ASSERT_TRUE(component_.Set("ST", "Español", "Sí", "English", "Yes"));
  component_.Close();
  RawSql(odd,
         "insert into translations (tran_text_id_1, tran_text_id_2) values (1, 'x'), (1, '2x')");
  ASSERT_TRUE(component_.Open(odd));
  auto setEx =
      Function<int (*)(const char*, const char*, const char*, const char*, const char*, int)>(
          "DicSetEx");
  EXPECT_EQ(setEx("ST", "Español", "Sí", "English", "Aye", 1), 1);
  ASSERT_TRUE(component_.Find("ST", "Español", "Sí"));
  EXPECT_EQ(Translations("English"), std::vector<std::string>{"Aye"});
}

}  // namespace
}  // namespace ulk
