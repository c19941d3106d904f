#include "translator/model/undo_history.h"

#include "translator/model/resource_rows.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

// A resource list that shows the default language's keys as rows and whose
// selection is a set of keys.
class FakeListView : public UndoView {
 public:
  explicit FakeListView(Project& project) : project_(project) {}

  std::string CurrentModulePath() override { return currentPath; }
  bool CaptureSelection(ModuleSnapshot& snapshot) override {
    const Module* module = project_.FindModuleByPath(currentPath);
    if (!module || selection.empty()) return false;
    return CaptureEntries(*module, selection, snapshot) > 0;
  }
  int FindRow(std::string_view key) override {
    const ModuleLanguage* original = project_.modules.front().DefaultLanguage();
    int row = 0;
    for (const TextEntry& entry : original->Entries()) {
      if (entry.key == key) return row;
      ++row;
    }
    return -1;
  }
  void RefreshRow(int row) override { refreshed.push_back(row); }
  void EnsureRowVisible(int row) override { visible.push_back(row); }
  void SuspendRedraw() override { ++suspended; }
  void ResumeRedraw() override { ++resumed; }

  std::string currentPath;
  std::vector<std::string> selection;
  std::vector<int> refreshed;
  std::vector<int> visible;
  int suspended = 0;
  int resumed = 0;

 private:
  Project& project_;
};

class UndoHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Module module;
    module.path = "/nowhere/app.dll";
    Module* stored = project_.AddModule(module, false);
    ModuleLanguage& original = stored->AddLanguage(ModuleLanguage("Español", "", true));
    original.SetEntry("ST_N_1 (0)", "Abrir");
    original.SetEntry("ST_N_1 (1)", "Cerrar");
    stored->AddLanguage(ModuleLanguage("English", "/o/en.dll", false))
        .SetEntry("ST_N_1 (1)", "Close");
    view_.currentPath = stored->path;
    history_.SetView(&view_);
  }
  Module& M() { return project_.modules.front(); }
  ModuleLanguage& Original() { return *M().DefaultLanguage(); }
  ModuleLanguage& English() { return *M().FindLanguage("English"); }

  // What the translation dialog does: record, change, commit.
  void Translate(const std::string& key, const std::string& text, int status = 2) {
    view_.selection = {key};
    ASSERT_TRUE(history_.BeginEdit(false));
    English().SetEntry(key, text);
    Original().FindEntry(key)->status = status;
    EXPECT_TRUE(history_.CommitEdit());
  }

  Project project_;
  FakeListView view_{project_};
  UndoHistory history_{project_};
};

TEST_F(UndoHistoryTest, UndoRemovesANewTranslationAndRedoRestoresIt) {
  Translate("ST_N_1 (0)", "Open");
  ASSERT_TRUE(history_.CanUndo());
  EXPECT_FALSE(history_.CanRedo());

  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)"), nullptr);
  EXPECT_EQ(Original().FindEntry("ST_N_1 (0)")->status, 0);
  EXPECT_TRUE(history_.CanRedo());
  EXPECT_EQ(view_.refreshed, std::vector<int>{0});
  EXPECT_EQ(view_.visible, std::vector<int>{0});
  EXPECT_EQ(view_.suspended, 1);
  EXPECT_EQ(view_.resumed, 1);

  ASSERT_TRUE(history_.Redo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)")->text, "Open");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (0)")->status, 2);
  EXPECT_FALSE(history_.CanRedo());
  EXPECT_TRUE(history_.CanUndo());
}

TEST_F(UndoHistoryTest, UndoRestoresAnEarlierTranslation) {
  Translate("ST_N_1 (1)", "Shut", 3);
  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (1)")->text, "Close");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->status, 0);
  ASSERT_TRUE(history_.Redo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (1)")->text, "Shut");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->status, 3);
}

TEST_F(UndoHistoryTest, ReviewStatesAndNotesComeBack) {
  view_.selection = {"ST_N_1 (0)", "ST_N_1 (1)"};
  ASSERT_TRUE(history_.BeginEdit(true));
  English().FindEntry("ST_N_1 (1)")->review = kReviewDone;
  English().SetEntry("ST_N_1 (0)", "").note = "¿abrir qué?";
  Original().FindEntry("ST_N_1 (1)")->note = "botón";
  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (1)")->review, kReviewTranslated);
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)"), nullptr);
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->note, "");
  ASSERT_TRUE(history_.Redo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (1)")->review, kReviewDone);
  ASSERT_NE(English().FindEntry("ST_N_1 (0)"), nullptr);
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)")->note, "¿abrir qué?");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->note, "botón");
}

// Accepting the layout editor is one undo step: the dialog's geometry, or
// its absence, comes back whole.
TEST_F(UndoHistoryTest, ADialogsGeometryComesBack) {
  Module& module = project_.modules.front();
  ModuleLanguage& english = *module.FindLanguage("English");
  const ControlGeometry wide{{7, 7, 80, 8}, {7, 7, 50, 8}, 1};
  const ControlGeometry wider{{7, 7, 99, 8}, {7, 7, 50, 8}, 1};
  ASSERT_TRUE(history_.BeginLayoutEdit(module, "English", "DL_N_5", true));
  english.dialogGeometry["DL_N_5"][1] = wide;
  ASSERT_TRUE(history_.BeginLayoutEdit(module, "English", "DL_N_5", true));
  english.dialogGeometry["DL_N_5"][1] = wider;
  english.dialogGeometry["DL_N_6"][1] = wide;  // not part of the step

  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(english.dialogGeometry.at("DL_N_5").at(1), wide);
  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(english.dialogGeometry.count("DL_N_5"), 0u) << "absent again, not empty";
  EXPECT_EQ(english.dialogGeometry.count("DL_N_6"), 1u);
  ASSERT_TRUE(history_.Redo());
  ASSERT_TRUE(history_.Redo());
  EXPECT_EQ(english.dialogGeometry.at("DL_N_5").at(1), wider);
  EXPECT_FALSE(history_.BeginLayoutEdit(module, "Español", "DL_N_5", true));
  EXPECT_FALSE(history_.BeginLayoutEdit(module, "Klingon", "DL_N_5", true));
}

TEST_F(UndoHistoryTest, ANewEditEmptiesTheRedoStack) {
  Translate("ST_N_1 (0)", "Open");
  history_.Undo();
  ASSERT_TRUE(history_.CanRedo());
  Translate("ST_N_1 (1)", "Shut");
  EXPECT_FALSE(history_.CanRedo());
}

TEST_F(UndoHistoryTest, BeginEditNeedsAViewAModuleAndASelection) {
  view_.selection = {};
  EXPECT_FALSE(history_.BeginEdit(true));
  view_.selection = {"ST_N_1 (0)"};
  view_.currentPath = "";
  EXPECT_FALSE(history_.BeginEdit(true));
  history_.SetView(nullptr);
  EXPECT_FALSE(history_.BeginEdit(true));
  EXPECT_FALSE(history_.CommitEdit());
  EXPECT_FALSE(history_.CanUndo());

  history_.SetView(&view_);
  view_.currentPath = M().path;
  EXPECT_TRUE(history_.BeginEdit(true));
  EXPECT_TRUE(history_.CanUndo());
  EXPECT_FALSE(history_.CommitEdit()) << "commit-now left nothing pending";

  EXPECT_TRUE(history_.BeginEdit(false));
  history_.DiscardEdit();
  EXPECT_FALSE(history_.CommitEdit());
  EXPECT_EQ(history_.UndoDepth(), 1u);
}

TEST_F(UndoHistoryTest, NothingHappensForAModuleThatIsGone) {
  Translate("ST_N_1 (0)", "Open");
  project_.modules.front().path = "/elsewhere.dll";
  EXPECT_FALSE(history_.Undo());
  EXPECT_TRUE(history_.CanUndo());
  EXPECT_FALSE(history_.CanRedo());
}

TEST_F(UndoHistoryTest, DepthLimitDropsTheOldest) {
  UndoHistory limited(project_, 2);
  limited.SetView(&view_);
  view_.selection = {"ST_N_1 (0)"};
  for (const char* text : {"a", "b", "c"}) {
    ASSERT_TRUE(limited.BeginEdit(false));
    English().SetEntry("ST_N_1 (0)", text);
    limited.CommitEdit();
  }
  EXPECT_EQ(limited.UndoDepth(), 2u);
  EXPECT_TRUE(limited.Undo());
  EXPECT_TRUE(limited.Undo());
  EXPECT_FALSE(limited.Undo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (0)")->text, "a");
  EXPECT_EQ(limited.RedoDepth(), 2u);

  limited.ClearHistory();
  EXPECT_FALSE(limited.CanUndo());
  EXPECT_FALSE(limited.CanRedo());
}

TEST_F(UndoHistoryTest, ChangesRecordedAcrossModulesAreOneStep) {
  Module other;
  other.path = "/nowhere/lib.dll";
  Module& lib = *project_.AddModule(other, false);
  lib.AddLanguage(ModuleLanguage("Español", "", true)).SetEntry("ST_N_1 (0)", "Guardar");
  lib.AddLanguage(ModuleLanguage("English", "/o/lib.dll", false));
  const Project before = project_;

  // What a reuse of another project's translations does to both modules.
  English().SetEntry("ST_N_1 (1)", "Shut");
  Original().FindEntry("ST_N_1 (1)")->status = 3;
  lib.FindLanguage("English")->SetEntry("ST_N_1 (0)", "Save");
  ASSERT_TRUE(history_.RecordChanges(
      before, {{M().path, "ST_N_1 (1)"}, {"/nowhere/lib.dll", "ST_N_1 (0)"}}));
  EXPECT_EQ(history_.UndoDepth(), 1u);

  ASSERT_TRUE(history_.Undo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (1)")->text, "Close");
  EXPECT_EQ(Original().FindEntry("ST_N_1 (1)")->status, 0);
  EXPECT_EQ(lib.FindLanguage("English")->FindEntry("ST_N_1 (0)"), nullptr);
  // Row 0 of the list is the shown module's "ST_N_1 (0)", not the other's.
  EXPECT_EQ(view_.refreshed, std::vector<int>{1});

  ASSERT_TRUE(history_.Redo());
  EXPECT_EQ(English().FindEntry("ST_N_1 (1)")->text, "Shut");
  EXPECT_EQ(lib.FindLanguage("English")->FindEntry("ST_N_1 (0)")->text, "Save");
  EXPECT_EQ(history_.UndoDepth(), 1u);

  EXPECT_FALSE(history_.RecordChanges(before, {})) << "nothing changed, no step";
  EXPECT_EQ(history_.UndoDepth(), 1u);
}

}  // namespace
}  // namespace ulk
