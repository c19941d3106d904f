// A target language's dialog geometry through generation and a new
// reading of the module.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/pe_image.h"
#include "tests/test_support.h"
#include "translator/model/resource_engine.h"
#include "translator/resources/resource_kind.h"
#include "translator/resources/resource_layout.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

class GeometryGenerationTest : public ::testing::TestWithParam<const char*> {
 protected:
  GeometryGenerationTest() : dir_("geometry") {}
  void SetUp() override {
    modulePath_ = dir_ / "app.dll";
    fs::copy_file(testing::FixturePath(GetParam()), modulePath_);
    module_.path = modulePath_;
    module_.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module_)) << engine.failureText;
    ASSERT_EQ(ReadModuleLayouts(modulePath_, layouts_), 0);
  }
  ModuleLanguage& German() {
    return module_.AddLanguage(ModuleLanguage("Deutsch", dir_ / "de/app.dll", false));
  }
  const DialogBox& Dialog(const char* key) { return layouts_.dialogs.at(key); }
  ControlGeometry Moved(const char* dialog, std::uint32_t item, DialogRect rect) {
    ControlGeometry geometry;
    EXPECT_TRUE(ModuleGeometryOf(Dialog(dialog), item, geometry));
    geometry.rect = rect;
    return geometry;
  }
  std::string BytesOf(const std::string& path, std::uint32_t dialog) {
    ModuleImage image;
    EXPECT_EQ(image.Open(path), 0);
    const ResourceData* data =
        image.Find(ResourceId::Number(kRtDialog), ResourceId::Number(dialog));
    return data ? std::string(data->bytes) : std::string();
  }

  testing::TempDir dir_;
  std::string modulePath_;
  Module module_;
  ModuleLayouts layouts_;
};

TEST_P(GeometryGenerationTest, GenerationWritesTheRectanglesAndNothingElse) {
  ModuleLanguage& german = German();
  german.SetEntry("DL_N_200 (1)", "Vorname:");
  german.dialogGeometry["DL_N_200"][1] = Moved("DL_N_200", 1, {7, 9, 45, 8});
  german.dialogGeometry["DL_N_200"][2] = Moved("DL_N_200", 2, {55, 7, 100, 12});
  german.dialogGeometry["DL_N_200"][0] = Moved("DL_N_200", 0, {0, 0, 215, 90});
  // Set against a control the module no longer has as it was: not applied.
  ControlGeometry stale = Moved("DL_N_200", 8, {160, 7, 50, 14});
  stale.id = 999;
  german.dialogGeometry["DL_N_200"][8] = stale;
  ResourceEngine engine;
  ASSERT_TRUE(engine.GenerateLanguages(&module_)) << engine.failureText;

  ModuleLayouts out;
  ASSERT_EQ(ReadModuleLayouts(dir_ / "de/app.dll", out), 0);
  const DialogBox& data = out.dialogs.at("DL_N_200");
  EXPECT_EQ(RectOf(data.controls[0]), (DialogRect{7, 9, 45, 8}));
  EXPECT_EQ(RectOf(data.controls[1]), (DialogRect{55, 7, 100, 12}));
  EXPECT_EQ(RectOf(data), (DialogRect{0, 0, 215, 90}));
  EXPECT_EQ(RectOf(data.controls[7]), RectOf(Dialog("DL_N_200").controls[7]));
  for (std::size_t i = 2; i < data.controls.size(); ++i) {
    EXPECT_EQ(RectOf(data.controls[i]), RectOf(Dialog("DL_N_200").controls[i])) << i;
  }
  // The dialog without geometry comes out byte for byte.
  EXPECT_EQ(BytesOf(dir_ / "de/app.dll", 201), BytesOf(modulePath_, 201));
  ResourceEngine reader;
  ASSERT_TRUE(reader.ReadTexts(dir_ / "de/app.dll"));
  EXPECT_EQ(reader.readTexts[1].second, "Vorname:");
}

TEST_P(GeometryGenerationTest, ANewReadingDropsWhatNoLongerMatchesAndSaysSo) {
  ModuleLanguage& german = German();
  german.dialogGeometry["DL_N_200"][1] = Moved("DL_N_200", 1, {7, 9, 45, 8});
  ControlGeometry changed = Moved("DL_N_200", 2, {55, 7, 100, 12});
  changed.original.cx = 90;  // the module's edit box was narrower then
  german.dialogGeometry["DL_N_200"][2] = changed;
  german.dialogGeometry["DL_N_200"][12] = Moved("DL_N_200", 1, {1, 1, 1, 1});    // no control 12
  german.dialogGeometry["DL_N_999"][0] = Moved("DL_N_200", 0, {0, 0, 300, 90});  // no dialog 999
  ResourceEngine engine;
  ASSERT_TRUE(engine.GetResources(&module_)) << engine.failureText;
  ASSERT_EQ(german.dialogGeometry.size(), 1u);
  const DialogGeometry& kept = german.dialogGeometry.at("DL_N_200");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept.count(1), 1u);
  ASSERT_EQ(engine.warnings.size(), 3u);
  EXPECT_NE(engine.warnings[0].find("DL_N_200 (2) en Deutsch"), std::string::npos)
      << engine.warnings[0];
}

INSTANTIATE_TEST_SUITE_P(BothFormats, GeometryGenerationTest,
                         ::testing::Values("layout32.dll", "layout64.dll"));

}  // namespace
}  // namespace ulk
