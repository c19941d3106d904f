// The icon-menu rules that need no display.
#include "uikit/menu_logic.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

TEST(MenuLogic, SplitsLabelAndShortcutAtTheFirstTab) {
  const struct {
    const char* text;
    const char* label;
    const char* shortcut;
  } cases[] = {
      {"&Nuevo\tCtrl+N", "&Nuevo", "Ctrl+N"},
      {"&Salir", "&Salir", ""},
      {"A\tB\tC", "A", "B\tC"},
      {"\tF3", "", "F3"},
  };
  for (const auto& c : cases) {
    const MenuItemText split = SplitMenuText(c.text);
    EXPECT_EQ(split.label, c.label) << c.text;
    EXPECT_EQ(split.shortcut, c.shortcut) << c.text;
  }
  EXPECT_EQ(LabelWithoutMnemonic("C&opiar && pegar"), "Copiar && pegar");
}

TEST(MenuLogic, SameCommandInTwoMenusKeepsTheLastText) {
  MenuTextMap texts;
  texts.Set(32776, "&Propiedades...");
  texts.Set(32776, "P&ropiedades");
  ASSERT_NE(texts.Find(32776), nullptr);
  EXPECT_EQ(*texts.Find(32776), "P&ropiedades");
  EXPECT_EQ(texts.Find(1), nullptr);
}

TEST(MenuLogic, ImagesOfASourceThatGoesAwayAreForgotten) {
  MenuImageMap images;
  int barA = 0, barB = 0;
  images.Set(1, {&barA, 0});
  images.Set(2, {&barB, 3});
  images.Forget(&barA);
  EXPECT_FALSE(images.Find(1).has_value());
  ASSERT_TRUE(images.Find(2).has_value());
  EXPECT_EQ(images.Find(2)->index, 3);
}

TEST(MenuLogic, RegisteredToolbarsAreAskedFirstNewestFirst) {
  int frame1 = 0, frame2 = 0, reg1 = 0, reg2 = 0;
  const std::vector<const void*> order = MenuImageSourceOrder({&frame1, &frame2}, {&reg1, &reg2});
  const std::vector<const void*> expected = {&reg2, &reg1, &frame2, &frame1};
  EXPECT_EQ(order, expected);
  // A window without toolbars is served by the registered ones alone.
  EXPECT_EQ(MenuImageSourceOrder({}, {&reg1}), std::vector<const void*>{&reg1});
}

TEST(MenuLogic, MnemonicMatching) {
  const std::vector<std::string> labels = {"&Archivo", "Copiar && &pegar", "A&&B",
                                           "",         "Ví&deo",           "&ñu"};
  const struct {
    char32_t typed;
    int item;
  } cases[] = {
      {U'a', 0}, {U'A', 0},  {U'p', 1}, {U'b', -1},  // only after an escaped ampersand
      {U'd', 4}, {U'x', -1}, {U'Ñ', 5}, {U'ñ', 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchMenuChar(c.typed, labels), c.item) << static_cast<unsigned>(c.typed);
  }
}

TEST(MenuLogic, FirstItemWithAMatchWins) {
  EXPECT_EQ(MatchMenuChar(U'g', {"&Guardar", "&Generar"}), 0);
}

TEST(MenuLogic, TooltipsAndStatusTextsOfPrompts) {
  EXPECT_EQ(TooltipOfPrompt("Abre un documento existente\nAbrir (Ctrl+O)"), "Abrir (Ctrl+O)");
  EXPECT_EQ(TooltipOfPrompt("Sin salto de línea"), "Sin salto de línea");
  EXPECT_EQ(StatusTextOfPrompt("Abre un documento existente\nAbrir (Ctrl+O)"),
            "Abre un documento existente");
  EXPECT_EQ(StatusTextOfPrompt("Solo"), "Solo");
  // 79 bytes at most, never inside a character: 78 ASCII bytes then "é"
  // (2 bytes) does not fit.
  const std::string tip = std::string(78, 'x') + "é";
  EXPECT_EQ(TooltipOfPrompt(tip), std::string(78, 'x'));
  const std::string fits = std::string(77, 'x') + "é";
  EXPECT_EQ(TooltipOfPrompt(fits), fits);
}

}  // namespace
}  // namespace ulk
