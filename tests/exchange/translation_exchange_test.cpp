// Export and import of a module language on a project read from a fixture
// module: round trips, what an import takes and leaves, one undo step,
// and a project left alone by a file it refuses.
#include "translator/exchange/translation_exchange.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "translator/model/project_file.h"
#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

constexpr const char* kGerman = "Alemán (Alemania)";

class TranslationExchangeTest : public ::testing::Test {
 protected:
  TranslationExchangeTest() : dir_("exchange"), history_(project_) {}
  void SetUp() override {
    fs::copy_file(testing::FixturePath("sample32.dll"), dir_ / "app.dll");
    Module module;
    module.path = dir_ / "app.dll";
    module.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module)) << engine.failureText;
    project_.name = "Prueba";
    Module* stored = project_.AddModule(module, true);
    ModuleLanguage& german = stored->AddLanguage(ModuleLanguage(kGerman, dir_ / "de.dll", false));
    german.SetEntry("ST_N_1 (1)", "Öffnen");
    german.SetEntry("MN_N_1 (1)", "&Öffnen\\tStrg+O");
  }
  Module& M() { return project_.modules.front(); }
  ModuleLanguage& German() { return *M().FindLanguage(kGerman); }
  std::string Text(const std::string& key) {
    const TextEntry* entry = German().FindEntry(key);
    return entry ? entry->text : "(none)";
  }
  std::int32_t Review(const std::string& key) {
    const TextEntry* entry = German().FindEntry(key);
    return entry ? entry->review : -1;
  }
  std::string Note(const std::string& key) {
    const TextEntry* entry = German().FindEntry(key);
    return entry ? entry->note : "(none)";
  }
  // Every review state, and notes that stress both formats: quotes,
  // markup, the three escapes, a lone backslash, non-Latin letters, a note
  // on a text not translated yet and one on the original.
  void GiveStatesAndNotes() {
    German().SetEntry("ST_N_1 (1)", "Öffnen").review = kReviewDone;
    German().FindEntry("ST_N_1 (1)")->note = "\"Öffnen\" & <nicht> 'Aufmachen'";
    German().SetEntry("ST_N_1 (15)", "Tab\\thier").review = kReviewNeeded;
    German().FindEntry("ST_N_1 (15)")->note = "Zeile\\nzwei\\tTab\\r\\nCRLF \\ allein";
    German().SetEntry("ST_N_7 (2)", "Ελληνικά 日本語 Deutsch").note = "Ελληνικά: σημείωση 日本語";
    German().SetEntry("MN_N_1 (6)", "").note = "¿Beenden o Schließen?\\n\\n  — preguntar";
    M().DefaultLanguage()->FindEntry("ST_N_1 (3)")->note = "nota del original";
  }
  std::string Export(const std::string& name) {
    const ExportResult result = ExportTranslations(project_, M(), kGerman, dir_ / name, "x");
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.sizesProblem, "");
    return testing::ReadFileBytes(dir_ / name);
  }
  ImportResult Import(const std::string& name, const std::string& content) {
    testing::WriteFileBytes(dir_ / name, content);
    return ImportTranslations(M(), kGerman, dir_ / name, &history_);
  }
  static std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
  }

  testing::TempDir dir_;
  Project project_;
  UndoHistory history_;
};

TEST_F(TranslationExchangeTest, ExportWritesEveryOriginalEntryWithSizesAndTags) {
  for (const char* name : {"de.po", "de.xlf"}) {
    const ExportResult result = ExportTranslations(project_, M(), kGerman, dir_ / name);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.units, M().DefaultLanguage()->EntryCount());
    EXPECT_EQ(result.translated, 2u);
  }
  const std::string xliff = testing::ReadFileBytes(dir_ / "de.xlf");
  EXPECT_NE(xliff.find("source-language=\"es-ES\" target-language=\"de-DE\""), std::string::npos);
  // The default push button of dialog 101: control 4, 50 x 14 units.
  EXPECT_NE(xliff.find("id=\"DL_N_101 (4)\" resname=\"DL_N_101 (4)\" restype=\"button\" "
                       "maxwidth=\"50\" maxheight=\"14\" size-unit=\"dlgunit\""),
            std::string::npos);
  EXPECT_NE(xliff.find("<source>Línea uno\nLínea dos</source>"), std::string::npos);
  const std::string po = testing::ReadFileBytes(dir_ / "de.po");
  EXPECT_NE(po.find("\"Language: de_DE\\n\""), std::string::npos);
  EXPECT_NE(po.find("#. Diálogo DL_S_SETTINGS, control 6\n#. Tamaño del control: 80 x 10"),
            std::string::npos);

  const ExportResult noLanguage = ExportTranslations(project_, M(), "Klingon", dir_ / "x.po");
  EXPECT_FALSE(noLanguage.ok);
  EXPECT_EQ(noLanguage.message, "el módulo app.dll no tiene el idioma de destino Klingon");
  const ExportResult badName = ExportTranslations(project_, M(), kGerman, dir_ / "x.txt");
  EXPECT_EQ(badName.message, "formato de archivo desconocido: x.txt (use .xlf, .xliff o .po)");
}

TEST_F(TranslationExchangeTest, ExportWithoutTheModuleFileHasNoSizes) {
  M().path = dir_ / "gone.dll";
  const ExportResult result = ExportTranslations(project_, M(), kGerman, dir_ / "de.po");
  EXPECT_TRUE(result.ok);
  EXPECT_NE(result.sizesProblem.find("gone.dll"), std::string::npos);
  EXPECT_EQ(testing::ReadFileBytes(dir_ / "de.po").find("Tamaño del control"), std::string::npos);
}

TEST_F(TranslationExchangeTest, UnchangedRoundTripChangesNothing) {
  for (const char* name : {"de.po", "de.xlf"}) {
    const std::string before = WriteProject(project_);
    const ImportResult result = Import(name, Export(name));
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.applied, 2u);
    EXPECT_EQ(result.skipped, result.units - 2);
    EXPECT_TRUE(result.changedKeys.empty());
    EXPECT_TRUE(result.stale.empty());
    EXPECT_TRUE(result.unknown.empty());
    EXPECT_EQ(WriteProject(project_), before);
    EXPECT_FALSE(history_.CanUndo());
  }
}

TEST_F(TranslationExchangeTest, UnchangedRoundTripKeepsStatesAndNotes) {
  GiveStatesAndNotes();
  for (const char* name : {"de.po", "de.xlf"}) {
    const std::string before = WriteProject(project_);
    const ImportResult result = Import(name, Export(name));
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.applied, 3u) << name;  // PO's reviewed text comes back translated
    EXPECT_EQ(result.toReview, 1u) << name;
    EXPECT_TRUE(result.changedKeys.empty()) << name;
    EXPECT_EQ(WriteProject(project_), before) << name;
  }
}

// Into a project that has neither the states nor the notes: XLIFF brings
// every one back, PO every one but "revisado", which it cannot say.
TEST_F(TranslationExchangeTest, StatesAndNotesComeBackIntoAProjectWithout) {
  GiveStatesAndNotes();
  const ModuleLanguage exported = German();
  const std::string po = Export("de.po");
  const std::string xliff = Export("de.xlf");
  for (const auto& [name, content] : {std::pair{"de.po", po}, std::pair{"de.xlf", xliff}}) {
    SCOPED_TRACE(name);
    German() = ModuleLanguage(kGerman, dir_ / "de.dll", false);
    const ImportResult result = Import(name, content);
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_EQ(result.toReview, 1u);
    for (const TextEntry& entry : exported.Entries()) {
      SCOPED_TRACE(entry.key);
      const TextEntry* back = German().FindEntry(entry.key);
      ASSERT_NE(back, nullptr);
      EXPECT_EQ(back->text, entry.text);
      EXPECT_EQ(back->note, entry.note);
      const bool isPo = std::string_view(name) == "de.po";
      EXPECT_EQ(back->review,
                isPo && entry.review == kReviewDone ? kReviewTranslated : entry.review);
    }
    EXPECT_EQ(German().EntryCount(), exported.EntryCount());
  }
  // The original's note is not the translator's: it stays out of the file.
  EXPECT_EQ(po.find("nota del original"), std::string::npos);
  EXPECT_EQ(xliff.find("nota del original"), std::string::npos);
}

// A translation taken as it is keeps its review; one the file changes,
// or calls for review, loses it; a unit's note replaces the entry's,
// a unit without one leaves it.
TEST_F(TranslationExchangeTest, ImportDecidesStatesAndNotesPerUnit) {
  GiveStatesAndNotes();
  German().SetEntry("MN_N_1 (1)", "&Öffnen\\tStrg+O").review = kReviewDone;
  std::string po = Export("de.po");
  // Reviewed and left alone: stays reviewed, its note replaced.
  po = Replace(po, "# \"Öffnen\" & <nicht> 'Aufmachen'\n", "# neue Notiz\n");
  // Reviewed, then changed: translated.
  po = Replace(po, "msgstr \"&Öffnen\\tStrg+O\"", "msgstr \"Ö&ffnen\\tStrg+O\"");
  // To review, accepted: translated, and without its note in the file the
  // entry keeps it.
  po = Replace(po, "#, fuzzy\nmsgctxt \"ST_N_1 (15)\"", "msgctxt \"ST_N_1 (15)\"");
  po = Replace(po, "# Zeile\n# zwei\tTab\\r\n# CRLF \\ allein\n", "");
  // Translated, now to review.
  po = Replace(po, "msgctxt \"ST_N_7 (2)\"", "#, fuzzy\nmsgctxt \"ST_N_7 (2)\"");
  // A note on a unit without a translation.
  po = Replace(po, "msgctxt \"MN_N_1 (0)\"", "# eine Frage\nmsgctxt \"MN_N_1 (0)\"");
  const std::int32_t statusBefore = M().DefaultLanguage()->FindEntry("MN_N_1 (0)")->status;
  const ImportResult result = Import("de.po", po);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(Review("ST_N_1 (1)"), kReviewDone);
  EXPECT_EQ(Note("ST_N_1 (1)"), "neue Notiz");
  EXPECT_EQ(Review("MN_N_1 (1)"), kReviewTranslated);
  EXPECT_EQ(Review("ST_N_1 (15)"), kReviewTranslated);
  EXPECT_EQ(Note("ST_N_1 (15)"), "Zeile\\nzwei\\tTab\\r\\nCRLF \\ allein");
  EXPECT_EQ(Review("ST_N_7 (2)"), kReviewNeeded);
  EXPECT_EQ(Text("MN_N_1 (0)"), "");
  EXPECT_EQ(Note("MN_N_1 (0)"), "eine Frage");
  // A note is no translation: the original keeps its status.
  EXPECT_EQ(M().DefaultLanguage()->FindEntry("MN_N_1 (0)")->status, statusBefore);
  EXPECT_EQ(result.changedKeys, (std::vector<std::string>{"ST_N_1 (1)", "ST_N_1 (15)", "ST_N_7 (2)",
                                                          "MN_N_1 (0)", "MN_N_1 (1)"}));
}

TEST_F(TranslationExchangeTest, ImportTakesFinishedUnitsListsStaleAndUnknown) {
  std::string po = Export("de.po");
  po = Replace(po, "msgid \"Abrir\"\nmsgstr \"Öffnen\"", "msgid \"Abrir\"\nmsgstr \"Aufmachen\"");
  // A multi-line text comes back as the stored form with "\n".
  po = Replace(po, "\"Línea dos\"\nmsgstr \"\"",
               "\"Línea dos\"\nmsgstr \"Zeile eins\\nZeile zwei\"");
  po = Replace(po, "msgid \"&Salir\"\nmsgstr \"\"", "msgid \"&Salir\"\nmsgstr \"&Beenden\"");
  po = Replace(po, "msgctxt \"MN_N_1 (8)\"", "#, fuzzy\nmsgctxt \"MN_N_1 (8)\"");
  po = Replace(po, "msgid \"&Acerca de...\"\nmsgstr \"\"",
               "msgid \"&Acerca de...\"\nmsgstr \"&Info\"");
  po = Replace(po, "msgid \"Uno\"\nmsgstr \"\"", "msgid \"Uno (cambiado)\"\nmsgstr \"Eins\"");
  po += "\nmsgctxt \"ST_N_99 (9)\"\nmsgid \"nuevo\"\nmsgstr \"neu\"\n";
  po += "\nmsgid \"sin clave\"\nmsgstr \"ohne\"\n";
  const std::int32_t statusBefore = M().DefaultLanguage()->FindEntry("MN_N_1 (6)")->status;
  const ImportResult result = Import("de.po", po);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.units, M().DefaultLanguage()->EntryCount() + 2);
  EXPECT_EQ(result.applied, 4u);  // Abrir, Línea, Salir, and the unchanged menu item
  EXPECT_EQ(result.toReview, 1u);
  EXPECT_EQ(result.skipped, result.units - 4 - 1 - 1 - 2);
  EXPECT_EQ(result.changedKeys,
            (std::vector<std::string>{"ST_N_1 (1)", "ST_N_1 (3)", "MN_N_1 (6)", "MN_N_1 (8)"}));
  EXPECT_EQ(result.stale, std::vector<std::string>{"MN_N_1 (4)"});
  EXPECT_EQ(result.unknown, (std::vector<std::string>{"ST_N_99 (9)", ""}));
  EXPECT_EQ(Text("ST_N_1 (1)"), "Aufmachen");
  EXPECT_EQ(Text("ST_N_1 (3)"), "Zeile eins\\nZeile zwei");
  EXPECT_EQ(Review("ST_N_1 (3)"), kReviewTranslated);
  EXPECT_EQ(Text("MN_N_1 (8)"), "&Info") << "fuzzy";
  EXPECT_EQ(Review("MN_N_1 (8)"), kReviewNeeded);
  EXPECT_EQ(Text("MN_N_1 (4)"), "(none)") << "stale";
  EXPECT_EQ(M().DefaultLanguage()->FindEntry("MN_N_1 (6)")->status, kStatusByHand);
  EXPECT_EQ(M().DefaultLanguage()->FindEntry("MN_N_1 (8)")->status, kStatusByHand);

  // One undo step takes the whole import back, and redo brings it again.
  EXPECT_EQ(history_.UndoDepth(), 1u);
  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(Text("ST_N_1 (1)"), "Öffnen");
  EXPECT_EQ(Text("MN_N_1 (6)"), "(none)");
  EXPECT_EQ(Text("MN_N_1 (8)"), "(none)");
  EXPECT_EQ(M().DefaultLanguage()->FindEntry("MN_N_1 (6)")->status, statusBefore);
  ASSERT_TRUE(history_.Redo());
  EXPECT_EQ(Text("MN_N_1 (6)"), "&Beenden");
  EXPECT_EQ(Review("MN_N_1 (8)"), kReviewNeeded);
}

// The undo of an import gives back review states and notes too, the
// project as it was to the byte.
TEST_F(TranslationExchangeTest, UndoOfAnImportRestoresStatesAndNotes) {
  GiveStatesAndNotes();
  std::string xliff = Export("de.xlf");
  const std::string before = WriteProject(project_);
  xliff = Replace(xliff, "<target state=\"signed-off\">Öffnen</target>",
                  "<target state=\"needs-review-translation\">Öffnen</target>");
  xliff = Replace(xliff, "<target state=\"needs-review-translation\">Tab\thier</target>",
                  "<target state=\"final\">Tab\thier</target>");
  xliff = Replace(xliff, ">Ελληνικά: σημείωση 日本語<", ">otra nota<");
  xliff = Replace(xliff, ">¿Beenden o Schließen?", ">Schließen.<");
  xliff = Replace(xliff, "\n\n  — preguntar<", "");
  const ImportResult result = Import("de.xlf", xliff);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(Review("ST_N_1 (1)"), kReviewNeeded);
  EXPECT_EQ(Review("ST_N_1 (15)"), kReviewDone);
  EXPECT_EQ(Note("ST_N_7 (2)"), "otra nota");
  EXPECT_EQ(result.changedKeys.size(), 4u);
  const std::string imported = WriteProject(project_);
  EXPECT_EQ(history_.UndoDepth(), 1u);
  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(WriteProject(project_), before);
  ASSERT_TRUE(history_.Redo());
  EXPECT_EQ(WriteProject(project_), imported);
}

TEST_F(TranslationExchangeTest, XliffFromAToolIsTaken) {
  std::string xliff = Export("de.xlf");
  xliff = Replace(xliff, "<source>Aceptar</source>\n        <target state=\"new\"></target>",
                  "<source>Aceptar</source>\n        <target state=\"translated\">OK</target>");
  xliff = Replace(xliff, "<source>Tab\there</source>\n        <target state=\"new\"></target>",
                  "<source>Tab\there</source>\n        <target state=\"needs-review-translation\">"
                  "Tab\thier</target>");
  xliff = Replace(xliff, "<source>Uno</source>\n        <target state=\"new\"></target>",
                  "<source>Uno</source>\n        <target>Eins</target>");
  xliff = Replace(xliff, "resname=\"MN_N_1 (6)\"", "resname=\"MN_N_1 (6)\" approved=\"no\"");
  xliff = Replace(xliff, "<source>&amp;Salir</source>\n        <target state=\"new\"></target>",
                  "<source>&amp;Salir</source>\n        <target>&amp;Beenden</target>");
  const ImportResult result = Import("de.xlf", xliff);
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.applied, 4u);  // OK, Eins and the two translations already there
  EXPECT_EQ(result.toReview, 2u);
  EXPECT_EQ(Text("DL_N_101 (4)"), "OK");
  EXPECT_EQ(Review("DL_N_101 (4)"), kReviewTranslated);
  // Without a state, a target is translated unless the unit is not approved.
  EXPECT_EQ(Text("MN_N_1 (4)"), "Eins");
  EXPECT_EQ(Review("MN_N_1 (4)"), kReviewTranslated);
  EXPECT_EQ(Text("ST_N_1 (15)"), "Tab\\thier");
  EXPECT_EQ(Review("ST_N_1 (15)"), kReviewNeeded);
  EXPECT_EQ(Text("MN_N_1 (6)"), "&Beenden");
  EXPECT_EQ(Review("MN_N_1 (6)"), kReviewNeeded);
}

TEST_F(TranslationExchangeTest, RefusedFilesLeaveTheProjectAlone) {
  const std::string po = Export("de.po");
  const std::string xliff = Export("de.xlf");
  const std::string before = WriteProject(project_);
  const std::pair<std::string, std::string> cases[] = {
      {"bad.po", Replace(po, "msgid \"Abrir\"", "msgid \"Abrir") + "\nmsgctxt \"ST_N_1 (1)\""},
      {"bad.xlf", Replace(xliff, "</body>", "</bod>")},
      {"french.po", Replace(Replace(po, "msgstr \"Öffnen\"", "msgstr \"Ouvrir\""),
                            "Language: de_DE", "Language: fr_FR")},
      {"french.xlf", Replace(xliff, "target-language=\"de-DE\"", "target-language=\"fr\"")},
      // Bytes that are not UTF-8 in the project would make its next load
      // read the whole file as Windows-1252.
      {"octal.po", Replace(po, "msgstr \"Öffnen\"", "msgstr \"\\326ffnen\"")},
      {"nul.po", Replace(po, "msgstr \"Öffnen\"", "msgstr \"Öff\\0nen\"")},
      {"control.xlf", Replace(xliff, ">Öffnen<", ">Öff&#x9B;nen<")},
      {"note.po", Replace(po, "msgctxt \"ST_N_1 (1)\"", "# Notiz \x1B\nmsgctxt \"ST_N_1 (1)\"")},
      {"note.xlf", Replace(xliff, "<source>Abrir</source>",
                           "<source>Abrir</source><note from=\"translator\">&#x85;</note>")},
  };
  for (const auto& [name, content] : cases) {
    const ImportResult result = Import(name, content);
    EXPECT_FALSE(result.ok) << name;
    EXPECT_EQ(result.message.rfind(name + ": línea ", 0), 0u) << result.message;
    EXPECT_EQ(WriteProject(project_), before) << name;
  }
  const ImportResult missing = ImportTranslations(M(), kGerman, dir_ / "missing.po", &history_);
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.message.find("missing.po"), std::string::npos);
  EXPECT_FALSE(history_.CanUndo());
}

// A module's texts may hold what no exchange file can bring back: such
// units are left out, and the file written still imports.
TEST_F(TranslationExchangeTest, TextsThatCouldNotComeBackAreLeftOut) {
  M().DefaultLanguage()->SetEntry("ST_N_9 (0)", std::string("bell\x07"));
  M().DefaultLanguage()->SetEntry("ST_N_9 (1)", "bad \xFF utf-8");
  M().DefaultLanguage()->SetEntry("ST_N_9 (2)", "next line \xC2\x85");
  M().DefaultLanguage()->SetEntry("ST_N_9 (3)", "delete \x7F");
  M().DefaultLanguage()->SetEntry("ST_N_9 (4)", "traducido");
  German().SetEntry("ST_N_9 (4)", "\xC2\x9B");
  for (const char* name : {"de.xlf", "de.po"}) {
    const ExportResult result = ExportTranslations(project_, M(), kGerman, dir_ / name);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.omitted, (std::vector<std::string>{"ST_N_9 (0)", "ST_N_9 (1)", "ST_N_9 (2)",
                                                        "ST_N_9 (3)", "ST_N_9 (4)"}));
    const ImportResult back = ImportTranslations(M(), kGerman, dir_ / name, &history_);
    EXPECT_TRUE(back.ok) << back.message;
    EXPECT_TRUE(back.stale.empty());
  }
}

}  // namespace
}  // namespace ulk
