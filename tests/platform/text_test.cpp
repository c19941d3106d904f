#include "platform/text.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

TEST(TextTest, Utf16RoundTripsEveryPlane) {
  const std::u16string samples[] = {
      u"",
      u"plain",
      u"Línea\tuno\r\n",
      u"Ελληνικά",
      u"日本語",
      u"\U0001F600 emoji",
      std::u16string(u"nul\0inside", 10),
  };
  for (const auto& sample : samples) {
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(sample)), sample);
  }
  EXPECT_EQ(Utf16ToUtf8(u"\u0141"), "\xC5\x81");  // kept whole, not cut to 8 bits
}

TEST(TextTest, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'a'}),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xDC00}), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16("\xFF"
                        "a"),
            (std::u16string{0xFFFD, u'a'}));
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), (std::u16string{0xFFFD, 0xFFFD}));
}

TEST(TextTest, Utf8Validation) {
  struct Case {
    const char* text;
    bool valid;
  } cases[] = {
      {"", true},
      {"ASCII only", true},
      {"Espa\xC3\xB1ol", true},
      {"\xF0\x9F\x98\x80", true},
      {"Espa\xF1ol", false},        // Windows-1252
      {"\xC0\xAF", false},          // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xE2\x82", false},          // truncated at the end
      {"\x80", false},              // stray continuation
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
}

TEST(TextTest, Windows1252Decoding) {
  EXPECT_EQ(Windows1252ToUtf8("Espa\xF1ol \x80 \x93x\x94"),
            "Espa\xC3\xB1ol \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
  EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");  // unassigned keeps its value
}

TEST(TextTest, UpperCaseKeepsCharacterCount) {
  EXPECT_EQ(ToUpperUtf8("dl_s_about (0)"), "DL_S_ABOUT (0)");
  EXPECT_EQ(ToUpperUtf8("menú_ñ"), "MENÚ_Ñ");
  EXPECT_EQ(ToUpperUtf8("stra\xC3\x9F"
                        "e"),
            "STRA\xC3\x9F"
            "E");  // no ß -> SS
  EXPECT_EQ(ToUpperUtf8("bad\xFFx"), "BAD\xFFX");
}

TEST(TextTest, CharacterCountingNeverSplitsASequence) {
  EXPECT_EQ(CountChars("añoß€"), 5u);
  EXPECT_EQ(FirstChars("añoß€", 2), "añ");
  EXPECT_EQ(FirstChars("€€", 1), "€");
  EXPECT_EQ(FirstChars("ab", 5), "ab");
  EXPECT_EQ(TrimView("\t  a b \r\n"), "a b");
  EXPECT_EQ(ReplaceAll("a%1b%1", "%1", "/x"), "a/xb/x");
}

}  // namespace
}  // namespace ulk
