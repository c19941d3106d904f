// Dialog geometry and menu levels, from the fixture module and from
// templates cut short.
#include "translator/resources/resource_layout.h"

#include <gtest/gtest.h>

#include "platform/pe_image.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

TEST(ResourceLayoutTest, DialogsAndMenusOfAModule) {
  for (const char* name : {"sample32.dll", "sample64.dll"}) {
    ModuleLayouts layouts;
    ASSERT_EQ(ReadModuleLayouts(testing::FixturePath(name), layouts), 0);
    const DialogBox* about = layouts.DialogOf("DL_N_101 (4)");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->hasFont);
    EXPECT_EQ(about->font.face, "MS Shell Dlg");
    EXPECT_EQ(about->font.pointSize, 8);
    EXPECT_EQ(about->controls.size(), 10u);
    const ControlBox* ok = layouts.ControlOf("DL_N_101 (4)");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->x, 70);
    EXPECT_EQ(ok->cx, 50);
    EXPECT_EQ(ok->cy, 14);
    EXPECT_EQ(ok->classOrdinal, 0x80);
    EXPECT_EQ(ok->style & 0xF, 1u) << "default push button";
    // Keys come back upper-cased from a project file.
    const ControlBox* check = layouts.ControlOf("DL_S_settings (6)");
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->cx, 80);
    EXPECT_EQ(layouts.DialogOf("DL_S_SETTINGS (0)")->font.face, "Segoe UI");
    EXPECT_EQ(layouts.DialogOf("DL_S_SETTINGS (0)")->font.pointSize, 9);
    EXPECT_EQ(layouts.ControlOf("DL_N_101 (11)"), nullptr);
    EXPECT_EQ(layouts.ControlOf("DL_N_999 (1)"), nullptr);

    const std::pair<const char*, std::int32_t> parents[] = {
        {"MN_N_1 (0)", -1}, {"MN_N_1 (1)", 0},      {"MN_N_1 (4)", 3},      {"MN_N_1 (6)", 0},
        {"MN_N_1 (8)", 7},  {"MN_S_MAINEX (4)", 3}, {"MN_S_MAINEX (5)", -1}};
    for (const auto& [key, parent] : parents) {
      std::int32_t found = -2;
      EXPECT_TRUE(layouts.MenuParentOf(key, found)) << key;
      EXPECT_EQ(found, parent) << key;
    }
    std::int32_t none = 0;
    EXPECT_FALSE(layouts.MenuParentOf("MN_N_1 (9)", none));
  }
}

TEST(ResourceLayoutTest, TemplatesCutShortAreRefused) {
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("sample32.dll")), 0);
  const ResourceData* dialog = image.Find(ResourceId::Number(5), ResourceId::Number(101));
  const ResourceData* menu = image.Find(ResourceId::Number(4), ResourceId::Number(1));
  ASSERT_TRUE(dialog && menu);
  DialogBox d;
  MenuLayout m;
  EXPECT_TRUE(ParseDialogBox(dialog->bytes, d));
  EXPECT_TRUE(ParseMenuLayout(menu->bytes, m));
  for (std::size_t cut = 0; cut + 1 < dialog->bytes.size(); cut += 7)
    EXPECT_FALSE(ParseDialogBox(dialog->bytes.substr(0, cut), d)) << cut;
  for (std::size_t cut = 0; cut + 1 < menu->bytes.size(); cut += 3)
    EXPECT_FALSE(ParseMenuLayout(menu->bytes.substr(0, cut), m)) << cut;
}

}  // namespace
}  // namespace ulk
