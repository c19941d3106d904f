#include "translator/model/leverage.h"

#include <gtest/gtest.h>

#include "platform/text_similarity.h"

namespace ulk {
namespace {

Module& NewModule(Project& project, const std::string& path) {
  Module module;
  module.path = path;
  Module* added = project.AddModule(module, false);
  added->AddLanguage(ModuleLanguage("Español", "", true));
  return *added;
}

class LeverageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Module& before = NewModule(old_, "/old/prog.exe");
    ModuleLanguage& original = *before.DefaultLanguage();
    original.SetEntry("ST_N_1 (0)", "Abrir archivo");
    original.SetEntry("ST_N_1 (1)", "Guardar");
    original.SetEntry("ST_N_1 (2)", "Cerrar ventana");
    original.SetEntry("ST_N_1 (3)", "Imprimir");
    ModuleLanguage& english = before.AddLanguage(ModuleLanguage("English", "/old/en.exe", false));
    english.SetEntry("ST_N_1 (0)", "Open file");
    english.SetEntry("ST_N_1 (1)", "Save");
    TextEntry& close = english.SetEntry("ST_N_1 (2)", "Close window");
    close.review = kReviewDone;
    close.note = "como en la versión 1";
    before.AddLanguage(ModuleLanguage("Deutsch", "/old/de.exe", false))
        .SetEntry("ST_N_1 (1)", "Speichern");

    Module& now = NewModule(new_, "/new/prog.exe");
    ModuleLanguage& text = *now.DefaultLanguage();
    text.SetEntry("ST_N_1 (0)", "Abrir archivo");        // same key and text
    text.SetEntry("ST_N_1 (2)", "Cerrar ventana");       // same key and text
    text.SetEntry("ST_N_1 (7)", "Guardar");              // the text under another key
    text.SetEntry("ST_N_1 (8)", "Cerrar la ventana");    // 82 from "Cerrar ventana"
    text.SetEntry("ST_N_1 (9)", "Salir");                // nothing like it
    text.SetEntry("ST_N_1 (1)", "Abrir archivo nuevo");  // already translated
    ModuleLanguage& english2 = now.AddLanguage(ModuleLanguage("English", "/new/en.exe", false));
    english2.SetEntry("ST_N_1 (1)", "Open a new file");
    now.AddLanguage(ModuleLanguage("Deutsch", "/new/de.exe", false));
    now.AddLanguage(ModuleLanguage("Français", "/new/fr.exe", false));
  }
  ModuleLanguage& Language(const char* name) { return *new_.modules.front().FindLanguage(name); }
  std::string Text(const char* language, const char* key) {
    const TextEntry* entry = Language(language).FindEntry(key);
    return entry ? entry->text : "(none)";
  }

  Project old_;
  Project new_;
};

TEST_F(LeverageTest, ContextThenSameTextThenSimilarEachCounted) {
  LeverageOptions options;
  options.minimum = 75;
  const LeverageResult result = LeverageTranslations(new_, old_, options);

  EXPECT_EQ(Text("English", "ST_N_1 (0)"), "Open file");
  EXPECT_EQ(Text("English", "ST_N_1 (7)"), "Save");
  EXPECT_EQ(Text("English", "ST_N_1 (8)"), "Close window");
  EXPECT_EQ(Text("English", "ST_N_1 (9)"), "(none)");
  EXPECT_EQ(Text("English", "ST_N_1 (1)"), "Open a new file") << "never overwritten by default";
  EXPECT_EQ(Text("Deutsch", "ST_N_1 (7)"), "Speichern");

  // What was said of a text found by key and text comes with it; a similar
  // text's translation is marked for review.
  const TextEntry* close = Language("English").FindEntry("ST_N_1 (2)");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->review, kReviewDone);
  EXPECT_EQ(close->note, "como en la versión 1");
  EXPECT_EQ(Language("English").FindEntry("ST_N_1 (8)")->review, kReviewNeeded);
  EXPECT_EQ(Language("English").FindEntry("ST_N_1 (7)")->review, kReviewTranslated);

  ASSERT_EQ(result.languages.size(), 3u);
  EXPECT_EQ(result.languages[0].language, "English");
  EXPECT_EQ(result.languages[0].filled[kLeverageContext], 2u);
  EXPECT_EQ(result.languages[0].filled[kLeverageExact], 1u);
  EXPECT_EQ(result.languages[0].filled[kLeverageSimilar], 1u);
  EXPECT_EQ(result.languages[1].Total(), 1u);
  EXPECT_EQ(result.languages[2].Total(), 0u) << "a language the other project lacks";
  EXPECT_EQ(result.Total(), 5u);
  EXPECT_EQ(result.changed.size(), 5u);

  // Again: nothing left to fill.
  EXPECT_EQ(LeverageTranslations(new_, old_, options).Total(), 0u);
}

TEST_F(LeverageTest, MinimumOverwriteAndModulesByName) {
  LeverageOptions options;  // 100: no similar texts
  options.overwrite = true;
  LeverageResult result = LeverageTranslations(new_, old_, options);
  EXPECT_EQ(Text("English", "ST_N_1 (8)"), "(none)");
  EXPECT_EQ(result.languages[0].filled[kLeverageSimilar], 0u);
  // The existing translation of (1) is replaced only when its text is found.
  EXPECT_EQ(Text("English", "ST_N_1 (1)"), "Open a new file");
  old_.modules.front().DefaultLanguage()->SetEntry("ST_N_1 (5)", "Abrir archivo nuevo");
  old_.modules.front().FindLanguage("English")->SetEntry("ST_N_1 (5)", "Open new file");
  result = LeverageTranslations(new_, old_, options);
  EXPECT_EQ(Text("English", "ST_N_1 (1)"), "Open new file");

  // A module of another name is served only when every module is searched.
  Project renamed;
  Module& other = NewModule(renamed, "/x/other.dll");
  other.DefaultLanguage()->SetEntry("ST_N_1 (9)", "Salir");
  other.AddLanguage(ModuleLanguage("English", "/x/en.dll", false)).SetEntry("ST_N_1 (9)", "Exit");
  EXPECT_EQ(LeverageTranslations(new_, renamed, {}).Total(), 0u);
  LeverageOptions all;
  all.allModules = true;
  EXPECT_EQ(LeverageTranslations(new_, renamed, all).Total(), 1u);
  EXPECT_EQ(Text("English", "ST_N_1 (9)"), "Exit");
}

TEST(SimilarTextIndexTest, FindsTheBestAboveTheMinimumAmongMany) {
  SimilarTextIndex index;
  for (int i = 0; i < 2000; ++i) index.Add("Elemento número " + std::to_string(i));
  index.Add("Cerrar ventana");
  index.Add("Cerrar ventanas");
  const auto hits = index.Find("Cerrar la ventana", 75, 5);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(index.Text(hits[0].id), "Cerrar ventana");  // 3 edits of 17
  EXPECT_EQ(hits[0].similarity.score, 82);
  EXPECT_EQ(hits[1].similarity.score, 76);                // 4 edits of 17
  EXPECT_TRUE(index.Find("Cerrar la ventana", 85, 5).empty());
  // A filter on the numbers: only texts the caller can use.
  const auto filtered =
      index.Find("Cerrar la ventana", 75, 5, [&](std::size_t id) { return id != hits[0].id; });
  ASSERT_EQ(filtered.size(), 1u);
  EXPECT_EQ(filtered[0].similarity.score, 76);
}

}  // namespace
}  // namespace ulk
