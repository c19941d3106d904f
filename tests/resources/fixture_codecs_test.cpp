// The codecs on modules built by windres: every menu, dialog, string block
// and version resource rebuilds byte for byte without translations, in both
// formats.
#include <gtest/gtest.h>

#include "platform/pe_image.h"
#include "tests/resources/codec_items.h"
#include "tests/test_support.h"
#include "translator/resources/dialog_codec.h"
#include "translator/resources/menu_codec.h"
#include "translator/resources/string_table.h"
#include "translator/resources/version_codec.h"

namespace ulk {
namespace {

class FixtureCodecsTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_EQ(image_.Open(testing::FixturePath(GetParam())), 0) << image_.Detail();
  }
  std::string_view Data(std::uint32_t type, const ResourceId& name) {
    const ResourceData* data = image_.Find(ResourceId::Number(type), name);
    return data ? data->bytes : std::string_view();
  }
  ModuleImage image_;
};

TEST_P(FixtureCodecsTest, EveryTemplateRebuildsByteForByte) {
  for (const auto& type : image_.Resources()) {
    for (const auto& name : type.names) {
      for (const auto& data : name.languages) {
        const std::string where = type.id.Describe() + "/" + name.id.Describe();
        std::optional<std::string> rebuilt;
        if (type.id.number == 4) {
          MenuCodec codec;
          ASSERT_TRUE(codec.Parse(data.bytes)) << where << codec.Problem();
          rebuilt = codec.Build();
        } else if (type.id.number == 5) {
          DialogCodec codec;
          ASSERT_TRUE(codec.Parse(data.bytes)) << where << codec.Problem();
          rebuilt = codec.Build();
        } else if (type.id.number == 6) {
          rebuilt = EncodeStringBlock(data.bytes, {});
        } else if (type.id.number == 16) {
          VersionCodec codec;
          ASSERT_TRUE(codec.Parse(data.bytes)) << where << codec.Problem();
          rebuilt = codec.Build();
        } else {
          continue;
        }
        ASSERT_TRUE(rebuilt.has_value()) << where;
        EXPECT_EQ(*rebuilt, data.bytes) << where;
      }
    }
  }
}

TEST_P(FixtureCodecsTest, TextsOfEachKind) {
  MenuCodec menu;
  ASSERT_TRUE(menu.Parse(Data(4, ResourceId::Number(1))));
  EXPECT_EQ(
      testing::ItemLines(menu),
      (std::vector<std::string>{"0:0:&Archivo", "1:100:&Abrir\tCtrl+A", "3:0:&Recientes",
                                "4:110:Uno", "6:101:&Salir", "7:0:A&yuda", "8:102:&Acerca de..."}));
  MenuCodec extended;
  ASSERT_TRUE(extended.Parse(Data(4, ResourceId::Name(std::string_view("MAINEX")))));
  EXPECT_EQ(testing::ItemLines(extended),
            (std::vector<std::string>{"0:200:&Edición", "1:201:&Copiar", "3:0:&Más",
                                      "4:74565:Pegar especial", "5:300:&Ventana"}));

  DialogCodec dialog;
  ASSERT_TRUE(dialog.Parse(Data(5, ResourceId::Number(101))));
  // The icon (1), edit (3), list (5), scroll bar (6), combo (7), the two
  // classes given by name, "BUTTON" (8) and "MYOWNCLASS" (9), and the empty
  // static (10) give no text.
  EXPECT_EQ(testing::ItemLines(dialog),
            (std::vector<std::string>{"0:-1:Acerca de", "2:1001:Versión 1.0", "4:1:Aceptar"}));
  DialogCodec dialogEx;
  ASSERT_TRUE(dialogEx.Parse(Data(5, ResourceId::Name(std::string_view("SETTINGS")))));
  EXPECT_TRUE(dialogEx.IsExtended());
  EXPECT_EQ(testing::ItemLines(dialogEx),
            (std::vector<std::string>{"0:-1:Opciones", "2:2001:Nombre:", "4:9029:Aplicar",
                                      "5:2003:Grupo", "6:2004:Activar"}));

  VersionCodec version;
  ASSERT_TRUE(version.Parse(Data(16, ResourceId::Number(1))));
  EXPECT_EQ(testing::ItemLines(version),
            (std::vector<std::string>{"0:0:ACME", "1:0:Biblioteca de ejemplo", "2:0:1.2.3.4",
                                      "3:0:Ejemplo"}));

  std::vector<StringTableText> strings;
  ASSERT_TRUE(DecodeStringBlock(1, Data(6, ResourceId::Number(1)), strings));
  ASSERT_TRUE(DecodeStringBlock(7, Data(6, ResourceId::Number(7)), strings));
  ASSERT_EQ(strings.size(), 4u);
  EXPECT_EQ(strings[1].id, 3u);
  EXPECT_EQ(strings[1].text, "Línea uno\nLínea dos");
  EXPECT_EQ(strings[2].text, "Tab\there");
  EXPECT_EQ(strings[3].id, 98u);
  EXPECT_EQ(strings[3].text, "Ελληνικά 日本語");
}

TEST_P(FixtureCodecsTest, TranslatedTemplatesReadBack) {
  DialogCodec dialog;
  ASSERT_TRUE(dialog.Parse(Data(5, ResourceId::Name(std::string_view("SETTINGS")))));
  dialog.SetItemTranslation(0, "Options générales");
  dialog.SetItemTranslation(4, "Appliquer maintenant");
  DialogCodec back;
  ASSERT_TRUE(back.Parse(*dialog.Build()));
  EXPECT_EQ(testing::ItemLines(back),
            (std::vector<std::string>{"0:-1:Options générales",
                                      "2:2001:Nombre:", "4:9029:Appliquer maintenant",
                                      "5:2003:Grupo", "6:2004:Activar"}));
}

INSTANTIATE_TEST_SUITE_P(BothFormats, FixtureCodecsTest,
                         ::testing::Values("sample32.dll", "sample64.dll"));

}  // namespace
}  // namespace ulk
