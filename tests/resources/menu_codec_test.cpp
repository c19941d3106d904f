#include "translator/resources/menu_codec.h"

#include <gtest/gtest.h>

#include "tests/resources/codec_items.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

using testing::Bytes;

constexpr std::uint16_t kPopup = 0x10;
constexpr std::uint16_t kEnd = 0x80;

// File (Open, separator, Exit) and Help (About), as a normal template.
std::string FileHelpMenu() {
  Bytes b;
  b.u16(0).u16(0);
  b.u16(kPopup).text(u"&File");
  b.u16(0).u16(100).text(u"&Open");
  b.u16(0).u16(0).text(u"");
  b.u16(kEnd).u16(101).text(u"E&xit");
  b.u16(kPopup | kEnd).text(u"&Help");
  b.u16(kEnd).u16(102).text(u"&About");
  return b.str();
}

TEST(MenuCodecTest, NumbersEveryItemDepthFirst) {
  MenuCodec codec;
  ASSERT_TRUE(codec.Parse(FileHelpMenu()));
  EXPECT_EQ(testing::ItemLines(codec),
            (std::vector<std::string>{"0:0:&File", "1:100:&Open", "3:101:E&xit", "4:0:&Help",
                                      "5:102:&About"}));
  EXPECT_FALSE(codec.SetItemTranslation(2, "separator"));
  EXPECT_EQ(*codec.Build(), FileHelpMenu()) << "unchanged without translations";
}

TEST(MenuCodecTest, LongerTranslationsShiftWhatFollows) {
  MenuCodec codec;
  ASSERT_TRUE(codec.Parse(FileHelpMenu()));
  ASSERT_TRUE(codec.SetItemTranslation(1, "&Öffnen…"));
  ASSERT_TRUE(codec.SetItemTranslation(4, "&Hilfe und Informationen"));
  const std::string built = *codec.Build();
  EXPECT_EQ(built.size(), FileHelpMenu().size() + 2 * (8 - 5) + 2 * (24 - 5));
  MenuCodec again;
  ASSERT_TRUE(again.Parse(built));
  EXPECT_EQ(testing::ItemLines(again),
            (std::vector<std::string>{"0:0:&File", "1:100:&Öffnen…", "3:101:E&xit",
                                      "4:0:&Hilfe und Informationen", "5:102:&About"}));
}

std::string ExtendedMenu(std::uint16_t headerOffset = 4) {
  Bytes b;
  b.u16(1).u16(headerOffset).u32(0);
  // Pop-up "&Edit" (id 200, help id 7) holding Copy, a separator and Paste.
  b.u32(0).u32(0).u32(200).u16(0x01).text(u"&Edit").align4().u32(7);
  b.u32(0).u32(0).u32(201).u16(0).text(u"&Copy").align4();
  b.u32(0x800).u32(0).u32(0).u16(0).text(u"").align4();
  b.u32(0).u32(0).u32(0x12345).u16(0x80).text(u"&Paste").align4();
  b.u32(0).u32(0).u32(300).u16(0x80).text(u"&Window").align4();
  return b.str();
}

TEST(MenuCodecTest, ExtendedMenusAndSeparators) {
  MenuCodec codec;
  ASSERT_TRUE(codec.Parse(ExtendedMenu()));
  EXPECT_EQ(
      testing::ItemLines(codec),
      (std::vector<std::string>{"0:200:&Edit", "1:201:&Copy", "3:74565:&Paste", "4:300:&Window"}));
  EXPECT_EQ(*codec.Build(), ExtendedMenu());
  // An odd-length translation must keep every following item 4-aligned.
  codec.SetItemTranslation(1, "&Kopieren");
  codec.SetItemTranslation(0, "E");
  MenuCodec again;
  ASSERT_TRUE(again.Parse(*codec.Build()));
  EXPECT_EQ(
      testing::ItemLines(again),
      (std::vector<std::string>{"0:200:E", "1:201:&Kopieren", "3:74565:&Paste", "4:300:&Window"}));
}

TEST(MenuCodecTest, UnknownHeaderOffsetKeepsTheMenuAsItIs) {
  MenuCodec codec;
  const std::string menu = ExtendedMenu(6);
  ASSERT_TRUE(codec.Parse(menu));
  EXPECT_EQ(codec.ItemCount(), 0u);
  EXPECT_EQ(codec.Problem(), "UNKNOWN EXTENDED MENU, NOT SUPORTED");
  EXPECT_EQ(*codec.Build(), menu);
}

TEST(MenuCodecTest, MalformedTemplatesYieldNothing) {
  const std::string good = FileHelpMenu();
  MenuCodec codec;
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(codec.Parse(good.substr(0, size))) << size;
    EXPECT_EQ(codec.ItemCount(), 0u);
    EXPECT_FALSE(codec.Build().has_value());
  }
  EXPECT_FALSE(codec.Parse(Bytes().u16(2).u16(0).u16(kEnd).u16(1).text(u"x").str()))
      << "unknown version";
  // A pop-up that never ends its children.
  EXPECT_FALSE(codec.Parse(
      Bytes().u16(0).u16(0).u16(kPopup | kEnd).text(u"x").u16(0).u16(1).text(u"y").str()));
  // Pop-ups nested far deeper than any real menu.
  Bytes deep;
  deep.u16(0).u16(0);
  for (int i = 0; i < 5000; ++i) deep.u16(kPopup | kEnd).text(u"p");
  EXPECT_FALSE(codec.Parse(deep));
  const std::string extended = ExtendedMenu();
  // Only the padding after the last item may be missing.
  for (std::size_t size = 8; size + 2 < extended.size(); size += 2) {
    EXPECT_FALSE(codec.Parse(extended.substr(0, size))) << size;
  }
}

}  // namespace
}  // namespace ulk
