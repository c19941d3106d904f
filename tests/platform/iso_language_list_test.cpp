#include "platform/iso_language_list.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/locales.h"

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
    ASSERT_EQ(code.size(), 8u) << name;
    ASSERT_EQ(code.find_first_not_of("0123456789ABCDEF"), std::string::npos) << name;
    const auto lcid = static_cast<std::uint32_t>(std::stoul(code, nullptr, 16));
    EXPECT_EQ(LanguageNameOf(lcid), name) << "the name a module's language gets";
    ++count;
  }
  EXPECT_EQ(count, list.Names().size());
  EXPECT_GT(count, 100u);
}

}  // namespace
}  // namespace ulk
