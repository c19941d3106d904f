#include <gtest/gtest.h>

#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

class MergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_.path = "/m.dll";
    module_.AddLanguage(ModuleLanguage("Español", "", true));
    module_.AddLanguage(ModuleLanguage("English", "/en.dll", false));
    module_.AddLanguage(ModuleLanguage("Deutsch", "/de.dll", false));
  }
  ModuleLanguage& Original() { return *module_.DefaultLanguage(); }
  ModuleLanguage& English() { return *module_.FindLanguage("English"); }
  ModuleLanguage& German() { return *module_.FindLanguage("Deutsch"); }

  // key=text for every entry, in order; status after "|" for the default.
  static std::vector<std::string> Dump(const ModuleLanguage& language) {
    std::vector<std::string> out;
    for (const TextEntry& e : language.Entries()) {
      out.push_back(e.key + "=" + e.text +
                    (language.isDefault ? "|" + std::to_string(e.status) : ""));
    }
    return out;
  }
  void Read(const ReadTextList& texts) { MergeReadTexts(module_, texts); }

  Module module_;
};

TEST_F(MergeTest, FirstReadMarksEverythingNew) {
  Read({{"ST_N_1 (0)", "Abrir"}, {"MN_N_1 (0)", "&Archivo"}});
  EXPECT_EQ(Dump(Original()),
            (std::vector<std::string>{"ST_N_1 (0)=Abrir|1", "MN_N_1 (0)=&Archivo|1"}));
}

TEST_F(MergeTest, RereadingAnUnchangedModuleKeepsEverything) {
  const ReadTextList texts = {{"ST_N_1 (0)", "Abrir"}, {"ST_N_1 (1)", "Cerrar"}};
  Read(texts);
  English().SetEntry("ST_N_1 (0)", "Open");
  Original().FindEntry("ST_N_1 (0)")->status = kStatusByHand;
  Read(texts);
  EXPECT_EQ(Dump(Original()),
            (std::vector<std::string>{"ST_N_1 (0)=Abrir|0", "ST_N_1 (1)=Cerrar|0"}));
  EXPECT_EQ(Dump(English()), std::vector<std::string>{"ST_N_1 (0)=Open"});
}

TEST_F(MergeTest, TranslationsFollowRenumberedItems) {
  Read({{"MN_N_1 (0)", "&Archivo"}, {"MN_N_1 (1)", "&Abrir"}, {"MN_N_1 (2)", "&Salir"}});
  English().SetEntry("MN_N_1 (1)", "&Open");
  English().SetEntry("MN_N_1 (2)", "E&xit");
  // An item inserted before Open; Exit's text changed.
  Read({{"MN_N_1 (0)", "&Archivo"},
        {"MN_N_1 (1)", "&Nuevo"},
        {"MN_N_1 (2)", "&Abrir"},
        {"MN_N_1 (3)", "&Terminar"}});
  EXPECT_EQ(Dump(English()), std::vector<std::string>{"MN_N_1 (2)=&Open"});
  EXPECT_EQ(Dump(Original()),
            (std::vector<std::string>{"MN_N_1 (0)=&Archivo|0", "MN_N_1 (1)=&Nuevo|1",
                                      "MN_N_1 (2)=&Abrir|1", "MN_N_1 (3)=&Terminar|1"}))
      << "a text under a new key counts as new";
}

TEST_F(MergeTest, ChangedAndVanishedTextsLoseTheirTranslations) {
  Read({{"ST_N_1 (0)", "Abrir"}, {"ST_N_1 (1)", "Cerrar"}, {"DL_N_5 (0)", "Acerca de"}});
  English().SetEntry("ST_N_1 (0)", "Open");
  English().SetEntry("ST_N_1 (1)", "Close");
  English().SetEntry("DL_N_5 (0)", "About");
  English().SetEntry("XX_UNKNOWN (3)", "kept");
  German().SetEntry("ST_N_1 (1)", "Schließen");
  Read({{"ST_N_1 (0)", "Abrir..."}, {"ST_N_1 (1)", "Cerrar"}});
  EXPECT_EQ(Dump(English()), (std::vector<std::string>{"XX_UNKNOWN (3)=kept", "ST_N_1 (1)=Close"}));
  EXPECT_EQ(Dump(German()), std::vector<std::string>{"ST_N_1 (1)=Schließen"});
  EXPECT_EQ(Dump(Original()),
            (std::vector<std::string>{"ST_N_1 (0)=Abrir...|1", "ST_N_1 (1)=Cerrar|0"}));
}

TEST_F(MergeTest, AModuleWithoutTextsEmptiesTheDefaultLanguage) {
  Read({{"ST_N_1 (0)", "Abrir"}});
  English().SetEntry("ST_N_1 (0)", "Open");
  English().SetEntry("ST_N_9 (9)", "never read");
  Read({});
  EXPECT_EQ(Original().EntryCount(), 0u);
  EXPECT_EQ(Dump(English()), std::vector<std::string>{"ST_N_9 (9)=never read"})
      << "an entry whose key never matched stays";
}

TEST_F(MergeTest, RepeatedTextsAndGroupsOfNamedResources) {
  Read({{"DL_S_ABOUT (0)", "Acerca de"},
        {"DL_S_ZOOM (0)", "Zoom"},
        {"DL_S_MY_DLG (0)", "Mío"},
        {"ST_N_1 (0)", "Sí"},
        {"ST_N_1 (1)", "No"}});
  English().SetEntry("DL_S_ABOUT (0)", "About");
  English().SetEntry("DL_S_ZOOM (0)", "Zoom in");
  English().SetEntry("DL_S_MY_DLG (0)", "Mine");
  English().SetEntry("ST_N_1 (0)", "Yes");
  German().SetEntry("ST_N_1 (0)", "Ja");
  German().SetEntry("ST_N_1 (1)", "Ja!");  // a second note on... another text
  // ABOUT and ZOOM swap names inside the group DL_S; "Sí" now occurs twice.
  Read({{"DL_S_ABOUT (0)", "Zoom"},
        {"DL_S_ZOOM (0)", "Acerca de"},
        {"DL_S_MY_DLG (0)", "Mío"},
        {"ST_N_1 (0)", "Sí"},
        {"ST_N_1 (1)", "No"},
        {"ST_N_1 (2)", "Sí"}});
  EXPECT_EQ(English().FindEntry("DL_S_ABOUT (0)")->text, "Zoom in");
  EXPECT_EQ(English().FindEntry("DL_S_ZOOM (0)")->text, "About");
  EXPECT_EQ(English().FindEntry("DL_S_MY_DLG (0)")->text, "Mine");
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)")->text, "Yes");
  EXPECT_EQ(English().FindEntry("ST_N_1 (2)")->text, "Yes") << "every occurrence";
  EXPECT_EQ(German().FindEntry("ST_N_1 (2)")->text, "Ja");
  EXPECT_EQ(Original().FindEntry("DL_S_ABOUT (0)")->status, kStatusNewOrChanged);
  EXPECT_EQ(Original().FindEntry("DL_S_MY_DLG (0)")->status, kStatusUnchanged);
}

TEST_F(MergeTest, TheLaterOfTwoTranslationsOfOneTextWins) {
  Read({{"ST_N_1 (0)", "Aceptar"}, {"ST_N_1 (1)", "Aceptar"}});
  English().SetEntry("ST_N_1 (0)", "OK");
  English().SetEntry("ST_N_1 (1)", "Accept");
  Read({{"ST_N_1 (0)", "Aceptar"}, {"ST_N_1 (5)", "Aceptar"}});
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)")->text, "Accept");
  EXPECT_EQ(English().FindEntry("ST_N_1 (5)")->text, "Accept");
}

TEST_F(MergeTest, AnEmptyTranslationDoesNotWinOverAText) {
  Read({{"ST_N_1 (0)", "Aceptar"}, {"ST_N_1 (1)", "Aceptar"}});
  English().SetEntry("ST_N_1 (0)", "OK");
  English().SetEntry("ST_N_1 (1)", "").note = "¿botón?";
  Read({{"ST_N_1 (0)", "Aceptar"}, {"ST_N_1 (1)", "Aceptar"}});
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)")->text, "OK");
  EXPECT_EQ(English().FindEntry("ST_N_1 (1)")->text, "OK");
}

TEST_F(MergeTest, ATranslationThatMovesIsToBeReviewedAndKeepsItsNote) {
  Read({{"MN_N_1 (0)", "&Archivo"}, {"MN_N_1 (1)", "&Abrir"}, {"MN_N_1 (2)", "&Salir"}});
  TextEntry& file = English().SetEntry("MN_N_1 (0)", "&File");
  file.review = kReviewDone;
  file.note = "top menu";
  TextEntry& open = English().SetEntry("MN_N_1 (1)", "&Open");
  open.review = kReviewDone;
  open.note = "opens a file";
  German().SetEntry("MN_N_1 (1)", "Ö&ffnen");
  Original().FindEntry("MN_N_1 (0)")->note = "nota del menú";
  Original().FindEntry("MN_N_1 (1)")->note = "nota de abrir";
  Original().FindEntry("MN_N_1 (2)")->note = "nota de salir";
  // An item inserted before Open; Exit's text changed.
  Read({{"MN_N_1 (0)", "&Archivo"},
        {"MN_N_1 (1)", "&Nuevo"},
        {"MN_N_1 (2)", "&Abrir"},
        {"MN_N_1 (3)", "&Terminar"}});
  const TextEntry* stayed = English().FindEntry("MN_N_1 (0)");
  ASSERT_NE(stayed, nullptr);
  EXPECT_EQ(stayed->review, kReviewDone);
  EXPECT_EQ(stayed->note, "top menu");
  const TextEntry* moved = English().FindEntry("MN_N_1 (2)");
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(moved->text, "&Open");
  EXPECT_EQ(moved->review, kReviewNeeded);
  EXPECT_EQ(moved->note, "opens a file");
  EXPECT_EQ(German().FindEntry("MN_N_1 (2)")->review, kReviewNeeded);
  EXPECT_EQ(English().FindEntry("MN_N_1 (1)"), nullptr);
  // The originals: a note follows a text that moved, and stays at its key
  // when the text there changed; the status says what is new as before.
  EXPECT_EQ(Original().FindEntry("MN_N_1 (0)")->note, "nota del menú");
  EXPECT_EQ(Original().FindEntry("MN_N_1 (0)")->status, kStatusUnchanged);
  EXPECT_EQ(Original().FindEntry("MN_N_1 (1)")->note, "");
  EXPECT_EQ(Original().FindEntry("MN_N_1 (2)")->note, "nota de abrir");
  EXPECT_EQ(Original().FindEntry("MN_N_1 (2)")->status, kStatusNewOrChanged);
  EXPECT_EQ(Original().FindEntry("MN_N_1 (3)")->note, "");
}

}  // namespace
}  // namespace ulk
