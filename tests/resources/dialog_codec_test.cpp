#include "translator/resources/dialog_codec.h"

#include <gtest/gtest.h>

#include "tests/resources/codec_items.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

using testing::Bytes;

constexpr std::uint32_t kDsSetFont = 0x40;

struct Control {
  std::uint32_t id;
  std::u16string className;  // empty: use the ordinal
  std::uint16_t classOrdinal;
  std::u16string title;
  std::uint16_t titleOrdinal;  // used when not 0
};

// A DLGTEMPLATE or DLGTEMPLATEEX with a caption, an optional named menu and
// the given controls.
std::string Dialog(bool extended, const std::vector<Control>& controls,
                   std::u16string caption = u"Caption", std::u16string menu = u"") {
  Bytes b;
  if (extended) {
    b.u16(1).u16(0xFFFF).u32(0).u32(0).u32(kDsSetFont);
  } else {
    b.u32(kDsSetFont).u32(0);
  }
  b.u16(static_cast<std::uint16_t>(controls.size())).u16(0).u16(0).u16(100).u16(50);
  if (menu.empty()) {
    b.u16(0);
  } else {
    b.text(menu);
  }
  b.u16(0).text(caption);
  if (extended) {
    b.u16(9).u16(400).u8(0).u8(1).text(u"Segoe UI");
  } else {
    b.u16(8).text(u"MS Shell Dlg");
  }
  for (const Control& c : controls) {
    b.align4();
    if (extended) {
      b.u32(0).u32(0).u32(0x50000000).u16(1).u16(2).u16(3).u16(4).u32(c.id);
    } else {
      b.u32(0x50000000).u32(0).u16(1).u16(2).u16(3).u16(4).u16(static_cast<std::uint16_t>(c.id));
    }
    if (c.className.empty()) {
      b.u16(0xFFFF).u16(c.classOrdinal);
    } else {
      b.text(c.className);
    }
    if (c.titleOrdinal) {
      b.u16(0xFFFF).u16(c.titleOrdinal);
    } else {
      b.text(c.title);
    }
    b.u16(0);
  }
  return b.str();
}

// Caption, an icon, a static text, an edit box and an OK button.
const std::vector<Control> kControls = {
    {65535, u"", 0x82, u"", 1},
    {1001, u"", 0x82, u"Label", 0},
    {1002, u"", 0x81, u"edit text", 0},
    {1, u"", 0x80, u"OK", 0},
};

TEST(DialogCodecTest, CaptionAndButtonOrStaticTitlesInBothFormats) {
  for (bool extended : {false, true}) {
    DialogCodec codec;
    const std::string dialog = Dialog(extended, kControls);
    ASSERT_TRUE(codec.Parse(dialog)) << codec.Problem();
    EXPECT_EQ(codec.IsExtended(), extended);
    EXPECT_EQ(testing::ItemLines(codec),
              (std::vector<std::string>{"0:-1:Caption", "2:1001:Label", "4:1:OK"}));
    EXPECT_FALSE(codec.SetItemTranslation(3, "edit"));
    EXPECT_FALSE(codec.SetItemTranslation(1, "icon"));
    EXPECT_EQ(*codec.Build(), dialog);
  }
}

TEST(DialogCodecTest, NamedClassesYieldNoItem) {
  DialogCodec codec;
  ASSERT_TRUE(codec.Parse(Dialog(false, {{5, u"Button", 0, u"Named", 0}})));
  EXPECT_EQ(testing::ItemLines(codec), std::vector<std::string>{"0:-1:Caption"});
}

TEST(DialogCodecTest, TranslationsMoveControlsButKeepThemAligned) {
  for (bool extended : {false, true}) {
    const std::vector<Control> controls = {{1001, u"", 0x82, u"A", 0},
                                           {0x12345, u"", 0x80, u"Big id", 0}};
    const std::string dialog = Dialog(extended, controls, u"Caption", u"MAINMENU");
    DialogCodec codec;
    ASSERT_TRUE(codec.Parse(dialog));
    codec.SetItemTranslation(0, "Título mucho más largo");
    codec.SetItemTranslation(1, "Etiqueta");
    const std::string built = *codec.Build();
    const std::string expected =
        Dialog(extended, {{1001, u"", 0x82, u"Etiqueta", 0}, {0x12345, u"", 0x80, u"Big id", 0}},
               u"Título mucho más largo", u"MAINMENU");
    EXPECT_EQ(built, expected) << "menu name, alignment and the full 32-bit id are kept";
    DialogCodec again;
    ASSERT_TRUE(again.Parse(built));
    EXPECT_EQ(again.ItemAt(2).id, 0x2345) << "items name the low 16 bits";
  }
}

TEST(DialogCodecTest, MalformedTemplatesYieldNothing) {
  const std::string good = Dialog(true, kControls);
  DialogCodec codec;
  for (std::size_t size = 0; size < good.size(); ++size) {
    EXPECT_FALSE(codec.Parse(good.substr(0, size))) << size;
    EXPECT_EQ(codec.ItemCount(), 0u);
    EXPECT_FALSE(codec.Build().has_value());
  }
  std::string tooMany = Dialog(false, kControls);
  tooMany[8] = 50;  // declares 50 controls, holds 4
  EXPECT_FALSE(codec.Parse(tooMany));
  EXPECT_NE(codec.Problem().find("control 5"), std::string::npos) << codec.Problem();
  std::string creation = Dialog(false, kControls);
  creation[creation.size() - 2] = 100;  // creation data longer than the rest
  EXPECT_FALSE(codec.Parse(creation));
  EXPECT_FALSE(codec.Parse(Bytes().u16(2).u16(0xFFFF).u32(0).str())) << "unknown version";
}

}  // namespace
}  // namespace ulk
