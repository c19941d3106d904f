// Dialog geometry: fitting laid-out dialogs made by hand, and writing
// rectangles into the templates of the fixture module.
#include "translator/resources/dialog_geometry.h"

#include <gtest/gtest.h>

#include "platform/pe_image.h"
#include "tests/test_support.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

ControlBox Box(std::uint32_t item, int x, int y, int cx, int cy, std::uint32_t style = 0,
               std::uint16_t classOrdinal = 0x82) {
  ControlBox box;
  box.item = item;
  box.id = 100 + item;
  box.x = static_cast<std::int16_t>(x);
  box.y = static_cast<std::int16_t>(y);
  box.cx = static_cast<std::int16_t>(cx);
  box.cy = static_cast<std::int16_t>(cy);
  box.style = style;
  box.classIsOrdinal = true;
  box.classOrdinal = classOrdinal;
  return box;
}

DialogBox Dialog(int cx, std::vector<ControlBox> controls) {
  DialogBox dialog;
  dialog.cx = static_cast<std::int16_t>(cx);
  dialog.cy = 100;
  dialog.controls = std::move(controls);
  return dialog;
}

void ExpectNoNewOverlap(const LaidOutDialog& before, const LaidOutDialog& after) {
  EXPECT_TRUE(NewOverlaps(before, after).empty());
  ASSERT_EQ(before.controls.size(), after.controls.size());
  for (std::size_t i = 0; i < before.controls.size(); ++i) {
    EXPECT_EQ(after.controls[i].y, before.controls[i].y)
        << "control " << i + 1 << " moved vertically";
    EXPECT_EQ(after.controls[i].cy, before.controls[i].cy);
    EXPECT_GE(after.controls[i].x, before.controls[i].x);
    EXPECT_GE(after.controls[i].cx, before.controls[i].cx) << "control " << i + 1 << " shrank";
  }
}

TEST(DialogFitTest, AWidenedLabelPushesItsRowAndWidensTheDialog) {
  // label | edit | button on one row; a second row below is left alone.
  const DialogBox module = Dialog(
      200, {Box(1, 7, 9, 30, 8), Box(2, 40, 7, 100, 12, 0, 0x81), Box(3, 143, 7, 50, 14, 0, 0x80),
            Box(4, 7, 25, 30, 8), Box(5, 40, 23, 100, 12, 0, 0x81)});
  const LaidOutDialog start = LayOut(module, {});
  const FitOutcome outcome = FitDialog(module, start, {{1, 60}});
  ASSERT_EQ(outcome.widened, std::vector<std::uint32_t>{1});
  EXPECT_TRUE(outcome.unfitted.empty());
  const auto& c = outcome.layout.controls;
  EXPECT_EQ(c[0], (DialogRect{7, 9, 60, 8}));
  EXPECT_EQ(c[1].x, 67 + 3) << "keeps the row's gap of 3";
  EXPECT_EQ(c[2].x, c[1].Right() + 3);
  EXPECT_EQ(c[3], start.controls[3]);
  EXPECT_EQ(c[4], start.controls[4]);
  EXPECT_EQ((std::vector<std::uint32_t>{2, 3}), outcome.moved);
  EXPECT_TRUE(outcome.dialogWidened);
  EXPECT_EQ(outcome.layout.dialog.cx, c[2].Right() + 7) << "keeps the right margin";
  ExpectNoNewOverlap(start, outcome.layout);
}

TEST(DialogFitTest, GroupBoxesGrowAroundWhatTheyHeldAndMoveIt) {
  constexpr std::uint32_t kGroup = 7;
  const DialogBox module =
      Dialog(200, {Box(1, 7, 40, 90, 40, kGroup, 0x80), Box(2, 14, 52, 40, 10, 3, 0x80),
                   Box(3, 14, 64, 40, 10, 3, 0x80), Box(4, 100, 40, 90, 40, kGroup, 0x80),
                   Box(5, 107, 52, 40, 10, 3, 0x80)});
  const LaidOutDialog start = LayOut(module, {});
  const FitOutcome outcome = FitDialog(module, start, {{2, 120}});
  ASSERT_EQ(outcome.widened, std::vector<std::uint32_t>{2});
  const auto& c = outcome.layout.controls;
  EXPECT_EQ(c[1].cx, 120);
  EXPECT_EQ(c[0].Right(), c[1].Right() + 43) << "the group keeps its margin";
  // The second group is pushed right, its check box with it.
  EXPECT_GE(c[3].x, c[0].Right());
  EXPECT_EQ(c[4].x - c[3].x, 7);
  EXPECT_TRUE(c[3].Contains(c[4]));
  ExpectNoNewOverlap(start, outcome.layout);
}

TEST(DialogFitTest, NothingShrinksAndWhatCannotBeFittedIsLeftAsItWas) {
  const DialogBox module =
      Dialog(200, {Box(1, 7, 9, 30, 8), Box(2, 32700, 7, 50, 12, 0, 0x80), Box(3, 7, 30, 30, 8)});
  const LaidOutDialog start = LayOut(module, {});
  // Narrower than now: nothing to do. Pushing control 2 past 32767: refused.
  const FitOutcome outcome = FitDialog(module, start, {{3, 10}, {1, 40000}, {1, 32720}});
  EXPECT_EQ(outcome.layout.controls, start.controls);
  EXPECT_EQ((std::vector<std::uint32_t>{1, 1}), outcome.unfitted);
  EXPECT_TRUE(outcome.widened.empty());
  EXPECT_FALSE(outcome.dialogWidened);
}

TEST(DialogFitTest, OverlapsThatWereThereAreKeptAndNoNewOneAppears) {
  // Controls 2 and 3 overlap in the module; control 1 grows into both.
  const DialogBox module =
      Dialog(120, {Box(1, 7, 7, 20, 10), Box(2, 30, 7, 30, 10), Box(3, 50, 7, 30, 10)});
  const LaidOutDialog start = LayOut(module, {});
  const FitOutcome outcome = FitDialog(module, start, {{1, 40}});
  ASSERT_EQ(outcome.widened, std::vector<std::uint32_t>{1});
  ExpectNoNewOverlap(start, outcome.layout);
  EXPECT_FALSE(outcome.layout.controls[0].Overlaps(outcome.layout.controls[1]));
}

TEST(DialogGeometryTest, StoredGeometryAppliesOnlyToTheControlItWasSetFor) {
  const DialogBox module = Dialog(200, {Box(1, 7, 9, 30, 8), Box(2, 40, 7, 100, 12)});
  DialogGeometry geometry;
  geometry[1] = {{7, 9, 60, 8}, {7, 9, 30, 8}, 101};
  geometry[2] = {{70, 7, 100, 12}, {40, 7, 90, 12}, 102};  // the module's control changed
  geometry[3] = {{1, 1, 1, 1}, {1, 1, 1, 1}, 103};         // no such control
  geometry[0] = {{0, 0, 230, 100}, {0, 0, 200, 100}, 0};
  const LaidOutDialog layout = LayOut(module, geometry);
  EXPECT_EQ(layout.controls[0], (DialogRect{7, 9, 60, 8}));
  EXPECT_EQ(layout.controls[1], (DialogRect{40, 7, 100, 12}));
  EXPECT_EQ(layout.dialog.cx, 230);
  EXPECT_FALSE(GeometryMatches(module, 2, geometry[2]));
  // And back: only what differs from the module is kept.
  const DialogGeometry kept = GeometryFor(module, layout);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept.at(1), geometry[1]);
  EXPECT_EQ(kept.at(0), geometry[0]);
}

TEST(DialogGeometryTest, RectanglesAreWrittenInPlaceInBothTemplateFormats) {
  for (const char* name : {"layout32.dll", "layout64.dll"}) {
    ModuleImage image;
    ASSERT_EQ(image.Open(testing::FixturePath(name)), 0);
    for (const std::uint32_t number : {200u, 201u}) {
      const ResourceData* data =
          image.Find(ResourceId::Number(kRtDialog), ResourceId::Number(number));
      ASSERT_NE(data, nullptr);
      const std::string own(data->bytes);
      DialogBox module;
      ASSERT_TRUE(ParseDialogBox(own, module));
      std::string bytes = "pad" + own;
      std::size_t skipped = 9;
      ASSERT_TRUE(ApplyDialogGeometry(bytes, 3, {}, skipped).ok());
      EXPECT_EQ(bytes.substr(3), own) << "no geometry, no change";
      EXPECT_EQ(skipped, 0u);

      DialogGeometry geometry;
      ControlGeometry first;
      ASSERT_TRUE(ModuleGeometryOf(module, 1, first));
      geometry[1] = {{-5, 9, 300, 8}, first.original, first.id};
      geometry[0] = {{0, 0, 320, 95}, RectOf(module), 0};
      geometry[2] = {{1, 2, 3, 4}, {9, 9, 9, 9}, 11};  // stale: not applied
      ASSERT_TRUE(ApplyDialogGeometry(bytes, 3, geometry, skipped).ok());
      EXPECT_EQ(skipped, 1u);
      ASSERT_EQ(bytes.size(), own.size() + 3);
      DialogBox after;
      ASSERT_TRUE(ParseDialogBox(std::string_view(bytes).substr(3), after));
      EXPECT_EQ(RectOf(after.controls[0]), (DialogRect{-5, 9, 300, 8})) << name << " " << number;
      EXPECT_EQ(RectOf(after), (DialogRect{0, 0, 320, 95}));
      EXPECT_EQ(RectOf(after.controls[1]), RectOf(module.controls[1]));
      // Nothing but the two rectangles changed: 16 bytes at most.
      std::size_t differing = 0;
      for (std::size_t i = 0; i < own.size(); ++i) differing += bytes[i + 3] != own[i];
      EXPECT_LE(differing, 16u);
      EXPECT_GT(differing, 0u);
    }
  }
}

TEST(DialogGeometryTest, ATemplateThatCannotBeWalkedIsLeftAlone) {
  const std::string cut("\x01\x00\xFF\xFF", 4);  // an extended head cut short
  std::string bytes = cut;
  DialogGeometry geometry;
  geometry[0] = {{0, 0, 10, 10}, {0, 0, 0, 0}, 0};
  std::size_t skipped = 0;
  EXPECT_FALSE(ApplyDialogGeometry(bytes, 0, geometry, skipped).ok());
  EXPECT_EQ(bytes, cut);
  EXPECT_FALSE(ApplyDialogGeometry(bytes, 10, geometry, skipped).ok());
}

}  // namespace
}  // namespace ulk
