#include "platform/text.h"

#include "platform/stored_text.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

// The gate every text from outside passes: what it lets through is one
// line of valid UTF-8, and a stored text comes out as it went in.
TEST(StoredTextTest, TheGateEscapesOrRefuses) {
  struct Case {
    std::string in;
    std::string stored;   // "" when refused
    std::string problem;  // the start of what is wrong
    std::size_t offset = 0;
  };
  const Case cases[] = {
      {"plain", "plain", ""},
      {"", "", ""},
      {"uno\ndos\r\ttres", "uno\\ndos\\r\\ttres", ""},
      {"ya\\nguardado", "ya\\nguardado", ""},  // a stored text stays as it is
      {"日本語 ñ €", "日本語 ñ €", ""},
      {std::string("a\0b", 3), "", "contiene un carácter nulo", 1},
      {"a\x07", "", "contiene el carácter de control U+0007", 1},
      {"a\x7F", "", "contiene el carácter de control U+007F", 1},
      {"a\xC2\x85", "", "contiene el carácter de control U+0085", 1},
      {"Espa\xF1ol", "", "no es UTF-8 válido", 4},
      {"\xC0\xAF", "", "no es UTF-8 válido", 0},      // overlong
      {"\xED\xA0\x80", "", "no es UTF-8 válido", 0},  // a surrogate
  };
  for (const Case& c : cases) {
    std::string out;
    const TextProblem problem = ToStoredText(c.in, out);
    if (c.problem.empty()) {
      EXPECT_FALSE(problem) << c.in << ": " << problem.what;
      EXPECT_EQ(out, c.stored);
      EXPECT_FALSE(CheckStoredText(out));
    } else {
      EXPECT_EQ(problem.what.substr(0, c.problem.size()), c.problem) << c.in;
      EXPECT_EQ(problem.offset, c.offset) << c.in;
    }
  }
  EXPECT_TRUE(CheckStoredText("raw\nline"));
}

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
