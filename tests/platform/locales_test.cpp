#include "platform/locales.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ulk
