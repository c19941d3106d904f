#include "translator/resources/iso_language_list.h"

#include <unicode/uvernum.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/locales.h"
#include "tests/test_support.h"
#include "translator/resources/version_codec.h"

namespace ulk {
namespace {

TEST(IsoLanguageListTest, NamesMapToLocaleCodesOfTheSameLanguage) {
  IsoLanguageList list;
  EXPECT_EQ(list.LocaleCodeOf("Español (España)"), "00000C0A");
  EXPECT_EQ(list.LocaleCodeOf("Inglés (Estados Unidos)"), "00000409");
  EXPECT_EQ(list.LocaleCodeOf("Klingon"), "");
  EXPECT_EQ(list.LocaleCodeOf(""), "");
  std::size_t count = 0;
  for (std::string name = list.FirstName(); !name.empty(); name = list.NextName()) {
    const std::string code = list.LocaleCodeOf(name);
    ASSERT_TRUE(IsLocaleCode(code)) << name;
    std::uint32_t lcid = 0;
    ASSERT_TRUE(ReadHex(code, lcid));
    EXPECT_EQ(LanguageNameOf(lcid), name) << "the name a module's language gets";
    ++count;
  }
  EXPECT_EQ(count, list.Names().size());
  EXPECT_GT(count, 100u);
}

// Codes kept in a file come back as the system gives them, without asking
// it; a file that cannot be read, or that lacks a name asked for, is made
// again from the system.
TEST(CachedLanguageCodesTest, KeptCodesAreTheSystemsOwn) {
  testing::TempDir dir("language-codes");
  const std::string path = dir / "cache/ulk/idiomas.txt";
  const IsoLanguageList list;
  {
    CachedLanguageCodes codes(path);
    EXPECT_EQ(codes.LocaleCodeOf("Francés (Francia)"), "0000040C");
    EXPECT_TRUE(codes.AskedTheSystem());
  }
  const std::string good = testing::ReadFileBytes(path);
  ASSERT_FALSE(good.empty()) << "the file is made, its folders too";
  {
    CachedLanguageCodes codes(path);
    codes.Prepare();
    for (const auto& [name, code] : list.Names()) EXPECT_EQ(codes.LocaleCodeOf(name), code) << name;
    EXPECT_FALSE(codes.AskedTheSystem());
    EXPECT_EQ(codes.LocaleCodeOf("Klingon"), "");
    EXPECT_TRUE(codes.AskedTheSystem()) << "an unknown name is asked for";
    EXPECT_EQ(testing::ReadFileBytes(path), good) << "a current file is left as it is";
  }
  const std::size_t french = good.find("0000040C\tFrancés (Francia)\n");
  ASSERT_NE(french, std::string::npos);
  const std::string withoutFrench =
      good.substr(0, french) + good.substr(good.find('\n', french) + 1);
  const std::string firstLine = good.substr(0, good.find('\n') + 1);
  const std::string damaged[] = {
      "",
      "ulk idiomas 0.0\n0000040C\tFrancés (Francia)\n",  // another library's
      good.substr(0, good.size() - 1),                   // cut short
      firstLine + "0000040c\tFrancés (Francia)\n",
      firstLine + "0000040C Francés (Francia)\n",
      firstLine + "0000040C\t\n",
      firstLine + "0000040C\tFranc\xE9s (Francia)\n",
      firstLine,
      withoutFrench,
  };
  for (const std::string& bytes : damaged) {
    testing::WriteFileBytes(path, bytes);
    CachedLanguageCodes codes(path);
    EXPECT_EQ(codes.LocaleCodeOf("Francés (Francia)"), "0000040C") << bytes.substr(0, 60);
    EXPECT_TRUE(codes.AskedTheSystem());
    EXPECT_EQ(testing::ReadFileBytes(path), good) << "made again";
  }
  // Where no file can be written, the codes are still the system's.
  CachedLanguageCodes nowhere("/dev/null/idiomas.txt");
  EXPECT_EQ(nowhere.LocaleCodeOf("Alemán (Alemania)"), "00000407");
  CachedLanguageCodes none("");
  EXPECT_EQ(none.LocaleCodeOf("Alemán (Alemania)"), "00000407");
}

TEST(CachedLanguageCodesTest, TheFileLiesInTheUsersCacheFolder) {
  const auto with = [](const char* cache, const char* home) {
    const auto set = [](const char* name, const char* value) {
      if (value) {
        ::setenv(name, value, 1);
      } else {
        ::unsetenv(name);
      }
    };
    const char* oldCache = std::getenv("XDG_CACHE_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedCache = oldCache ? oldCache : "";
    const std::string savedHome = oldHome ? oldHome : "";
    set("XDG_CACHE_HOME", cache);
    set("HOME", home);
    const std::string path = CachedLanguageCodes::DefaultPath();
    set("XDG_CACHE_HOME", oldCache ? savedCache.c_str() : nullptr);
    set("HOME", oldHome ? savedHome.c_str() : nullptr);
    return path;
  };
  const std::string file = "ulk/idiomas-" U_ICU_VERSION ".txt";
  EXPECT_EQ(with("/c", "/h"), "/c/" + file);
  EXPECT_EQ(with("relativa", "/h"), "/h/.cache/" + file);
  EXPECT_EQ(with(nullptr, "/h"), "/h/.cache/" + file);
  EXPECT_EQ(with(nullptr, nullptr), "");
}

}  // namespace
}  // namespace ulk
