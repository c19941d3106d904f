#include "platform/locales.h"

#include <unicode/uloc.h>

#include <gtest/gtest.h>

#include "platform/text.h"

namespace ulk {
namespace {

TEST(LocalesTest, SpanishNamesOfLanguageIdentifiers) {
  EXPECT_EQ(LanguageNameOf(0x0C0A), "Español (España)");
  EXPECT_EQ(LanguageNameOf(0x04B00C0A), "Español (España)") << "code page in the high bits";
  EXPECT_EQ(LanguageNameOf(0x0409), "Inglés (Estados Unidos)");
  EXPECT_EQ(LanguageNameOf(0x0407), "Alemán (Alemania)");
  EXPECT_EQ(LanguageNameOf(0), "Idioma neutro");
  EXPECT_EQ(LanguageNameOf(0x04B00000), "Idioma neutro");
  EXPECT_EQ(LanguageNameOf(0x1234), "Idioma desconocido");
}

TEST(LocalesTest, SystemLocalesAreLanguageIdentifiers) {
  const auto& ids = SystemLocaleIds();
  ASSERT_GT(ids.size(), 100u);
  for (const std::uint32_t id : ids) {
    EXPECT_NE(id, 0u);
    EXPECT_LE(id, 0xFFFFu);
    EXPECT_NE(LanguageNameOf(id), "Idioma desconocido") << std::hex << id;
  }
}

// The names come from one set of display names opened once; they must be
// the names ICU gives language by language.
TEST(LocalesTest, NamesAreIcusOwn) {
  for (const std::uint32_t id : SystemLocaleIds()) {
    UErrorCode status = U_ZERO_ERROR;
    char locale[ULOC_FULLNAME_CAPACITY] = {};
    uloc_getLocaleForLCID(id, locale, sizeof locale, &status);
    UChar buffer[256];
    status = U_ZERO_ERROR;
    const std::int32_t length = uloc_getDisplayName(locale, "es", buffer, 256, &status);
    ASSERT_TRUE(U_SUCCESS(status) && length > 0) << locale;
    std::string expected = Utf16ToUtf8(std::u16string_view(
        reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(length)));
    const std::string name = LanguageNameOf(id);
    ASSERT_FALSE(name.empty());
    // Only the first letter is made upper-case.
    EXPECT_EQ(Utf8ToUtf16(name).substr(1), Utf8ToUtf16(expected).substr(1)) << locale;
  }
}

}  // namespace
}  // namespace ulk
