// Fitting the dialogs of the layout fixture around German texts made too
// long on purpose, and what the check says of the result.
#include "translator/exchange/layout_fit.h"

#include "translator/exchange/layout_edit.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/scripted_ui.h"
#include "tests/test_support.h"
#include "translator/exchange/quality_check.h"
#include "translator/model/resource_engine.h"

namespace ulk {
namespace {

namespace fs = std::filesystem;

class LayoutFitTest : public ::testing::TestWithParam<const char*> {
 protected:
  LayoutFitTest() : dir_("fit") {}
  void SetUp() override {
    fs::copy_file(testing::FixturePath(GetParam()), dir_ / "app.dll");
    Module module;
    module.path = dir_ / "app.dll";
    module.AddOriginalLanguage();
    ResourceEngine engine;
    ASSERT_TRUE(engine.GetResources(&module)) << engine.failureText;
    Module* stored = project_.AddModule(module, true);
    stored->AddLanguage(ModuleLanguage("Deutsch", dir_ / "de.dll", false));
    ASSERT_EQ(ReadModuleLayouts(dir_ / "app.dll", layouts_), 0);
  }
  Module& M() { return project_.modules.front(); }
  ModuleLanguage& German() { return *M().FindLanguage("Deutsch"); }
  LayoutFitResult Fit(const std::string* dialog = nullptr, bool dryRun = false) {
    return FitModuleLayouts(M(), German(), dialog, dryRun);
  }
  LaidOutDialog Laid(const char* key) {
    const auto stored = German().dialogGeometry.find(key);
    return LayOut(layouts_.dialogs.at(key),
                  stored == German().dialogGeometry.end() ? DialogGeometry() : stored->second);
  }
  std::vector<std::string> Findings(CheckKind kind) {
    testing::ScriptedUi ui;
    std::vector<std::string> found;
    for (const Finding& f : CheckTranslations(project_, nullptr, nullptr, ui).findings) {
      if (f.check == kind) found.push_back(f.key);
    }
    return found;
  }

  testing::TempDir dir_;
  Project project_;
  ModuleLayouts layouts_;
};

TEST_P(LayoutFitTest, TooLongTextsAreFittedWithoutOverlapOrVerticalMoves) {
  German().SetEntry("DL_N_200 (1)", "Vollständiger Vorname:");
  German().SetEntry("DL_N_200 (6)", "Eine sehr lange erste Option");
  German().SetEntry("DL_N_200 (8)", "Übernehmen und schließen");
  German().SetEntry("DL_N_200 (3)", "Name:");  // fits: left alone
  ASSERT_EQ(Findings(CheckKind::kWidth),
            (std::vector<std::string>{"DL_N_200 (1)", "DL_N_200 (6)", "DL_N_200 (8)"}));
  const LaidOutDialog before = Laid("DL_N_200");

  const LayoutFitResult result = Fit();
  ASSERT_TRUE(result.ok()) << result.error;
  EXPECT_TRUE(result.changed);
  ASSERT_EQ(result.dialogs.size(), 1u);
  EXPECT_TRUE(result.dialogs[0].unfitted.empty());
  const LaidOutDialog after = Laid("DL_N_200");
  const auto& b = before.controls;
  const auto& a = after.controls;
  EXPECT_GT(a[0].cx, b[0].cx);  // the label, wider
  EXPECT_GT(a[1].x, b[1].x);    // its edit box, moved
  EXPECT_EQ(a[1].cx, b[1].cx);
  EXPECT_GT(a[7].x, b[7].x);  // the button of the row, moved and wider
  EXPECT_GT(a[7].cx, b[7].cx);
  EXPECT_EQ(a[2], b[2]);                  // the second row's label fits
  EXPECT_GT(a[5].cx, b[5].cx);            // the check box, wider...
  EXPECT_GE(a[4].Right(), a[5].Right());  // ...inside its grown group box
  EXPECT_TRUE(a[4].Contains(a[6]));
  EXPECT_GT(after.dialog.cx, before.dialog.cx);
  EXPECT_GE(after.dialog.cx, a[7].Right());
  EXPECT_TRUE(NewOverlaps(before, after).empty());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].y, b[i].y);
    EXPECT_EQ(a[i].cy, b[i].cy);
  }
  // The check now measures the stored geometry: nothing is too wide, and
  // nothing overlaps.
  EXPECT_TRUE(Findings(CheckKind::kWidth).empty());
  EXPECT_TRUE(Findings(CheckKind::kOverlap).empty());
  // Fitting again changes nothing.
  const DialogGeometry stored = German().dialogGeometry.at("DL_N_200");
  EXPECT_FALSE(Fit().changed);
  EXPECT_EQ(German().dialogGeometry.at("DL_N_200"), stored);
}

TEST_P(LayoutFitTest, ADryRunOrAnotherDialogLeavesTheLanguageAlone) {
  German().SetEntry("DL_N_200 (1)", "Vollständiger Vorname:");
  German().SetEntry("DL_N_201 (1)", "Beschriftung des Textes:");
  const LayoutFitResult dry = Fit(nullptr, true);
  EXPECT_TRUE(dry.changed);
  EXPECT_EQ(dry.dialogs.size(), 2u);
  EXPECT_TRUE(German().dialogGeometry.empty());
  const std::string only = "dl_n_201";
  ASSERT_TRUE(Fit(&only).ok());
  EXPECT_EQ(German().dialogGeometry.count("DL_N_200"), 0u);
  ASSERT_EQ(German().dialogGeometry.count("DL_N_201"), 1u);
  const std::string missing = "DL_N_777";
  EXPECT_FALSE(Fit(&missing).ok());
}

TEST_P(LayoutFitTest, WhatCannotBeFittedIsReported) {
  // A push button has one line: a second one never fits, however wide.
  German().SetEntry("DL_N_201 (3)", "Ja\\nNein");
  const LayoutFitResult result = Fit();
  ASSERT_TRUE(result.ok());
  EXPECT_FALSE(result.changed);
  ASSERT_EQ(result.dialogs.size(), 1u);
  ASSERT_EQ(result.dialogs[0].unfitted.size(), 1u);
  EXPECT_EQ(result.dialogs[0].unfitted[0].item, 3u);
  EXPECT_TRUE(German().dialogGeometry.empty());
}

TEST_P(LayoutFitTest, TheCheckFindsOverlapsTheLanguageMade) {
  ControlGeometry label;
  ASSERT_TRUE(ModuleGeometryOf(layouts_.dialogs.at("DL_N_200"), 1, label));
  label.rect.cx = 60;  // over the edit box beside it
  German().dialogGeometry["DL_N_200"][1] = label;
  EXPECT_EQ(Findings(CheckKind::kOverlap), std::vector<std::string>{"DL_N_200 (1)"});
}

// The editor's edits, as the window makes them.
TEST_P(LayoutFitTest, TheEditorMovesResizesFitsAndResets) {
  German().SetEntry("DL_N_200 (1)", "Vollständiger Vorname:");
  const DialogBox& module = layouts_.dialogs.at("DL_N_200");
  LayoutEditSession session(module, "DL_N_200", *M().DefaultLanguage(), German());
  EXPECT_EQ(session.NotFitting(), std::vector<std::uint32_t>{1});
  EXPECT_EQ(session.HitTest(10, 10), 1u);
  EXPECT_EQ(session.HitTest(20, 60), 6u) << "the check box, not the group box around it";
  EXPECT_EQ(session.HitTest(199, 89), 0u);
  session.Select(9);
  session.SelectNext(false);
  EXPECT_EQ(session.Selection(), 0u);
  session.SelectNext(true);
  EXPECT_EQ(session.Selection(), 9u);

  // Moves and sizes stay inside the template's range; the dialog only resizes.
  session.Select(2);
  EXPECT_TRUE(session.MoveBy(1, 0));
  EXPECT_TRUE(session.ResizeBy(-200, 0));
  EXPECT_EQ(session.RectOfItem(2), (DialogRect{41, 7, 0, 12}));
  EXPECT_FALSE(session.ResizeBy(-1, 0));
  EXPECT_TRUE(session.SetRect({32767, 7, 100, 12}));
  EXPECT_EQ(session.RectOfItem(2), (DialogRect{32767, 7, 0, 12}));
  EXPECT_TRUE(session.Reset());
  EXPECT_EQ(session.RectOfItem(2), RectOf(module.controls[1]));
  session.Select(0);
  EXPECT_FALSE(session.MoveBy(5, 5));
  EXPECT_FALSE(session.Changed());

  session.Select(1);
  const DialogFitReport report = session.Fit();
  EXPECT_FALSE(report.changes.empty());
  EXPECT_TRUE(session.NotFitting().empty());
  EXPECT_TRUE(session.Changed());
  EXPECT_EQ(session.Geometry().count(1), 1u);
  session.Select(0);
  EXPECT_TRUE(session.Reset());
  EXPECT_TRUE(session.Geometry().empty());
}

INSTANTIATE_TEST_SUITE_P(BothFormats, LayoutFitTest,
                         ::testing::Values("layout32.dll", "layout64.dll"));

}  // namespace
}  // namespace ulk
