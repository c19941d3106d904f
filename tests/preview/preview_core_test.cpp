// The preview's headless core: templates read whole, layout, control kinds,
// menu normalisation, keys, failures and the translated preview's steps.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/system_error.h"
#include "platform/text.h"
#include "tests/preview/preview_fixtures.h"
#include "translator/model/resource_engine.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/resource_layout.h"
#include "translator/ui/preview/dialog_layout.h"
#include "translator/ui/preview/preview_menu.h"
#include "translator/ui/preview/resource_preview.h"
#include "translator/ui/preview/translated_preview.h"

namespace ulk {
namespace {

using testing::DialogBytes;
using testing::TestControl;
using testing::TestDialog;

TestDialog EveryField(bool extended) {
  TestDialog d;
  d.extended = extended;
  d.menu = u"MAINMENU";
  d.weight = 700;
  d.italic = 1;
  d.controls = {
      {u"", 0x82, u"", 3, 0x50000003, 5, 6, 20, 20, 0xFFFF},
      {u"SysListView32", 0, u"Vista", 0, 0x50800001, -4, 30, 100, 40, 0x12345},
      {u"", 0x80, u"Aceptar", 0, 0x50010001, 70, 80, 50, 14, 1},
  };
  return d;
}

TEST(DialogTemplateTest, EveryFieldOfBothFormats) {
  for (bool extended : {false, true}) {
    DialogTemplate dialog;
    ASSERT_TRUE(ReadDialogTemplate(DialogBytes(EveryField(extended)), dialog).ok());
    EXPECT_EQ(dialog.extended, extended);
    EXPECT_EQ(dialog.style, 0x80C80040u);
    EXPECT_EQ(dialog.exStyle, 0x20u);
    EXPECT_EQ(dialog.cx, 200);
    EXPECT_EQ(dialog.menu.text, "MAINMENU");
    EXPECT_TRUE(dialog.windowClass.IsEmpty());
    EXPECT_EQ(dialog.caption, "Prueba");
    ASSERT_TRUE(dialog.hasFont);
    EXPECT_EQ(dialog.font.face, "MS Shell Dlg");
    EXPECT_EQ(dialog.font.pointSize, 8);
    EXPECT_EQ(dialog.font.weight, extended ? 700 : 0);
    EXPECT_EQ(dialog.font.italic, extended);
    ASSERT_EQ(dialog.controls.size(), 3u);
    const DialogControl& icon = dialog.controls[0];
    EXPECT_TRUE(icon.windowClass.isOrdinal);
    EXPECT_EQ(icon.windowClass.ordinal, 0x82);
    EXPECT_TRUE(icon.title.isOrdinal);
    EXPECT_EQ(icon.title.ordinal, 3);
    const DialogControl& list = dialog.controls[1];
    EXPECT_EQ(list.windowClass.text, "SysListView32");
    EXPECT_EQ(list.title.text, "Vista");
    EXPECT_EQ(list.x, -4) << "coordinates are signed";
    EXPECT_EQ(list.id, extended ? 0x12345u : 0x2345u);
    EXPECT_EQ(list.style, 0x50800001u);
    EXPECT_EQ(dialog.controls[2].cy, 14);
  }
}

TEST(DialogTemplateTest, EveryTruncationFailsAndTheCodecStillReadsWhole) {
  const std::string bytes = DialogBytes(EveryField(true));
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    DialogTemplate dialog;
    const Status status = ReadDialogTemplate(std::string_view(bytes).substr(0, size), dialog);
    EXPECT_FALSE(status.ok()) << size;
    EXPECT_EQ(status.code(), kErrorBadTemplate);
  }
  DialogCodec codec;
  ASSERT_TRUE(codec.Parse(bytes));
  EXPECT_EQ(*codec.Build(), bytes);
}

TEST(DialogTemplateTest, FixtureDialogsReadWhole) {
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("controls64.dll")), 0);
  DialogTemplate dialog;
  const ResourceData* data =
      image.Find(ResourceId::Number(kRtDialog), ResourceId::Name(std::string_view("LISTAS")));
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(ReadDialogTemplate(data->bytes, dialog).ok());
  EXPECT_EQ(dialog.caption, "Listas y barras");
  EXPECT_EQ(dialog.font.face, "MS Shell Dlg");
  ASSERT_EQ(dialog.controls.size(), 17u);
  // windres stores class names upper-cased; classes are found regardless.
  EXPECT_EQ(dialog.controls[10].windowClass.text, "MSCTLS_PROGRESS32");
  EXPECT_EQ(ClassifyControl(dialog.controls[10]).kind, ControlKind::kProgress);
  EXPECT_EQ(dialog.controls[15].windowClass.text, "MYOWNCLASS");
}

TEST(MenuTemplateTest, NormalMenuTreeWithSeparatorsAndStates) {
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("controls32.dll")), 0);
  const ResourceData* data = image.Find(ResourceId::Number(kRtMenu), ResourceId::Number(1));
  ASSERT_NE(data, nullptr);
  MenuTemplate menu;
  ASSERT_TRUE(ReadMenuTemplate(data->bytes, menu).ok());
  EXPECT_FALSE(menu.extended);
  ASSERT_EQ(menu.items.size(), 4u);
  EXPECT_EQ(menu.items[0].text, "&Archivo");
  EXPECT_TRUE(menu.items[1].IsSeparator());
  EXPECT_TRUE(menu.items[2].popup);
  EXPECT_EQ(menu.items[2].text, "");
  EXPECT_EQ(menu.items[3].id, 130u);
  const MenuNode& recent = menu.items[0].children[2];
  ASSERT_EQ(recent.children.size(), 2u);
  EXPECT_EQ(recent.children[0].state, std::uint32_t{kMfsChecked});
  EXPECT_EQ(recent.children[1].state & kMfsGrayed, 1u);
}

TEST(MenuTemplateTest, ExtendedMenusAndHeaderOffsets) {
  ModuleImage image;
  ASSERT_EQ(image.Open(testing::FixturePath("sample64.dll")), 0);
  const ResourceData* data =
      image.Find(ResourceId::Number(kRtMenu), ResourceId::Name(std::string_view("MAINEX")));
  ASSERT_NE(data, nullptr);
  MenuTemplate menu;
  ASSERT_TRUE(ReadMenuTemplate(data->bytes, menu).ok());
  EXPECT_TRUE(menu.extended);
  ASSERT_EQ(menu.items.size(), 2u);
  ASSERT_EQ(menu.items[0].children.size(), 3u);
  EXPECT_TRUE(menu.items[0].children[1].IsSeparator());
  EXPECT_EQ(menu.items[0].children[2].children[0].id, 0x12345u);

  // The same items behind a header offset of 8: the loader skips 4 more bytes.
  std::string shifted(data->bytes);
  shifted[2] = 8;
  shifted.insert(8, 4, '\0');
  MenuTemplate moved;
  ASSERT_TRUE(ReadMenuTemplate(shifted, moved).ok());
  ASSERT_EQ(moved.items.size(), 2u);
  EXPECT_EQ(moved.items[1].text, "&Ventana");
}

TEST(MenuTemplateTest, DeepNestingAndTruncationFailCleanly) {
  MenuTemplate menu;
  EXPECT_TRUE(ReadMenuTemplate(testing::DeepMenuBytes(60), menu).ok());
  const Status deep = ReadMenuTemplate(testing::DeepMenuBytes(100), menu);
  EXPECT_EQ(deep.code(), kErrorBadTemplate);
  EXPECT_TRUE(menu.items.empty());
  const std::string bytes = testing::DeepMenuBytes(3);
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_FALSE(ReadMenuTemplate(std::string_view(bytes).substr(0, size), menu).ok()) << size;
  }
}

MenuNode Item(std::string text, std::uint32_t type = 0, std::uint32_t state = 0,
              std::vector<MenuNode> children = {}) {
  MenuNode node;
  node.text = std::move(text);
  node.type = type;
  node.state = state;
  node.id = 5;
  node.popup = !children.empty();
  node.children = std::move(children);
  return node;
}

void ExpectAllPreviewCommands(const std::vector<MenuNode>& items) {
  for (const MenuNode& item : items) {
    EXPECT_EQ(item.id, kPreviewMenuCommand) << item.text;
    ExpectAllPreviewCommands(item.children);
  }
}

TEST(PreviewMenuTest, NormalisationAtEveryLevel) {
  MenuTemplate menu;
  menu.items = {
      Item("&Archivo", 0, kMfsChecked,
           {Item("Abrir"), Item("", kMftSeparator), Item("", 0, kMfsGrayed),
            Item("Más", 0, 0, {Item("", kMftSeparator), Item("", 0, kMfsChecked)})}),
      Item("", kMftSeparator, kMfsGrayed),
      Item("", 0, kMfsGrayed, {Item("Hijo")}),
  };
  const MenuTemplate shown = NormalisePreviewMenu(menu);
  const auto& top = shown.items;
  EXPECT_EQ(top[0].state, std::uint32_t{kMfsChecked}) << "items with text keep their state";
  EXPECT_FALSE(top[1].IsSeparator()) << "a menu bar cannot show a separator";
  EXPECT_EQ(top[1].text, "[  ]");
  EXPECT_EQ(top[1].state, 0u);
  EXPECT_EQ(top[2].text, "[  ]");
  EXPECT_EQ(top[2].state, 0u);
  EXPECT_TRUE(top[0].children[1].IsSeparator()) << "separators in pop-ups stay";
  EXPECT_EQ(top[0].children[2].text, "[  ]");
  EXPECT_EQ(top[0].children[2].state, 0u);
  EXPECT_TRUE(top[0].children[3].children[0].IsSeparator());
  EXPECT_EQ(top[0].children[3].children[1].text, "[  ]");
  ExpectAllPreviewCommands(top);
}

TEST(DialogLayoutTest, BaseUnitsFromMeasuredFonts) {
  // Sample widths and heights as measured for Liberation Sans at 96 dpi;
  // the platform's loader gives the same base units for that font.
  const struct {
    int width, height;
    BaseUnits expected;
  } cases[] = {
      {334, 12, {6, 12}},  // 8 pt
      {354, 12, {7, 12}},  // 8 pt bold
      {368, 14, {7, 14}},  // 9 pt
      {397, 15, {8, 15}},  // 10 pt
      {491, 17, {9, 17}},  // 12 pt
      {337, 12, {6, 12}},  // (337 / 26 + 1) / 2 = 6: integer steps, not rounding
      {338, 12, {7, 12}}, {0, 0, {0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BaseUnitsFromMetrics(c.width, c.height), c.expected) << c.width;
  }
}

TEST(DialogLayoutTest, DialogUnitsToPixelsRoundLikeThePlatform) {
  const struct {
    int a, b, c, expected;
  } cases[] = {
      {10, 6, 4, 15}, {1, 6, 4, 2},    {3, 6, 4, 5},    {-3, 6, 4, -5},
      {7, 12, 8, 11}, {5, 13, 8, 8},   {-1, 13, 8, -2}, {32767, 9, 4, 73726},
      {1, 1, 0, 0},   {8, 96, 72, 11}, {9, 96, 72, 12},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MulDivRounded(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
  }
  // The loader's own figures for the fixture's BOTONES dialog at 6 x 12.
  EXPECT_EQ(DialogUnitsToPixels(7, 7, 130, 80, {6, 12}), (PixelRect{11, 11, 195, 120}));
  EXPECT_EQ(DialogUnitsToPixels(145, 136, 128, 12, {6, 12}), (PixelRect{218, 204, 192, 18}));
}

TEST(DialogLayoutTest, FontsAndFrames) {
  TestDialog d;
  DialogTemplate dialog;
  ASSERT_TRUE(ReadDialogTemplate(DialogBytes(d), dialog).ok());
  FontRequest font = DialogFontRequest(dialog);
  EXPECT_EQ(font.face, "Liberation Sans");
  EXPECT_EQ(font.pixelHeight, 11);
  EXPECT_FALSE(font.bold);
  d.face = u"Segoe UI";
  d.pointSize = 9;
  d.weight = 700;
  d.italic = 1;
  ASSERT_TRUE(ReadDialogTemplate(DialogBytes(d), dialog).ok());
  font = DialogFontRequest(dialog);
  EXPECT_EQ(font.face, "Liberation Sans");
  EXPECT_EQ(font.pixelHeight, 12);
  EXPECT_TRUE(font.bold);
  EXPECT_TRUE(font.italic);
  EXPECT_EQ(SubstituteFace("courier new"), "Liberation Mono");
  EXPECT_EQ(SubstituteFace("Fuente Que No Existe"), "Fuente Que No Existe");

  DialogFrame frame = FrameOfDialog(dialog);
  EXPECT_EQ(frame.border, kDialogFrameWidth);
  EXPECT_EQ(frame.caption, kCaptionHeight);
  EXPECT_EQ(frame.menu, 0);
  d.style = 0x80000000;  // a plain pop-up: no font, no frame
  d.menu = u"MENU";
  ASSERT_TRUE(ReadDialogTemplate(DialogBytes(d), dialog).ok());
  font = DialogFontRequest(dialog);
  EXPECT_TRUE(font.requestedFace.empty());
  frame = FrameOfDialog(dialog);
  EXPECT_EQ(frame.Top(), kMenuBarHeight);
  EXPECT_EQ(frame.border, 0);
}

TEST(DialogLayoutTest, ControlsKeepTheirRectanglesTextsAndStates) {
  TestDialog d;
  d.controls = {
      {u"", 0x82, u"", 7, 0x50000003, 5, 5, 20, 20, 1},          // icon by ordinal
      {u"", 0x80, u"Oculto", 0, 0x40000000, 10, 10, 50, 14, 2},  // not visible
      {u"", 0x81, u"", 0, 0x58B00080, 10, 30, 100, 12, 3},       // disabled, border, scrolls
      {u"", 0x80, u"Lejos", 0, 0x50000000, 30000, -30000, 50, 14, 4},
      {u"", 0x83, u"", 0, 0x50800000, 0, 0, 100, 40, 5},  // list box: whole items
      {u"", 0x83, u"", 0, 0x50800100, 0, 0, 100, 40, 6},  // LBS_NOINTEGRALHEIGHT
      {u"", 0x85, u"", 0, 0x50000003, 0, 0, 100, 60, 7},  // drop-down list
  };
  DialogTemplate dialog;
  ASSERT_TRUE(ReadDialogTemplate(DialogBytes(d), dialog).ok());
  const DialogLayout layout = LayoutDialog(dialog, {6, 12});
  EXPECT_EQ(layout.client, (PixelRect{0, 0, 300, 150}));
  ASSERT_EQ(layout.controls.size(), 7u);
  EXPECT_EQ(layout.controls[0].text, "") << "an ordinal title shows nothing";
  EXPECT_EQ(layout.controls[0].look.kind, ControlKind::kImageFrame);
  EXPECT_FALSE(layout.controls[1].visible);
  EXPECT_EQ(layout.controls[1].text, "Oculto");
  const ControlLayout& edit = layout.controls[2];
  EXPECT_FALSE(edit.enabled);
  EXPECT_TRUE(edit.border);
  EXPECT_TRUE(edit.vScroll);
  EXPECT_TRUE(edit.hScroll);
  EXPECT_EQ(layout.controls[3].rect, (PixelRect{45000, -45000, 75, 21}));
  // The platform's loader shows 4 items of 12 pixels and the edges.
  EXPECT_EQ(layout.controls[4].rect.height, 52);
  EXPECT_EQ(layout.controls[5].rect.height, 60);
  EXPECT_EQ(layout.controls[6].rect.height, 90);
  EXPECT_EQ(layout.controls[6].closedHeight, 20);
}

TEST(ControlKindTest, PredefinedClassesByStyle) {
  const struct {
    std::uint16_t ordinal;
    const char16_t* name;
    std::uint32_t style;
    ControlKind kind;
    TextAlign align;
  } cases[] = {
      {0x80, u"", 0x0, ControlKind::kPushButton, TextAlign::kCenter},
      {0x80, u"", 0x1, ControlKind::kDefaultPushButton, TextAlign::kCenter},
      {0x80, u"", 0x2, ControlKind::kCheckBox, TextAlign::kLeft},
      {0x80, u"", 0x3, ControlKind::kCheckBox, TextAlign::kLeft},
      {0x80, u"", 0x4, ControlKind::kRadioButton, TextAlign::kLeft},
      {0x80, u"", 0x5, ControlKind::kThreeState, TextAlign::kLeft},
      {0x80, u"", 0x6, ControlKind::kThreeState, TextAlign::kLeft},
      {0x80, u"", 0x7, ControlKind::kGroupBox, TextAlign::kLeft},
      {0x80, u"", 0x9, ControlKind::kRadioButton, TextAlign::kLeft},
      {0x80, u"", 0xB, ControlKind::kOwnerDrawButton, TextAlign::kCenter},
      {0x80, u"", 0x1003, ControlKind::kCheckBox, TextAlign::kCenter},  // push-like
      {0x80, u"", 0x0100, ControlKind::kPushButton, TextAlign::kLeft},
      {0x81, u"", 0x0, ControlKind::kEdit, TextAlign::kLeft},
      {0x81, u"", 0x2, ControlKind::kEdit, TextAlign::kRight},
      {0x82, u"", 0x0, ControlKind::kStaticText, TextAlign::kLeft},
      {0x82, u"", 0x1, ControlKind::kStaticText, TextAlign::kCenter},
      {0x82, u"", 0x2, ControlKind::kStaticText, TextAlign::kRight},
      {0x82, u"", 0x3, ControlKind::kImageFrame, TextAlign::kLeft},
      {0x82, u"", 0xE, ControlKind::kImageFrame, TextAlign::kLeft},
      {0x82, u"", 0x4, ControlKind::kRectangle, TextAlign::kLeft},
      {0x82, u"", 0x8, ControlKind::kFrame, TextAlign::kLeft},
      {0x82, u"", 0x10, ControlKind::kEtchedLine, TextAlign::kLeft},
      {0x82, u"", 0x12, ControlKind::kEtchedFrame, TextAlign::kLeft},
      {0x83, u"", 0x0, ControlKind::kListBox, TextAlign::kLeft},
      {0x84, u"", 0x1, ControlKind::kScrollBar, TextAlign::kLeft},
      {0x84, u"", 0x10, ControlKind::kSizeBox, TextAlign::kLeft},
      {0x85, u"", 0x1, ControlKind::kComboSimple, TextAlign::kLeft},
      {0x85, u"", 0x2, ControlKind::kComboDropDown, TextAlign::kLeft},
      {0x85, u"", 0x3, ControlKind::kComboDropList, TextAlign::kLeft},
      {0, u"bUTTON", 0x1, ControlKind::kDefaultPushButton, TextAlign::kCenter},
      {0, u"edit", 0x0, ControlKind::kEdit, TextAlign::kLeft},
      {0, u"ComboBox", 0x3, ControlKind::kComboDropList, TextAlign::kLeft},
      {0x86, u"", 0x0, ControlKind::kUnknown, TextAlign::kLeft},
      {0, u"SysListView32", 0x1, ControlKind::kListView, TextAlign::kLeft},
      {0, u"systreeview32", 0x0, ControlKind::kTreeView, TextAlign::kLeft},
      {0, u"msctls_progress32", 0x0, ControlKind::kProgress, TextAlign::kLeft},
      {0, u"msctls_trackbar32", 0x0, ControlKind::kTrackbar, TextAlign::kLeft},
      {0, u"msctls_updown32", 0x0, ControlKind::kUpDown, TextAlign::kLeft},
      {0, u"SysTabControl32", 0x0, ControlKind::kTab, TextAlign::kLeft},
      {0, u"SysDateTimePick32", 0x0, ControlKind::kDateTime, TextAlign::kLeft},
      {0, u"RichEdit20W", 0x4, ControlKind::kRichEdit, TextAlign::kLeft},
      {0, u"RICHEDIT50W", 0x0, ControlKind::kRichEdit, TextAlign::kLeft},
      {0, u"SysLink", 0x0, ControlKind::kLink, TextAlign::kLeft},
      {0, u"MyOwnClass", 0x0, ControlKind::kUnknown, TextAlign::kLeft},
  };
  for (const auto& c : cases) {
    DialogControl control;
    control.style = c.style;
    if (c.ordinal) {
      control.windowClass = {true, c.ordinal, {}};
    } else {
      control.windowClass.text = Utf16ToUtf8(c.name);
    }
    const ControlLook look = ClassifyControl(control);
    const std::string where =
        std::to_string(c.ordinal) + "/" + control.windowClass.text + "/" + std::to_string(c.style);
    EXPECT_EQ(look.kind, c.kind) << where;
    EXPECT_EQ(look.align, c.align) << where;
  }
  DialogControl edit;
  edit.windowClass = {true, 0x81, {}};
  edit.style = 0x4 | 0x20 | 0x800;
  const ControlLook look = ClassifyControl(edit);
  EXPECT_TRUE(look.multiLine && look.password && look.readOnly);
  DialogControl bar;
  bar.windowClass.text = "msctls_trackbar32";
  bar.style = 0x2;
  EXPECT_TRUE(ClassifyControl(bar).vertical);
}

TEST(ResourcePreviewTest, KeysNameTheirResource) {
  const struct {
    const char* key;
    ResourceKind kind;
    bool valid;
    ResourceId name;
  } cases[] = {
      {"DL_N_100", ResourceKind::kDialog, true, ResourceId::Number(100)},
      {"DL_N_100 (3)", ResourceKind::kDialog, true, ResourceId::Number(100)},
      {"MN_S_MainEx (0)", ResourceKind::kMenu, true, ResourceId::Name(std::string_view("MAINEX"))},
      {"DL_S_A B", ResourceKind::kDialog, true, ResourceId::Name(std::string_view("A"))},
      {"ST_N_2", ResourceKind::kString, true, ResourceId::Number(2)},
      {"VS_N_1", ResourceKind::kVersion, true, ResourceId::Number(1)},
      {"DL_N_", ResourceKind::kDialog, false, {}},
      {"DL_N_12x", ResourceKind::kDialog, false, {}},
      {"DL_N_70000", ResourceKind::kDialog, false, {}},
      {"DL", ResourceKind::kUnknown, false, {}},
      {"", ResourceKind::kUnknown, false, {}},
  };
  for (const auto& c : cases) {
    const PreviewKey key = ParsePreviewKey(c.key);
    EXPECT_EQ(key.kind, c.kind) << c.key;
    EXPECT_EQ(key.valid, c.valid) << c.key;
    if (c.valid) {
      EXPECT_EQ(key.name, c.name) << c.key;
      EXPECT_EQ(key.type, ResourceId::Number(KindInfo(c.kind).type)) << c.key;
    }
  }
  using Key = std::optional<std::string>;
  EXPECT_EQ(ChoosePreviewKey(Key("ST_N_1 (1)"), Key("DL_N_1 (0)")), Key("ST_N_1 (1)"));
  EXPECT_EQ(ChoosePreviewKey(std::nullopt, Key("MN_N_1 (0)")), Key("MN_N_1 (0)"));
  EXPECT_EQ(ChoosePreviewKey(std::nullopt, Key("ST_N_1 (1)")), std::nullopt);
  EXPECT_EQ(ChoosePreviewKey(std::nullopt, std::nullopt), std::nullopt);
}

TEST(ResourcePreviewTest, FailureKindsAndTheirMessages) {
  const std::string module = testing::FixturePath("controls64.dll");
  const struct {
    const char* key;
    int kind;
    int which;  // 0 any, 1 dialog only, 2 menu only
    const char* expected;
  } cases[] = {
      {"DL_S_BOTONES (1)", kPreviewOk, 0, nullptr},
      {"DL_N_300", kPreviewOk, 0, nullptr},
      {"MN_N_1 (0)", kPreviewOk, 0, nullptr},
      {"ST_N_1 (0)", kPreviewBadResourceKind, 0,
       "Error mostrando el recurso\nTipo de recurso no válido"},
      {"VS_N_1 (0)", kPreviewBadResourceKind, 0, nullptr},
      {"MN_N_1", kPreviewNotDialog, 1, "Error mostrando el recurso\nEl recurso no es un diálogo"},
      {"DL_N_300", kPreviewNotMenu, 2, "Error mostrando el recurso\nEl recurso no es un menú"},
      {"DL_N_999", kPreviewCannotLoadDialog, 0, nullptr},
      {"MN_S_NADA", kPreviewCannotLoadMenu, 0, nullptr},
  };
  for (const auto& c : cases) {
    PreviewContent content;
    const ResourcePreview result = c.which == 1   ? LoadDialogPreview(module, c.key, content)
                                   : c.which == 2 ? LoadMenuPreview(module, c.key, content)
                                                  : LoadResourcePreview(module, c.key, content);
    EXPECT_EQ(result.failureKind, c.kind) << c.key;
    if (c.expected) {
      EXPECT_EQ(result.Message(), c.expected) << c.key;
    }
  }
  PreviewContent content;
  const ResourcePreview missing = LoadResourcePreview("/nonexistent/app.dll", "DL_N_1", content);
  EXPECT_EQ(missing.failureKind, kPreviewCannotLoadFile);
  EXPECT_EQ(missing.Message(),
            "Error mostrando el recurso\nNo se puede abrir la librería\n"
            "(#20000) No se encuentra el archivo /nonexistent/app.dll.");
  const ResourcePreview notFound = LoadResourcePreview(module, "DL_N_999", content);
  EXPECT_NE(notFound.Message().find("No se puede cargar el diálogo\n(#"), std::string::npos);
  EXPECT_NE(notFound.failureText.find(module), std::string::npos);
}

TEST(ResourcePreviewTest, ContentOfDialogsAndMenus) {
  PreviewContent content;
  ASSERT_FALSE(
      LoadResourcePreview(testing::FixturePath("sample32.dll"), "DL_S_SETTINGS (1)", content)
          .Failed());
  EXPECT_EQ(content.kind, ResourceKind::kDialog);
  EXPECT_EQ(content.dialog.caption, "Opciones");
  EXPECT_TRUE(content.hasMenu) << "the dialog's own menu comes from the module";
  EXPECT_EQ(content.menu.items[0].text, "&Archivo");
  ASSERT_FALSE(
      LoadResourcePreview(testing::FixturePath("sample32.dll"), "MN_S_MAINEX", content).Failed());
  EXPECT_EQ(content.kind, ResourceKind::kMenu);
  EXPECT_TRUE(content.menu.extended);
}

TEST(ResourcePreviewTest, BadInputsLoadOrReport) {
  testing::TempDir dir("preview-bad");
  const std::string path = dir / "bad.dll";
  ASSERT_TRUE(testing::WriteTestModule(path, testing::BadInputResources()));
  PreviewContent content;
  ASSERT_FALSE(LoadResourcePreview(path, "DL_S_DAMAGED", content).Failed());
  EXPECT_TRUE(content.dialogDamaged) << "the dialog host reports 5025";
  for (const char* key : {"DL_S_FAR", "DL_S_NOFONT", "DL_S_LONGCLASS", "MN_S_DEEP60"}) {
    ASSERT_FALSE(LoadResourcePreview(path, key, content).Failed()) << key;
    EXPECT_FALSE(content.dialogDamaged) << key;
  }
  const ResourcePreview deep = LoadResourcePreview(path, "MN_S_DEEP", content);
  EXPECT_EQ(deep.failureKind, kPreviewCannotLoadMenu);
  EXPECT_NE(deep.failureText.find("dañada"), std::string::npos) << deep.failureText;
}

class TranslatedPreviewTest : public ::testing::Test {
 protected:
  TranslatedPreviewTest() : dir_("preview-translated") {}
  void SetUp() override {
    modulePath_ = dir_ / "app.dll";
    std::filesystem::copy_file(testing::FixturePath("controls32.dll"), modulePath_);
    module_.path = modulePath_;
    module_.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module_)) << engine.failureText;
    ModuleLanguage& english = module_.AddLanguage(ModuleLanguage("Inglés", dir_ / "en.dll", false));
    english.SetEntry("DL_S_LISTAS (0)", "Lists and bars");
    english.SetEntry("MN_N_1 (0)", "&File");
    library_ = dir_ / "library.dll";
    testing::WriteFileBytes(library_, TemplateLibraryImage());
    output_ = dir_ / "preview.dll";
  }
  TranslatedPreview Prepare(const std::string& key, PreviewLanguageChooser choose = {}) {
    return PrepareTranslatedPreview(module_, key, choose, library_, output_);
  }

  testing::TempDir dir_;
  std::string modulePath_, library_, output_;
  Module module_;
};

TEST_F(TranslatedPreviewTest, TheOnlyTargetIsGeneratedIntoThePreviewFile) {
  const TranslatedPreview result = Prepare("DL_S_LISTAS (3)");
  ASSERT_EQ(result.outcome, TranslatedPreview::kShow) << result.message;
  EXPECT_EQ(result.key, "DL_S_LISTAS");
  EXPECT_EQ(result.previewPath, output_);
  PreviewContent content;
  ASSERT_FALSE(LoadResourcePreview(output_, result.key, content).Failed());
  EXPECT_EQ(content.dialog.caption, "Lists and bars");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "en.dll")) << "the module's own output stays";
  EXPECT_EQ(module_.FindLanguage("Inglés")->outputFile, dir_ / "en.dll");
}

// The translated preview shows the language's own layout of the dialog.
TEST_F(TranslatedPreviewTest, TheStoredGeometryIsShown) {
  ModuleLayouts layouts;
  ASSERT_EQ(ReadModuleLayouts(modulePath_, layouts), 0);
  const DialogBox& module = layouts.dialogs.at("DL_S_LISTAS");
  ControlGeometry label;
  ASSERT_TRUE(ModuleGeometryOf(module, 1, label));
  label.rect.cx = static_cast<std::int16_t>(label.rect.cx + 25);
  ControlGeometry dialog;
  ASSERT_TRUE(ModuleGeometryOf(module, 0, dialog));
  dialog.rect.cx = static_cast<std::int16_t>(dialog.rect.cx + 40);
  DialogGeometry& geometry = module_.FindLanguage("Inglés")->dialogGeometry["DL_S_LISTAS"];
  geometry[1] = label;
  geometry[0] = dialog;
  const TranslatedPreview result = Prepare("DL_S_LISTAS (0)");
  ASSERT_EQ(result.outcome, TranslatedPreview::kShow) << result.message;
  PreviewContent content;
  ASSERT_FALSE(LoadResourcePreview(output_, result.key, content).Failed());
  EXPECT_EQ(content.dialog.cx, dialog.rect.cx);
  EXPECT_EQ(content.dialog.controls[0].cx, label.rect.cx);
  EXPECT_EQ(content.dialog.controls[1].cx, module.controls[1].cx);
}

TEST_F(TranslatedPreviewTest, AThirdLanguageAsksAndCancelShowsNothing) {
  module_.AddLanguage(ModuleLanguage("Francés", dir_ / "fr.dll", false))
      .SetEntry("MN_N_1 (0)", "&Fichier");
  std::vector<std::string> offered;
  const auto cancel = [&](const std::vector<std::string>& names) {
    offered = names;
    return std::string();
  };
  EXPECT_EQ(Prepare("MN_N_1 (0)", cancel).outcome, TranslatedPreview::kCancelled);
  EXPECT_EQ(offered, (std::vector<std::string>{"Inglés", "Francés"}));
  EXPECT_FALSE(std::filesystem::exists(output_));
  const auto french = [](const std::vector<std::string>&) { return std::string("Francés"); };
  const TranslatedPreview result = Prepare("MN_N_1 (0)", french);
  ASSERT_EQ(result.outcome, TranslatedPreview::kShow) << result.message;
  PreviewContent content;
  ASSERT_FALSE(LoadResourcePreview(output_, result.key, content).Failed());
  EXPECT_EQ(content.menu.items[0].text, "&Fichier");
}

TEST_F(TranslatedPreviewTest, FailuresNameTheirMessage) {
  TranslatedPreview result = Prepare("DL_N_999");
  EXPECT_EQ(result.outcome, TranslatedPreview::kFailed);
  EXPECT_EQ(result.messageId, kMsgCannotShowResource);
  EXPECT_EQ(result.message, "No se puede mostrar el recurso actual");

  std::filesystem::remove(library_);
  result = Prepare("DL_S_LISTAS");
  EXPECT_EQ(result.messageId, kMsgCannotShowResource);
  EXPECT_NE(result.message.find("library.dll"), std::string::npos) << result.message;

  testing::WriteFileBytes(library_, TemplateLibraryImage());
  module_.FindLanguage("Inglés")->name = "";  // fails validation
  module_.languages.back().outputFile.clear();
  const auto any = [](const std::vector<std::string>&) { return std::string("x"); };
  EXPECT_EQ(Prepare("DL_S_LISTAS", any).outcome, TranslatedPreview::kCancelled);

  std::filesystem::rename(modulePath_, dir_ / "moved.dll");
  result = Prepare("DL_S_LISTAS");
  EXPECT_EQ(result.messageId, kMsgCannotOpenModuleLibrary);
  EXPECT_EQ(result.message, "No se ha podido abrir la librería\n\n[" + modulePath_ +
                                "]\n\nasociada al módulo actual");
}

TEST_F(TranslatedPreviewTest, GenerationFailureIsReported) {
  testing::WriteFileBytes(dir_ / "file", "not a folder");
  output_ = dir_ / "file/preview.dll";
  const TranslatedPreview result = Prepare("DL_S_LISTAS");
  EXPECT_EQ(result.messageId, kMsgCannotPreviewResource);
  EXPECT_EQ(result.message.rfind("No se puede previsualizar el recurso seleccionado", 0), 0u);
}

}  // namespace
}  // namespace ulk
