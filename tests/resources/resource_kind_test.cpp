#include "translator/resources/resource_kind.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

TEST(ResourceKindTest, KeysOfEveryKind) {
  struct Case {
    std::uint32_t type;
    std::uint32_t number;
    const char* name;
    std::uint32_t item;
    const char* key;
  } cases[] = {
      {kRtMenu, 0, "MAIN", 0, "MN_S_MAIN (0)"},
      {kRtMenu, 128, "", 3, "MN_N_128 (3)"},
      {kRtDialog, 0, "ABOUTBOX", 0, "DL_S_ABOUTBOX (0)"},
      {kRtString, BlockOfStringId(98), "", PositionOfStringId(98), "ST_N_7 (2)"},
      {kRtString, BlockOfStringId(0), "", PositionOfStringId(0), "ST_N_1 (0)"},
      {kRtVersion, 1, "", 0, "VS_N_1 (0)"},
      {kRtString, 4000, "", 15, "ST_N_4000 (15)"},
      {24, 1, "", 0, "UN_N_1 (0)"},
  };
  for (const auto& c : cases) {
    const std::string key = MakeEntryKey(MakeResourceKey(c.type, c.number, c.name), c.item);
    EXPECT_EQ(key, c.key);
    std::uint32_t item = 99;
    ASSERT_TRUE(ItemOfKey(key, item));
    EXPECT_EQ(item, c.item);
    EXPECT_EQ(KindOfKey(key), KindOfType(c.type));
  }
  EXPECT_EQ(StringIdOf(7, 2), 98u);
}

TEST(ResourceKindTest, GroupAndResourceKeys) {
  EXPECT_EQ(GroupKeyOf("MN_N_128 (3)"), "MN_N");
  EXPECT_EQ(GroupKeyOf("DL_S_IDD_ABOUT (2)"), "DL_S_IDD");
  EXPECT_EQ(GroupKeyOf("DL_S_ABOUTBOX (2)"), "DL_S");
  EXPECT_EQ(GroupKeyOf("DL_S_MY_DIALOG_2 (5)"), "DL_S_MY_DIALOG");
  EXPECT_EQ(GroupKeyOf("VS_N_1 (0)"), "VS_N");
  EXPECT_EQ(GroupKeyOf("nounderscore"), "");
  EXPECT_EQ(ResourceKeyOf("DL_S_MY DIALOG (4)"), "DL_S_MY DIALOG");
  EXPECT_EQ(ResourceKeyOf("ODD"), "ODD");
  std::uint32_t item = 0;
  EXPECT_FALSE(ItemOfKey("MN_N_1 ()", item));
  EXPECT_FALSE(ItemOfKey("MN_N_1 (x)", item));
  EXPECT_FALSE(ItemOfKey("MN_N_1", item));
}

TEST(ResourceKindTest, KindsByPrefixAndCode) {
  EXPECT_EQ(KindOfKey("ST_N_1 (0)"), ResourceKind::kString);
  EXPECT_EQ(KindOfKey("MN_S_X (1)"), ResourceKind::kMenu);
  EXPECT_EQ(KindOfKey("DL_N_1 (0)"), ResourceKind::kDialog);
  EXPECT_EQ(KindOfKey("VS_N_1 (0)"), ResourceKind::kVersion);
  EXPECT_EQ(KindOfKey("STX"), ResourceKind::kUnknown);
  EXPECT_EQ(KindOfKey(""), ResourceKind::kUnknown);
  EXPECT_EQ(KindCodeOfKey("MN_N_1 (0)"), "MN");
  EXPECT_EQ(KindInfo(ResourceKind::kDialog).treeLabelId, 1023);
}

}  // namespace
}  // namespace ulk
