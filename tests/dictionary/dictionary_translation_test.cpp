// Dictionary-assisted translation against a real dictionary.
#include "translator/dictionary/dictionary_translation.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "tests/scripted_ui.h"
#include "tests/test_support.h"

namespace ulk {
namespace {

class FakeSelectionView : public UndoView {
 public:
  explicit FakeSelectionView(Module& module) : module_(module) {}
  std::string CurrentModulePath() override { return module_.path; }
  bool CaptureSelection(ModuleSnapshot& snapshot) override {
    for (const ModuleLanguage& language : module_.languages) {
      ModuleLanguage& saved =
          snapshot.AddLanguage(ModuleLanguage(language.name, "", language.isDefault));
      for (const std::string& key : selection) {
        const TextEntry* entry = language.FindEntry(key);
        saved.SetEntry(key, entry ? entry->text : "", entry ? entry->status : 0);
      }
    }
    return !selection.empty();
  }
  int FindRow(std::string_view) override { return -1; }
  void RefreshRow(int) override {}
  void EnsureRowVisible(int) override {}
  void SuspendRedraw() override {}
  void ResumeRedraw() override {}
  std::vector<std::string> selection;

 private:
  Module& module_;
};

class DictionaryTranslationTest : public ::testing::Test {
 protected:
  DictionaryTranslationTest() : dir_("dictrans") {}
  void SetUp() override {
    ASSERT_TRUE(dictionary_.Load({TERMVAULT_PATH}));
    ASSERT_TRUE(dictionary_.Open(dir_ / "test.dic"));
    Module module;
    module.path = "/app/prog.exe";
    Module* stored = project_.AddModule(module, false);
    ModuleLanguage& original = stored->AddLanguage(ModuleLanguage("Español", "", true));
    original.SetEntry("MN_N_1 (1)", "&Abrir\\tCtrl+A");
    original.SetEntry("ST_N_1 (0)", "Sí");
    original.SetEntry("ST_N_1 (1)", "No");
    original.SetEntry("ST_N_1 (2)", "Quizá");
    stored->AddLanguage(ModuleLanguage("English", "/app/en.exe", false));
    stored->AddLanguage(ModuleLanguage("Deutsch", "/app/de.exe", false));
  }
  Module& M() { return project_.modules.front(); }
  ModuleLanguage& Original() { return *M().DefaultLanguage(); }
  ModuleLanguage& Lang(const char* name) { return *M().FindLanguage(name); }

  testing::TempDir dir_;
  DictionaryComponent dictionary_;
  Project project_;
  testing::ScriptedUi ui_;
};

TEST_F(DictionaryTranslationTest, MenuTextNormalisation) {
  struct Case {
    const char* text;
    const char* normalised;
    bool changed;
  } cases[] = {
      {"&Abrir\\tCtrl+A", "Abrir", true},
      {"Save && Exit", "Save && Exit", false},
      {"&Save && E&xit", "Save && Exit", true},
      {"Plain", "Plain", false},
      {"Two\nlines & more", "Two\nlines & more", false},
      {"Cut\\t", "Cut", true},
  };
  for (const auto& c : cases) {
    bool changed = false;
    EXPECT_EQ(NormaliseMenuText(c.text, changed), c.normalised) << c.text;
    EXPECT_EQ(changed, c.changed) << c.text;
  }
}

TEST_F(DictionaryTranslationTest, AddingStoresMenuTextsAlsoNormalised) {
  Lang("English").SetEntry("MN_N_1 (1)", "&Open\\tCtrl+O");
  Lang("English").SetEntry("ST_N_1 (0)", "Yes");
  Lang("English").SetEntry("ST_N_1 (1)", "");  // an empty translation is not stored
  Lang("Deutsch").SetEntry("ST_N_1 (0)", "Ja");
  EXPECT_TRUE(
      AddKeysToDictionary(M(), {"MN_N_1 (1)", "ST_N_1 (0)", "ST_N_1 (1)", ""}, dictionary_, ui_));
  EXPECT_TRUE(ui_.log.empty());
  EXPECT_EQ(ui_.progress, (std::vector<std::string>{"show", "range 0 4", "pos 1", "pos 2", "pos 3",
                                                    "pos 4", "hide"}));
  ASSERT_TRUE(dictionary_.Find("MN", "Español", "&Abrir\\tCtrl+A"));
  EXPECT_EQ(dictionary_.GetFirst("English"), "&Open\\tCtrl+O");
  ASSERT_TRUE(dictionary_.Find("MN", "Español", "Abrir"));
  EXPECT_EQ(dictionary_.GetFirst("English"), "Open");
  ASSERT_TRUE(dictionary_.Find("ST", "Español", "Sí"));
  EXPECT_EQ(dictionary_.GetFirst("Deutsch"), "Ja");
  EXPECT_FALSE(dictionary_.Find("ST", "Español", "No"));

  dictionary_.Close();  // every store now fails
  EXPECT_FALSE(AddKeysToDictionary(M(), {"ST_N_1 (0)"}, dictionary_, ui_));
  EXPECT_EQ(ui_.log.back(), "exclamation: Error añadiendo un recurso al diccionario");
}

TEST_F(DictionaryTranslationTest, TranslatingTakesTheFirstCandidateAndSetsTheStatus) {
  dictionary_.Set("ST", "Español", "Sí", "English", "Yes");
  dictionary_.Set("ST", "Español", "Sí", "English", "Aye");
  dictionary_.Set("ST", "Español", "No", "Deutsch", "Nein");
  FakeSelectionView view(M());
  UndoHistory history(project_);
  history.SetView(&view);
  view.selection = {"ST_N_1 (0)", "ST_N_1 (1)", "ST_N_1 (2)"};
  const auto changed = TranslateKeys(M(), view.selection, dictionary_, ui_, &history);
  EXPECT_EQ(changed, (std::vector<std::string>{"ST_N_1 (0)", "ST_N_1 (1)"}));
  EXPECT_EQ(Lang("English").FindEntry("ST_N_1 (0)")->text, "Aye") << "candidates in text order";
  EXPECT_EQ(Original().FindEntry("ST_N_1 (0)")->status, kStatusDictionarySeveral);
  EXPECT_EQ(Lang("Deutsch").FindEntry("ST_N_1 (1)")->text, "Nein");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->status, kStatusDictionaryOne);
  EXPECT_EQ(Original().FindEntry("ST_N_1 (2)")->status, kStatusUnchanged);
  EXPECT_EQ(history.UndoDepth(), 1u);

  // Again: the single candidate already in place changes nothing.
  view.selection = {"ST_N_1 (1)"};
  EXPECT_TRUE(TranslateKeys(M(), view.selection, dictionary_, ui_, &history).empty());
  EXPECT_EQ(history.UndoDepth(), 1u) << "no undo step for no change";

  ASSERT_TRUE(history.Undo());
  EXPECT_EQ(Lang("English").FindEntry("ST_N_1 (0)"), nullptr);
  EXPECT_EQ(Original().FindEntry("ST_N_1 (0)")->status, kStatusUnchanged);
}

TEST_F(DictionaryTranslationTest, AMinimumBelowAHundredFillsFromSimilarTextsForReview) {
  ASSERT_TRUE(dictionary_.HasSimilarTexts());
  dictionary_.Set("ST", "Español", "Quizás", "English", "Maybe");
  dictionary_.Set("ST", "Español", "Sí", "English", "Yes");
  dictionary_.Set("ST", "Español", "Nop", "Deutsch", "Nö");
  const std::vector<std::string> keys = {"ST_N_1 (0)", "ST_N_1 (1)", "ST_N_1 (2)"};

  // By default only the same texts.
  EXPECT_EQ(TranslateKeys(M(), keys, dictionary_, ui_, nullptr),
            (std::vector<std::string>{"ST_N_1 (0)"}));
  EXPECT_EQ(Lang("English").FindEntry("ST_N_1 (0)")->review, kReviewTranslated);

  // "Quizá" is 83 from "Quizás" (one of six), "No" 66 from "Nop".
  EXPECT_EQ(TranslateKeys(M(), keys, dictionary_, ui_, nullptr, 80),
            (std::vector<std::string>{"ST_N_1 (2)"}));
  const TextEntry* maybe = Lang("English").FindEntry("ST_N_1 (2)");
  ASSERT_NE(maybe, nullptr);
  EXPECT_EQ(maybe->text, "Maybe");
  EXPECT_EQ(maybe->review, kReviewNeeded);
  EXPECT_EQ(Original().FindEntry("ST_N_1 (2)")->status, kStatusDictionaryOne);
  EXPECT_EQ(Lang("Deutsch").FindEntry("ST_N_1 (1)"), nullptr);
  EXPECT_EQ(Lang("English").FindEntry("ST_N_1 (0)")->review, kReviewTranslated)
      << "a text found as it stands is no matter for review";

  EXPECT_EQ(TranslateKeys(M(), keys, dictionary_, ui_, nullptr, 60),
            (std::vector<std::string>{"ST_N_1 (1)"}));
  EXPECT_EQ(Lang("Deutsch").FindEntry("ST_N_1 (1)")->text, "Nö");

  // The matches themselves: best first, with scores and types.
  const std::vector<DictionaryMatch> matches =
      dictionary_.FindSimilar("ST", "Español", "Quizá", "English", 50, 5);
  ASSERT_EQ(matches.size(), 1u);
  EXPECT_EQ(matches[0].score, 83);
  EXPECT_EQ(matches[0].source, "Quizás");
  EXPECT_EQ(matches[0].type, "ST");
}

TEST_F(DictionaryTranslationTest, CandidatesAreCappedAndLabelsCut) {
  const std::string longText = std::string(58, 'a') + "ñéü tail";
  dictionary_.Set("ST", "Español", "Sí", "English", longText);
  for (int i = 0; i < 25; ++i)
    dictionary_.Set("ST", "Español", "Sí", "English", "Yes " + std::to_string(100 + i));
  const auto candidates = CandidatesFor(M(), "ST_N_1 (0)", "English", dictionary_);
  ASSERT_EQ(candidates.size(), kMaxCandidates);
  EXPECT_EQ(candidates[0].label, "Yes 100");
  const auto cut = std::find_if(candidates.begin(), candidates.end(),
                                [&](const Candidate& c) { return c.text == longText; });
  ASSERT_EQ(cut, candidates.end()) << "sorted after the 20 shown";
  const auto few = CandidatesFor(M(), "ST_N_1 (0)", "Deutsch", dictionary_);
  EXPECT_TRUE(few.empty());

  dictionary_.Set("ST", "Español", "No", "Deutsch", longText);
  const auto single = CandidatesFor(M(), "ST_N_1 (1)", "Deutsch", dictionary_);
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].label, std::string(58, 'a') + "ñé...") << "60 characters, not bytes";
  EXPECT_EQ(single[0].text, longText);

  ASSERT_TRUE(ApplyCandidate(M(), "ST_N_1 (1)", "Deutsch", single[0].text));
  EXPECT_EQ(Lang("Deutsch").FindEntry("ST_N_1 (1)")->text, longText);
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->status, kStatusDictionaryOne);
  EXPECT_FALSE(ApplyCandidate(M(), "ST_N_1 (1)", "Deutsch", ""));
  EXPECT_FALSE(ApplyCandidate(M(), "ST_N_1 (1)", "Deutsch", "two\nlines"));
  EXPECT_FALSE(ApplyCandidate(M(), "ST_N_1 (1)", "Deutsch", "\xff"));
  EXPECT_EQ(Lang("Deutsch").FindEntry("ST_N_1 (1)")->text, longText);
  EXPECT_FALSE(ApplyCandidate(M(), "ST_N_1 (1)", "Klingon", "x"));
}

TEST_F(DictionaryTranslationTest, TextsThatMayNotEnterTheProjectAreSkipped) {
  // A dictionary written by another program: raw line breaks, invalid
  // UTF-8, control characters, sorted before the good translation.
  dictionary_.Set("ST", "Español", "Sí", "English", "Yes");
  const std::string path = dictionary_.path();
  dictionary_.Close();
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &raw), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(raw,
                         "insert into texts (text_type, text_lang_id, text_text) values "
                         "('ST', 2, 'A' || char(10) || 'line'), ('ST', 2, cast(x'41ff' as text)), "
                         "('ST', 2, 'A' || char(133)); "
                         "insert into translations (tran_text_id_1, tran_text_id_2) "
                         "select 1, text_id from texts where text_id > 2",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(raw);
  ASSERT_TRUE(dictionary_.Open(path));
  ASSERT_TRUE(TranslateEntry(M(), "ST_N_1 (0)", dictionary_));
  EXPECT_EQ(Lang("English").FindEntry("ST_N_1 (0)")->text, "Yes");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (0)")->status, kStatusDictionaryOne);
  const auto candidates = CandidatesFor(M(), "ST_N_1 (0)", "English", dictionary_);
  ASSERT_EQ(candidates.size(), 1u);
  EXPECT_EQ(candidates[0].text, "Yes");

  // A component that hands such texts out itself.
  DictionaryComponent fake;
  ASSERT_TRUE(fake.Load({FAKE_RAW_TEXTS}));
  ASSERT_TRUE(fake.Open(dir_ / "any.dic"));
  const auto fromFake = CandidatesFor(M(), "ST_N_1 (1)", "English", fake);
  ASSERT_EQ(fromFake.size(), 2u);
  EXPECT_EQ(fromFake[0].text, "bueno");
  EXPECT_EQ(fromFake[1].text, "otro");
  ASSERT_TRUE(TranslateEntry(M(), "ST_N_1 (1)", fake));
  EXPECT_EQ(Lang("English").FindEntry("ST_N_1 (1)")->text, "bueno");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->status, kStatusDictionarySeveral);

  // A component without the search of similar texts: none, and a minimum
  // below 100 translates as before.
  EXPECT_FALSE(fake.HasSimilarTexts());
  EXPECT_TRUE(fake.FindSimilar("ST", "Español", "No", "English", 50, 5).empty());
  EXPECT_FALSE(fake.PrepareSimilarTexts({}));
  ASSERT_TRUE(TranslateEntry(M(), "ST_N_1 (2)", fake, 50));
  EXPECT_EQ(Lang("English").FindEntry("ST_N_1 (2)")->review, kReviewTranslated);
}

}  // namespace
}  // namespace ulk
