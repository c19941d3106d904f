// The real component, loaded through the translator's binding and driven
// through its thirteen functions; and components the binding refuses.
#include "termvault/termvault.h"

#include <dlfcn.h>
#include <sys/stat.h>

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

  testing::WriteFileBytes(dir_ / "text.dic", "not a dictionary at all");
  EXPECT_FALSE(component_.Open(dir_ / "text.dic"));
  EXPECT_FALSE(component_.IsOpened());
  EXPECT_EQ(component_.path(), "");
}

}  // namespace
}  // namespace ulk
