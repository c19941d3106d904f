// Format specifiers, hotkeys and the pseudo-translation that keeps both.
#include "translator/exchange/text_tokens.h"

#include <gtest/gtest.h>

#include "translator/exchange/pseudo_translation.h"

namespace ulk {
namespace {

std::string Identities(std::string_view text) {
  std::string out;
  for (const FormatSpecifier& s : FindFormatSpecifiers(text)) {
    out += (out.empty() ? "" : " ") + s.identity + (s.positional ? "*" : "");
  }
  return out;
}

TEST(TextTokensTest, FormatSpecifiers) {
  const std::pair<const char*, const char*> cases[] = {
      {"%d of %s", "%d %s"},
      {"%5.2f%% done", "%f"},
      {"%-10ls|%I64u|%lld|%c", "%ls %I64u %lld %c"},
      {"%1 and %2!d! and %10", "%1* %2!d!* %10*"},
      {"%2$s %1$d", "2$s* 1$d*"},
      {"{0} {1:N2} {{2}} {x}", "{0}* {1:N2}*"},
      {"50% of 100%", ""},
      {"100%", ""},
      {"%0 text", ""},
      {"%", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(Identities(text), expected) << text;
}

// A PO entry is marked c-format only when msgfmt --check would accept
// its original as one: a wrong mark fails the whole file.
TEST(TextTokensTest, CFormatTexts) {
  const std::pair<const char*, bool> cases[] = {
      {"%s", true},
      {"Abrir %s desde %d sitios", true},
      {"%-10.3f|%+05d|%#x|%lu|%lld|%hhd|%zu|%jd|%td|%Lf|%lf|%ls|%lc|%p|%c|%i|%o|%X|%e|%G|%a", true},
      {"%*d %.*s %.f", true},
      {"%d%% hecho", true},
      {"%2$s antes que %1$s", true},
      {"%1$s y otra vez %1$s", true},
      {"sin nada", false},
      {"100%% seguro", false},  // no conversion at all
      {"50% de descuento", false},
      {"50 %", false},
      {"100%", false},
      {"%d y 100%", false},  // one valid, one not: the whole text is not
      {"%1 archivos", false},
      {"%1!d! archivos", false},
      {"%I64d", false},
      {"%S y %C", false},
      {"%n", false},
      {"%5%", false},
      {"%Ls", false},  // a length the conversion does not take
      {"%hs", false},
      {"%lp", false},
      {"%Ld", false},
      {"%1$s %s", false},  // numbered and plain mixed
      {"%2$s", false},     // argument 1 left out
      {"%1$s %3$s", false},
      {"%1$s %1$d", false},  // one argument, two types
      {"%1$*2$d", false},
      {"%0$s", false},
      {"%01$s", false},
      {"%12345$s", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsCFormatText(text), expected) << text;
}

TEST(TextTokensTest, Hotkeys) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"&Abrir", {"A"}},    {"Cor&tar\\tCtrl+&X", {"T"}},
      {"Tom && Jerry", {}}, {"&& &x &", {"X"}},
      {"& nada", {}},       {"&über", {"Ü"}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(HotkeysOf(text), expected) << text;
}

TEST(TextTokensTest, PseudoTranslationKeepsWhatTheProgramReads) {
  const std::tuple<const char*, int, bool, const char*> cases[] = {
      {"Notas", 40, false, "[Ñöŧåš]"},
      {"Abrir", 100, false, "[Åƀŕîŕ~~~]"},
      {"&Abrir...\\tCtrl+A", 0, true, "[&Aƀŕîŕ...]\\tCtrl+A"},
      {"%d files in %s\\n", 0, false, "[%d ƒîļéš îñ %s\\n]"},
      {"%1!s! {0} &&x", 0, false, "[%1!s! {0} &&ẋ]"},
      {"&%d", 0, false, "[&%d]"},
      {"日本", 0, false, "[日本]"},
  };
  for (const auto& [text, expand, menu, expected] : cases) {
    EXPECT_EQ(PseudoText(text, expand, menu), expected) << text;
  }
  // Longer by the percentage, brackets counted; never shorter.
  EXPECT_EQ(PseudoText("0123456789", 30, false), "[0123456789~]");
}

}  // namespace
}  // namespace ulk
