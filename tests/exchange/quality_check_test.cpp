// The translation checks on a project read from a fixture module, whose
// dialogs and menus give the widths and the menu levels.
#include "translator/exchange/quality_check.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/resources/resource_fixtures.h"
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

TEST_F(QualityCheckTest, MessageTextsKeepTheFormattersInsertsAndEscapes) {
  ModuleLanguage& original = *M().DefaultLanguage();
  original.SetEntry("MT_N_1 (1)", "Disk %1 is full.%n100%% used%r");
  original.SetEntry("MT_N_1 (2)", "%1!s! of %2!d!");
  original.SetEntry("MT_N_1 (3)", "Ready.%0");
  Set("MT_N_1 (1)", "El disco %1 est\u00E1 lleno.%n100% usado%r");
  Set("MT_N_1 (2)", "%2!d! de %1!s!");  // inserts may change places
  Set("MT_N_1 (3)", "Listo.%n");
  // "100% usado" holds the formatter's "% " (a blank) where "%%" was.
  EXPECT_EQ(Found(), (std::vector<std::string>{"MT_N_1 (1) format: falta %%; sobra % ",
                                               "MT_N_1 (3) format: falta %0; sobra %n"}));
}

// The fixture's menu with an accelerator table that binds its "Abrir"
// (command 100) to `chord`.
void AddAccelerators(const std::string& module, std::uint16_t flags, std::uint16_t key) {
  testing::Bytes table;
  table.u16(0x01 | 0x08).u16('Q').u16(101).u16(0);  // Ctrl+Q: Salir
  table.u16(static_cast<std::uint16_t>(flags | 0x80)).u16(key).u16(100).u16(0);
  testing::PutResources(testing::FixturePath("sample32.dll"), module,
                        {{kRtAccelerator, ResourceId::Number(1), table.str()}});
}

TEST_F(QualityCheckTest, MenuShortcutsAgainstTheirAccelerators) {
  M().AddLanguage(ModuleLanguage("Español", dir_ / "es.dll", false));
  ModuleLanguage& spanish = *M().FindLanguage("Español");
  for (const TextEntry& entry : M().DefaultLanguage()->Entries())
    spanish.SetEntry(entry.key, "_" + entry.text);
  spanish.SetEntry("MN_N_1 (1)", "&Abrir\\tMay\u00FAs+Ctrl+A");
  const struct {
    std::uint16_t flags;
    std::uint16_t key;
    std::string german;
    std::vector<std::string> found;
  } cases[] = {
      // Ctrl+A bound: "Strg+O" names another key; "Strg+A" is the same one.
      {0x01 | 0x08,
       'A',
       "Ö&ffnen\\tStrg+O",
       {"MN_N_1 (1) shortcut: el atajo Strg+O no es la tecla del acelerador de la orden 100 "
        "(Ctrl+A)",
        "MN_N_1 (1) shortcut: el atajo Mayús+Ctrl+A no es la tecla del acelerador de la orden "
        "100 (Ctrl+A)"}},
      {0x01 | 0x08,
       'A',
       "Ö&ffnen\\tStrg+A",
       {"MN_N_1 (1) shortcut: el atajo Mayús+Ctrl+A no es la tecla del acelerador de la orden "
        "100 (Ctrl+A)"}},
      // Ctrl+Shift+A bound: the original is wrong, told once for both
      // languages; Spanish names it with Mayús.
      {0x01 | 0x08 | 0x04,
       'A',
       "Ö&ffnen\\tUmschalt+Strg+A",
       {"MN_N_1 (1) shortcut: en el original, el atajo Ctrl+A no es la tecla del acelerador de "
        "la orden 100 (Ctrl+Shift+A)"}},
      // A character accelerator ("^A") is Ctrl and its letter, whatever
      // Shift does.
      {0, 1, "Ö&ffnen\\tStrg+A", {}},
      {0,
       1,
       "Ö&ffnen\\tAlt+A",
       {"MN_N_1 (1) shortcut: el atajo Alt+A no es la tecla del acelerador de la orden 100 "
        "(Ctrl+A)"}},
  };
  for (const auto& c : cases) {
    AddAccelerators(dir_ / "app.dll", c.flags, c.key);
    Set("MN_N_1 (1)", c.german);
    std::vector<std::string> shortcuts;
    for (const std::string& found : Found()) {
      if (found.find(" shortcut: ") != std::string::npos) shortcuts.push_back(found);
    }
    EXPECT_EQ(shortcuts, c.found) << c.german;
  }
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
