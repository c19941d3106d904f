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

}  // namespace
}  // namespace ulk
