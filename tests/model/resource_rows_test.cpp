// What the tree and the list show of a module, and the list's row edits.
#include "translator/model/resource_rows.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

using namespace std::string_literals;

// A module whose target language comes before its original one, to show
// that the original's column always comes first.
Module SampleModule() {
  Module module;
  module.path = "/m/demo.dll";
  ModuleLanguage english("English", "/m/en/demo.dll", false);
  english.SetEntry("ST_N_1 (1)", "Open");
  english.SetEntry("DL_N_100 (0)", "About");
  english.SetEntry("XX_ONLY (1)", "orphan");
  module.AddLanguage(english);
  ModuleLanguage spanish("Español", "", true);
  spanish.SetEntry("ST_N_1 (1)", "Abrir", kStatusNewOrChanged);
  spanish.SetEntry("ST_N_1 (2)", "Cerrar");
  spanish.SetEntry("DL_N_100 (0)", "Acerca de");
  spanish.SetEntry("DL_N_100 (1)", "Aceptar");
  spanish.SetEntry("DL_S_MI DIALOGO (1)", "Nombre");
  spanish.SetEntry("MN_N_5 (0)", "&Archivo");
  spanish.SetEntry("MN_N_5 (1)", "&Salir");
  spanish.SetEntry("MN_N_50 (0)", "&Otro");
  module.AddLanguage(spanish);
  module.AddLanguage(ModuleLanguage("Deutsch", "/m/de/demo.dll", false));
  return module;
}

TEST(ResourceRows, TreeNodesInKindOrderWithDialogCaptions) {
  const std::vector<KindNode> nodes = ModuleTreeNodes(SampleModule());
  ASSERT_EQ(nodes.size(), 3u);  // no version entries, no version node
  EXPECT_EQ(nodes[0].code, kNodeStringTables);
  EXPECT_TRUE(nodes[0].resources.empty());
  EXPECT_EQ(nodes[1].code, kNodeDialogs);
  ASSERT_EQ(nodes[1].resources.size(), 2u);
  EXPECT_EQ(nodes[1].resources[0].label, "DL_N_100 [Acerca de]");
  EXPECT_EQ(nodes[1].resources[0].stem, "DL_N_100");
  EXPECT_EQ(nodes[1].resources[1].label, "DL_S_MI DIALOGO");  // no caption entry
  EXPECT_EQ(nodes[2].code, kNodeMenus);
  ASSERT_EQ(nodes[2].resources.size(), 2u);
  EXPECT_EQ(nodes[2].resources[1].stem, "MN_N_50");

  Module empty;
  empty.AddLanguage(ModuleLanguage("Español", "", true));
  EXPECT_TRUE(ModuleTreeNodes(empty).empty());
  EXPECT_TRUE(ModuleTreeNodes(Module()).empty());
}

TEST(ResourceRows, KeysShownUnderEachNode) {
  const struct {
    const char* key;
    int code;
    const char* stem;
    bool shown;
  } cases[] = {
      {"ST_N_1 (1)", kNodeProject, "", true},
      {"XX_ONLY (1)", kNodeProject, "", true},
      {"ST_N_1 (1)", kNodeStringTables, "", true},
      {"DL_N_100 (0)", kNodeStringTables, "", false},
      {"DL_N_100 (0)", kNodeDialogs, "", true},
      {"MN_N_5 (1)", kNodeMenus, "", true},
      {"VS_N_1 (0)", kNodeVersion, "", true},
      {"DL_N_100 (1)", kNodeDialog, "DL_N_100", true},
      {"DL_N_1000 (1)", kNodeDialog, "DL_N_100", false},
      {"MN_N_50 (0)", kNodeMenu, "MN_N_5", false},
      {"MN_N_5 (0)", kNodeMenu, "MN_N_5", true},
      // A named resource whose name holds a blank keeps its rows.
      {"DL_S_MI DIALOGO (1)", kNodeDialog, "DL_S_MI DIALOGO", true},
      {"DL_S_MI DIALOGO (1)", kNodeDialog, "DL_S_MI", false},
      {"MN_N_5 (0)", kNodeDialog, "MN_N_5", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeyShownUnder(c.key, c.code, c.stem), c.shown) << c.key << " under " << c.code;
  }
}

TEST(ResourceRows, FiltersCombineWithTheNodeAndCellsCarryTheirStates) {
  Module module = SampleModule();
  module.FindLanguage("English")->FindEntry("DL_N_100 (0)")->review = kReviewNeeded;
  module.FindLanguage("English")->FindEntry("ST_N_1 (1)")->note = "menú";
  module.FindLanguage("Deutsch")->SetEntry("DL_N_100 (0)", "Über").review = kReviewDone;
  module.FindLanguage("Deutsch")->SetEntry("ST_N_1 (2)", "");  // no text, no state
  const auto keys = [&](int node, RowFilter filter) {
    std::vector<std::string> shown;
    for (const ResourceRow& row : BuildResourceTable(module, node, "", filter).rows) {
      shown.push_back(row.cells[0]);
    }
    return shown;
  };
  EXPECT_EQ(keys(kNodeDialogs, RowFilter::kToReview), std::vector<std::string>{"DL_N_100 (0)"});
  EXPECT_EQ(keys(kNodeDialogs, RowFilter::kReviewed), std::vector<std::string>{"DL_N_100 (0)"});
  EXPECT_EQ(keys(kNodeStringTables, RowFilter::kTranslated),
            std::vector<std::string>{"ST_N_1 (1)"});
  EXPECT_EQ(keys(kNodeStringTables, RowFilter::kChanged), std::vector<std::string>{"ST_N_1 (1)"});
  // Untranslated in some language: German has none of the strings.
  EXPECT_EQ(keys(kNodeStringTables, RowFilter::kUntranslated),
            (std::vector<std::string>{"ST_N_1 (1)", "ST_N_1 (2)"}));
  const TextEntry& open = *module.DefaultLanguage()->FindEntry("ST_N_1 (1)");
  EXPECT_FALSE(RowPasses(module, open, RowFilter::kUntranslated, "English"));
  EXPECT_TRUE(RowPasses(module, open, RowFilter::kUntranslated, "Deutsch"));

  const ResourceTable table = BuildResourceTable(module, kNodeProject, "");
  EXPECT_EQ(table.rows[0].reviews,
            (std::vector<std::int32_t>{kNoReviewState, kReviewTranslated, kNoReviewState}));
  EXPECT_EQ(table.rows[0].notes, (std::vector<std::string>{"", "menú", ""}));
  EXPECT_EQ(table.rows[1].reviews,
            (std::vector<std::int32_t>{kNoReviewState, kNoReviewState, kNoReviewState}));
}

TEST(ResourceRows, TableHasTheOriginalFirstAndOneRowPerOriginalEntry) {
  const ResourceTable table = BuildResourceTable(SampleModule(), kNodeProject, "");
  EXPECT_EQ(table.languages, (std::vector<std::string>{"Español", "English", "Deutsch"}));
  ASSERT_EQ(table.rows.size(), 8u);  // the orphan of English has no row
  EXPECT_EQ(table.rows[0].cells, (std::vector<std::string>{"ST_N_1 (1)", "Abrir", "Open", ""}));
  EXPECT_EQ(table.rows[0].status, kStatusNewOrChanged);
  EXPECT_EQ(table.rows[1].cells, (std::vector<std::string>{"ST_N_1 (2)", "Cerrar", "", ""}));

  const ResourceTable dialog = BuildResourceTable(SampleModule(), kNodeDialog, "DL_N_100");
  ASSERT_EQ(dialog.rows.size(), 2u);
  EXPECT_EQ(dialog.rows[0].cells[2], "About");

  Module noOriginal;
  noOriginal.AddLanguage(ModuleLanguage("English", "x", false));
  EXPECT_TRUE(BuildResourceTable(noOriginal, kNodeProject, "").languages.empty());
}

// SampleModule with review states and notes in every kind of cell.
Module ReviewedModule() {
  Module module = SampleModule();
  ModuleLanguage& english = *module.FindLanguage("English");
  ModuleLanguage& german = *module.FindLanguage("Deutsch");
  english.FindEntry("ST_N_1 (1)")->review = kReviewDone;
  english.SetEntry("ST_N_1 (2)", "Close").review = kReviewNeeded;
  english.FindEntry("DL_N_100 (0)")->note = "título";
  german.SetEntry("ST_N_1 (1)", "Öffnen").review = kReviewNeeded;
  // A review state left on an emptied text is no state.
  german.SetEntry("DL_N_100 (0)", "").review = kReviewDone;
  german.FindEntry("DL_N_100 (0)")->note = "leer";
  module.DefaultLanguage()->FindEntry("MN_N_5 (1)")->note = "Alt+F4";
  return module;
}

TEST(ResourceRows, ARowReadAgainIsTheRowOfTheTable) {
  const Module module = ReviewedModule();
  const ResourceTable table = BuildResourceTable(module, kNodeProject, "");
  ASSERT_FALSE(table.rows.empty());
  for (const ResourceRow& row : table.rows) {
    const ResourceRow again = ResourceRowOf(module, row.cells[0], table.languages);
    EXPECT_EQ(again.cells, row.cells) << row.cells[0];
    EXPECT_EQ(again.status, row.status) << row.cells[0];
    EXPECT_EQ(again.reviews, row.reviews) << row.cells[0];
    EXPECT_EQ(again.notes, row.notes) << row.cells[0];
  }
  const ResourceRow open = ResourceRowOf(module, "ST_N_1 (1)", table.languages);
  EXPECT_EQ(open.cells, (std::vector<std::string>{"ST_N_1 (1)", "Abrir", "Open", "Öffnen"}));
  EXPECT_EQ(open.status, kStatusNewOrChanged);
  EXPECT_EQ(open.reviews,
            (std::vector<std::int32_t>{kNoReviewState, kReviewDone, kReviewNeeded}));
  const ResourceRow about = ResourceRowOf(module, "DL_N_100 (0)", table.languages);
  EXPECT_EQ(about.reviews,
            (std::vector<std::int32_t>{kNoReviewState, kReviewTranslated, kNoReviewState}));
  EXPECT_EQ(about.notes, (std::vector<std::string>{"", "título", "leer"}));
  // The original's note is its own column's.
  EXPECT_EQ(ResourceRowOf(module, "MN_N_5 (1)", table.languages).notes[0], "Alt+F4");
  // A column whose language has gone shows nothing.
  const ResourceRow gone = ResourceRowOf(module, "ST_N_1 (1)", {"Español", "Klingon"});
  EXPECT_EQ(gone.cells, (std::vector<std::string>{"ST_N_1 (1)", "Abrir", ""}));
  EXPECT_EQ(gone.reviews, (std::vector<std::int32_t>{kNoReviewState, kNoReviewState}));
}

TEST(ResourceRows, TheTableCountsTheNodesRowsBeforeTheFilter) {
  const Module module = ReviewedModule();
  const struct {
    int node;
    RowFilter filter;
    std::size_t shown;
    std::size_t ofNode;
  } cases[] = {
      {kNodeProject, RowFilter::kAll, 8, 8},
      {kNodeProject, RowFilter::kToReview, 2, 8},
      {kNodeStringTables, RowFilter::kToReview, 2, 2},
      {kNodeDialogs, RowFilter::kToReview, 0, 3},
      {kNodeMenu, RowFilter::kChanged, 0, 0},  // no stem: no resource
  };
  for (const auto& c : cases) {
    const ResourceTable table = BuildResourceTable(module, c.node, "", c.filter);
    EXPECT_EQ(table.rows.size(), c.shown) << c.node;
    EXPECT_EQ(table.nodeRowCount, c.ofNode) << c.node;
  }
}

TEST(ResourceRows, CellTooltipsNameMarksAndShowNotesAsWritten) {
  EXPECT_EQ(CellTooltip(kReviewNeeded, ""), "Estado: por revisar");
  EXPECT_EQ(CellTooltip(kReviewDone, "dos\\nlíneas"),
            "Estado: revisado\nNota: dos\nlíneas");
  EXPECT_EQ(CellTooltip(kReviewTranslated, "x"), "Nota: x");  // no mark, no state
  EXPECT_EQ(CellTooltip(kNoReviewState, "x\\ty"), "Nota: x\ty");
  EXPECT_EQ(CellTooltip(kReviewTranslated, ""), "");
  EXPECT_EQ(CellTooltip(kNoReviewState, ""), "");
}

TEST(ResourceRows, ClipboardBlocksInBothForms) {
  const Module module = SampleModule();
  // Module order: English first, then the original.
  EXPECT_EQ(BuildClipboardBlock(module, "ST_N_1 (1)", '\0', '\0'),
            "English\0Open\0Español\0Abrir\0\0"s);
  EXPECT_EQ(BuildClipboardBlock(module, "ST_N_1 (1)", '\t', '\n'),
            "English\tOpen\nEspañol\tAbrir\n\0"s);
  // Only the original has the key: one pair.
  EXPECT_EQ(BuildClipboardBlock(module, "ST_N_1 (2)", '\0', '\0'), "Español\0Cerrar\0\0"s);
}

TEST(ResourceRows, PasteAppliesKnownLanguagesUpToAnEmptyText) {
  const struct {
    const char* name;
    std::string block;
    const char* english;  // text after the paste, "-" for none
    const char* german;
    std::int32_t status;
  } cases[] = {
      {"every language", "Español\0Otro\0English\0Other\0Deutsch\0Andere\0\0"s, "Other", "Andere",
       kStatusByHand},
      {"empty second text ends it", "English\0Other\0Deutsch\0\0Klingon\0x\0\0"s, "Other", "-",
       kStatusUnchanged},
      {"unknown names are skipped", "Klingon\0Qapla\0Deutsch\0Andere\0\0"s, "-", "Andere",
       kStatusUnchanged},
      {"a block cut short", "English\0Other\0Deutsch\0Ande"s, "Other", "-", kStatusUnchanged},
      {"nothing", ""s, "-", "-", kStatusUnchanged},
      // Another program's clipboard: a raw line break is stored escaped, a
      // text the gate refuses is not taken.
      {"raw line break", "English\0a\nLANGUAGE = x, /tmp/x\0Deutsch\0\x01\0\0"s,
       "a\\nLANGUAGE = x, /tmp/x", "-", kStatusUnchanged},
      {"invalid UTF-8", "Deutsch\0\xFF\0\0"s, "-", "-", kStatusUnchanged},
  };
  for (const auto& c : cases) {
    Module module = SampleModule();
    PasteClipboardBlock(module, "ST_N_1 (2)", c.block);
    const TextEntry* english = module.FindLanguage("English")->FindEntry("ST_N_1 (2)");
    const TextEntry* german = module.FindLanguage("Deutsch")->FindEntry("ST_N_1 (2)");
    const TextEntry* original = module.FindLanguage("Español")->FindEntry("ST_N_1 (2)");
    EXPECT_EQ(english ? english->text : "-", c.english) << c.name;
    EXPECT_EQ(german ? german->text : "-", c.german) << c.name;
    EXPECT_EQ(original->text, "Cerrar") << c.name;  // the original never takes a text
    EXPECT_EQ(original->status, c.status) << c.name;
  }
}

TEST(ResourceRows, DeletingTranslationsEmptiesThemAndMarksTheOriginal) {
  Module module = SampleModule();
  EXPECT_EQ(DeleteTranslations(module, "ST_N_1 (1)"), 1);
  EXPECT_EQ(module.FindLanguage("English")->FindEntry("ST_N_1 (1)")->text, "");
  EXPECT_EQ(module.FindLanguage("Español")->FindEntry("ST_N_1 (1)")->text, "Abrir");
  EXPECT_EQ(module.FindLanguage("Español")->FindEntry("ST_N_1 (1)")->status, kStatusByHand);
  EXPECT_EQ(DeleteTranslations(module, "ST_N_1 (1)"), 0);  // nothing left to empty
}

TEST(ResourceRows, FindVisitsEveryRowOnceWrappingAround) {
  const Module module = SampleModule();
  const std::vector<std::string> rows = {"ST_N_1 (1)", "ST_N_1 (2)", "DL_N_100 (0)", "DL_N_100 (1)",
                                         "MN_N_5 (0)"};
  const struct {
    const char* text;
    long start;
    bool matchCase;
    bool down;
    long found;
  } cases[] = {
      {"abrir", 4, false, true, 0},     // from the last row down: row 0
      {"abrir", -1, false, true, 0},    // nothing selected: from the top
      {"Abrir", 0, true, true, 0},      // only the start row has it: ends there
      {"abrir", 0, true, true, -1},     // case asked for: none
      {"ACEPTAR", 0, false, false, 3},  // up from row 0: the last rows first
      {"open", 2, false, true, 0},      // a translation matches too
      {"ARCHIVO", -1, false, false, 4}, {"nada", 1, false, true, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindNextRow(module, rows, c.start, c.text, c.matchCase, c.down), c.found)
        << c.text << " from " << c.start;
  }
  EXPECT_EQ(FindNextRow(module, {}, -1, "x", false, true), -1);
}

TEST(ResourceRows, NextRowOfAFilterWrapsAndEndsOnTheStartRow) {
  const Module module = ReviewedModule();
  // English: Open reviewed, Close to review, About translated.
  // German: Öffnen to review, no text for the rest.
  const std::vector<std::string> rows = {"ST_N_1 (1)", "ST_N_1 (2)", "DL_N_100 (0)", "DL_N_100 (1)",
                                         "MN_N_5 (0)"};
  const struct {
    RowFilter filter;
    const char* language;
    long start;
    long found;
  } cases[] = {
      {RowFilter::kToReview, "", -1, 0},          // nothing selected: from the top
      {RowFilter::kToReview, "", 0, 1},           // the next, not the start row
      {RowFilter::kToReview, "", 1, 0},           // past the end: wraps to row 0
      {RowFilter::kToReview, "English", 1, 1},    // only the start row: ends there
      {RowFilter::kToReview, "English", 4, 1},    // from the last row
      {RowFilter::kToReview, "Deutsch", 0, 0},
      {RowFilter::kUntranslated, "English", 0, 3},
      {RowFilter::kUntranslated, "Deutsch", 0, 1},
      {RowFilter::kUntranslated, "", 9, 1},       // a start past the rows: from the top
      {RowFilter::kReviewed, "Deutsch", 2, -1},   // none
      {RowFilter::kToReview, "Klingon", 0, -1},   // no such language
      {RowFilter::kAll, "", 4, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextRowPassing(module, rows, c.start, c.filter, c.language), c.found)
        << static_cast<int>(c.filter) << " in '" << c.language << "' from " << c.start;
  }
  EXPECT_EQ(NextRowPassing(module, {}, -1, RowFilter::kAll), -1);
  // A key the original no longer has is passed over.
  EXPECT_EQ(NextRowPassing(module, {"gone", "ST_N_1 (2)"}, -1, RowFilter::kAll), 1);
}

TEST(ResourceRows, MarkingGivesStatesToTranslatedTextsOnly) {
  const std::vector<std::string> keys = {"ST_N_1 (1)", "ST_N_1 (2)", "DL_N_100 (0)"};
  const struct {
    const char* name;
    const char* language;
    std::int32_t review;
    int changed;
    // Afterwards: English Open, Close, About; German Öffnen.
    std::int32_t open, close, about, offnen;
  } cases[] = {
      {"every target to review", "", kReviewNeeded, 2, kReviewNeeded, kReviewNeeded,
       kReviewNeeded, kReviewNeeded},
      {"every target reviewed", "", kReviewDone, 3, kReviewDone, kReviewDone, kReviewDone,
       kReviewDone},
      {"English only", "English", kReviewDone, 2, kReviewDone, kReviewDone, kReviewDone,
       kReviewNeeded},
      {"German only", "Deutsch", kReviewDone, 1, kReviewDone, kReviewNeeded, kReviewTranslated,
       kReviewDone},
      {"marks taken away", "", kReviewTranslated, 3, kReviewTranslated, kReviewTranslated,
       kReviewTranslated, kReviewTranslated},
      {"the original is no target", "Español", kReviewDone, 0, kReviewDone, kReviewNeeded,
       kReviewTranslated, kReviewNeeded},
      {"unknown language", "Klingon", kReviewDone, 0, kReviewDone, kReviewNeeded,
       kReviewTranslated, kReviewNeeded},
  };
  for (const auto& c : cases) {
    Module module = ReviewedModule();
    EXPECT_EQ(MarkReviewState(module, keys, c.language, c.review), c.changed) << c.name;
    const ModuleLanguage& english = *module.FindLanguage("English");
    const ModuleLanguage& german = *module.FindLanguage("Deutsch");
    EXPECT_EQ(english.FindEntry("ST_N_1 (1)")->review, c.open) << c.name;
    EXPECT_EQ(english.FindEntry("ST_N_1 (2)")->review, c.close) << c.name;
    EXPECT_EQ(english.FindEntry("DL_N_100 (0)")->review, c.about) << c.name;
    EXPECT_EQ(german.FindEntry("ST_N_1 (1)")->review, c.offnen) << c.name;
    // Texts without a translation get no state, and no entry is made.
    EXPECT_EQ(german.FindEntry("DL_N_100 (0)")->review, kReviewDone) << c.name;
    EXPECT_EQ(german.FindEntry("ST_N_1 (2)"), nullptr) << c.name;
    for (const TextEntry& entry : module.DefaultLanguage()->Entries()) {
      EXPECT_EQ(entry.review, kReviewTranslated) << c.name << " " << entry.key;
    }
  }
}

TEST(ResourceRows, CaptureTakesEveryLanguageOfTheKeys) {
  const Module module = SampleModule();
  Module snapshot;
  snapshot.path = "old";
  EXPECT_EQ(CaptureEntries(module, {"ST_N_1 (2)", "ST_N_1 (1)"}, snapshot), 2u);
  ASSERT_EQ(snapshot.LanguageCount(), 3u);
  const ModuleLanguage* english = snapshot.FindLanguage("English");
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(english->EntryCount(), 2u);
  EXPECT_EQ(english->FindEntry("ST_N_1 (2)")->text, "");  // missing: empty
  EXPECT_EQ(english->FindEntry("ST_N_1 (1)")->text, "Open");
  EXPECT_EQ(snapshot.FindLanguage("Español")->FindEntry("ST_N_1 (1)")->status, kStatusNewOrChanged);
  EXPECT_TRUE(snapshot.FindLanguage("Español")->isDefault);
  EXPECT_EQ(CaptureEntries(Module(), {"x"}, snapshot), 0u);
}

}  // namespace
}  // namespace ulk
