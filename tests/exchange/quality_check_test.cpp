// The translation checks on a project read from a fixture module, whose
// dialogs and menus give the widths and the menu levels.
#include "translator/exchange/quality_check.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/scripted_ui.h"
#include "tests/test_support.h"
#include "translator/exchange/text_width.h"
#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

class QualityCheckTest : public ::testing::Test {
 protected:
  QualityCheckTest() : dir_("check") {}
  void SetUp() override {
    fs::copy_file(testing::FixturePath("sample32.dll"), dir_ / "app.dll");
    Module module;
    module.path = dir_ / "app.dll";
    module.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module)) << engine.failureText;
    Module* stored = project_.AddModule(module, true);
    stored->AddLanguage(ModuleLanguage("Deutsch", dir_ / "de.dll", false));
    // Everything translated well, so that each case below finds only what
    // it plants.
    for (const TextEntry& entry : stored->DefaultLanguage()->Entries()) {
      German().SetEntry(entry.key, "_" + entry.text);
    }
    Set("MN_N_1 (0)", "&Datei");
    Set("MN_N_1 (1)", "Ö&ffnen\\tStrg+O");
    Set("MN_N_1 (3)", "&Zuletzt");
    Set("MN_N_1 (6)", "&Beenden");
    Set("MN_N_1 (7)", "&Hilfe");
    Set("MN_N_1 (8)", "Ü&ber...");
    Set("ST_N_1 (3)", "Zeile eins\\nZeile zwei");
  }
  Module& M() { return project_.modules.front(); }
  ModuleLanguage& German() { return *M().FindLanguage("Deutsch"); }
  void Set(const std::string& key, const std::string& text) { German().SetEntry(key, text); }
  std::vector<std::string> Found(const std::string* language = nullptr) {
    testing::ScriptedUi ui;
    const CheckResult result = CheckTranslations(project_, nullptr, language, ui);
    EXPECT_EQ(ui.waits, 0);
    std::vector<std::string> found;
    for (const Finding& f : result.findings) {
      found.push_back(f.key + " " + CheckId(f.check) + ": " + f.detail);
      EXPECT_EQ(f.moduleFile, "app.dll");
      EXPECT_EQ(f.moduleId, M().id);
      EXPECT_EQ(f.original, M().DefaultLanguage()->FindEntry(f.key)->text);
    }
    notes_ = result.notes;
    return found;
  }

  testing::TempDir dir_;
  Project project_;
  std::vector<std::string> notes_;
};

TEST_F(QualityCheckTest, AWellTranslatedModuleHasNoFindings) {
  EXPECT_EQ(Found(), std::vector<std::string>{});
  EXPECT_EQ(notes_, std::vector<std::string>{});
}

TEST_F(QualityCheckTest, EachCheckFindsWhatItLooksFor) {
  M().DefaultLanguage()->SetEntry("ST_N_5 (0)", "%d de %s: %1");
  M().DefaultLanguage()->SetEntry("ST_N_5 (1)", "Guardar:");
  M().DefaultLanguage()->SetEntry("ST_N_5 (2)", "123");
  M().DefaultLanguage()->SetEntry("ST_N_5 (3)", "Igual");
  M().DefaultLanguage()->SetEntry("ST_N_5 (4)", "¿Seguro?");
  Set("ST_N_5 (0)", "%s von %d: %2");
  Set("ST_N_5 (1)", " Speichern");
  Set("ST_N_5 (3)", "Igual");
  Set("ST_N_5 (4)", "Sicher…");
  Set("ST_N_1 (1)", "Öff&nen");
  German().RemoveEntry("ST_N_1 (15)");
  EXPECT_EQ(
      Found(),
      (std::vector<std::string>{
          "ST_N_1 (1) hotkey-count: teclas de acceso (&): 0 en el original, 1 en la traducción",
          "ST_N_1 (15) untranslated: no hay traducción",
          "ST_N_5 (0) format: orden distinto: %d %s en el original, %s %d en la traducción; "
          "falta %1; sobra %2",
          "ST_N_5 (1) blanks: espacios distintos al principio",
          "ST_N_5 (1) punctuation: puntuación final: \":\" en el original, sin puntuación en "
          "la traducción",
          "ST_N_5 (3) identical: la traducción repite el original",
          "ST_N_5 (4) punctuation: puntuación final: \"?\" en el original, \"...\" en la "
          "traducción",
      }));
}

TEST_F(QualityCheckTest, HotkeysOfOneMenuLevelOrDialog) {
  // "&Zuletzt" shares Z with nothing; "&Beenden" is on the level of "Ö&ffnen".
  Set("MN_N_1 (6)", "&Fertig");
  // Items of different levels may share a letter: "&Hilfe" is on top.
  Set("MN_N_1 (8)", "&Hilfe...");
  // Two controls of one dialog.
  Set("DL_S_SETTINGS (5)", "&Gruppe");
  Set("DL_S_SETTINGS (6)", "&Gut");
  EXPECT_EQ(Found(),
            (std::vector<std::string>{
                "MN_N_1 (6) hotkey-clash: la tecla de acceso F también está en MN_N_1 (1)",
                "DL_S_SETTINGS (5) hotkey-count: teclas de acceso (&): 0 en el original, 1 en la "
                "traducción",
                "DL_S_SETTINGS (6) hotkey-count: teclas de acceso (&): 0 en el original, 1 en la "
                "traducción",
                "DL_S_SETTINGS (6) hotkey-clash: la tecla de acceso G también está en "
                "DL_S_SETTINGS (5)"}));
}

// Liberation Sans has no letters for these scripts: they are measured in the
// fonts fontconfig falls back to (installed by scripts/setup), never as the
// face's empty box.
TEST(TextMeasurerTest, LettersTheDialogFontLacksAreMeasuredInAFallbackFont) {
  TextMeasurer measurer;
  DialogFont font;
  font.pointSize = 8;
  font.face = "MS Shell Dlg";
  ASSERT_TRUE(measurer.Select(&font)) << measurer.Problem();
  const int box = measurer.TextWidth("\xEF\xBF\xBF");  // a non-character: no font has it
  for (const char* text : {"日本語", "中文字", "한국어", "עברית", "العربية", "ภาษาไทย", "हिन्दी"}) {
    const int width = measurer.TextWidth(text);
    EXPECT_GT(width, 0) << text;
    EXPECT_NE(width, 3 * box) << text << " measured as boxes";
    EXPECT_EQ(measurer.TextWidth(std::string(text) + text), 2 * width) << text;
  }
  // An ideograph is about as wide as the font is high: far wider than "i".
  EXPECT_GT(measurer.TextWidth("日"), 2 * measurer.TextWidth("i"));
}

TEST_F(QualityCheckTest, TextsWiderThanTheirControls) {
  TextMeasurer measurer;
  DialogFont font;
  font.pointSize = 8;
  font.face = "MS Shell Dlg";
  ASSERT_TRUE(measurer.Select(&font)) << measurer.Problem();
  EXPECT_GT(measurer.BaseUnitX(), 3);
  EXPECT_GT(measurer.BaseUnitY(), 10);
  EXPECT_GT(measurer.TextWidth("WWWW"), measurer.TextWidth("iiii"));

  // The default button of dialog 101 is 50 units wide, the label 100 x 8
  // (one line), the check box of SETTINGS 80 x 10.
  Set("DL_N_101 (4)", "Einverstanden und übernehmen");
  Set("DL_N_101 (2)", "Version 1.0 mit einem sehr langen Zusatz, der nicht passt");
  Set("DL_S_SETTINGS (6)", "Aktivieren");
  const std::vector<std::string> found = Found();
  ASSERT_EQ(found.size(), 2u) << ::testing::PrintToString(found);
  EXPECT_EQ(found[0].rfind("DL_N_101 (2) width: en MS Shell Dlg 8: necesita ", 0), 0u) << found[0];
  EXPECT_NE(found[0].find(" líneas y el control tiene sitio para 1"), std::string::npos);
  EXPECT_EQ(found[1].rfind("DL_N_101 (4) width: en MS Shell Dlg 8: mide ", 0), 0u) << found[1];
  EXPECT_NE(found[1].find(" (50 unidades de diálogo)"), std::string::npos);
}

TEST_F(QualityCheckTest, OneLanguageAndAModuleThatCannotBeRead) {
  M().AddLanguage(ModuleLanguage("Français", dir_ / "fr.dll", false));
  const std::string french = "Français";
  EXPECT_GT(Found(&french).size(), 10u);
  EXPECT_EQ(Found(nullptr).size(), Found(&french).size());
  M().path = dir_ / "gone.dll";
  Set("MN_N_1 (6)", "&Fertig");
  const std::string german = "Deutsch";
  EXPECT_EQ(Found(&german), std::vector<std::string>{});
  ASSERT_EQ(notes_.size(), 1u);
  EXPECT_EQ(notes_[0].rfind("gone.dll: sin comprobar anchos ni teclas de menú: ", 0), 0u);
}

}  // namespace
}  // namespace ulk
