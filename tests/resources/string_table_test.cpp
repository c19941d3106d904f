#include "translator/resources/string_table.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace ulk {
namespace {

using testing::Bytes;

std::string Block(const std::array<std::u16string, 16>& strings) {
  Bytes b;
  for (const auto& s : strings) {
    b.u16(static_cast<std::uint16_t>(s.size()));
    for (char16_t c : s) b.u16(static_cast<std::uint16_t>(c));
  }
  return b.str();
}

TEST(StringTableTest, DecodesOnlyStoredStrings) {
  std::array<std::u16string, 16> strings{};
  strings[3] = u"three";
  strings[15] = u"\u0141\u00f3d\u017a";  // kept whole, not cut to 8 bits
  std::vector<StringTableText> texts;
  ASSERT_TRUE(DecodeStringBlock(7, Block(strings), texts));
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].id, 99u);
  EXPECT_EQ(texts[0].text, "three");
  EXPECT_EQ(texts[1].id, 111u);
  EXPECT_EQ(texts[1].text, "Łódź");

  strings[3] = std::u16string(u"\0tail", 5);  // stored, but empty as text
  texts.clear();
  ASSERT_TRUE(DecodeStringBlock(1, Block(strings), texts));
  EXPECT_EQ(texts[0].id, 3u);
  EXPECT_EQ(texts[0].text, "");
}

TEST(StringTableTest, EncodingReplacesOnlyTranslatedPositions) {
  std::array<std::u16string, 16> strings{};
  strings[0] = u"zero";
  strings[2] = u"two";
  strings[5] = std::u16string(u"raw\0units", 9);
  const std::string original = Block(strings);
  std::array<const std::string*, 16> none{};
  EXPECT_EQ(*EncodeStringBlock(original, none), original);

  const std::string dos = "dos\r\nlíneas";
  const std::string empty;
  std::array<const std::string*, 16> translations{};
  translations[2] = &dos;
  translations[0] = &empty;  // an empty translation keeps the module's text
  strings[2] = u"dos\r\nlíneas";
  EXPECT_EQ(*EncodeStringBlock(original, translations), Block(strings))
      << "the other strings keep their own code units";

  EXPECT_FALSE(EncodeStringBlock(original.substr(0, original.size() - 1), none).has_value());
  const std::string huge(70000, 'x');
  translations[2] = &huge;
  EXPECT_FALSE(EncodeStringBlock(original, translations).has_value());
}

TEST(StringTableTest, ShortBlocksAreRefused) {
  std::vector<StringTableText> texts;
  EXPECT_FALSE(DecodeStringBlock(1, std::string(30, '\0'), texts));
  EXPECT_FALSE(DecodeStringBlock(1, Bytes().u16(5).u16('a').str(), texts));
  EXPECT_TRUE(texts.empty());
  EXPECT_TRUE(DecodeStringBlock(1, std::string(32, '\0'), texts));
  EXPECT_TRUE(texts.empty());
}

}  // namespace
}  // namespace ulk
