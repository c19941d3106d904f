// Cell order and column widths of the list helpers.
#include "uikit/list_logic.h"

#include <gtest/gtest.h>

namespace ulk {
namespace {

int Sign(int v) {
  return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

TEST(ListLogic, CellOrderByColumnType) {
  const struct {
    ColumnType type;
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {ColumnType::kText, "B", "a", -1},  // byte order
      {ColumnType::kText, "a", "á", -1},
      {ColumnType::kText, "abc", "abc", 0},
      {ColumnType::kInteger, "9", "10", -1},
      {ColumnType::kInteger, "-3", "2", -1},
      {ColumnType::kInteger, "x", "0", 1},  // equal values: the text decides
      {ColumnType::kReal, "2.5", "10.25", -1},
      {ColumnType::kSpanishReal, "1.234,5", "999,9", 1},
      {ColumnType::kSpanishReal, "2,5", "2,50", -1},  // tie broken by text
      {ColumnType::kDateTime, "31/12/1999", "01/01/2000", -1},
      {ColumnType::kDateTime, "2000-01-01 10:00", "2000-01-01 09:59:59", 1},
      {ColumnType::kDateTime, "", "01/01/1900", -1},  // both 1900; text decides
      {ColumnType::kDateTime, "basura", "02/01/1900", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(CompareCells(c.type, c.a, c.b)), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(CompareCells(c.type, c.b, c.a)), -c.order) << c.b << " vs " << c.a;
  }
}

TEST(ListLogic, UnreadableDatesCountAsTheFirstOf1900) {
  EXPECT_EQ(DateTimeValue(""), 0);
  EXPECT_EQ(DateTimeValue("01/01/1900 00:00:00"), 0);
  EXPECT_EQ(DateTimeValue("32/01/2000"), 0);
  EXPECT_EQ(DateTimeValue("02/01/1900"), 86400);
  EXPECT_EQ(DateTimeValue("1900-01-01 01:02:03"), 3723);
}

TEST(ListLogic, SharedWidthsGiveTheRemainderToTheLast) {
  EXPECT_EQ(ShareWidths(100, 3), (std::vector<int>{33, 33, 34}));
  EXPECT_EQ(ShareWidths(100, 1), (std::vector<int>{100}));
  EXPECT_EQ(ShareWidths(-5, 2), (std::vector<int>{0, 0}));
  EXPECT_TRUE(ShareWidths(100, 0).empty());
}

TEST(ListLogic, FittedWidthTakesTheWidestOfStartCellsAndHeader) {
  EXPECT_EQ(FitColumnWidth(25, 10, {}), 35);
  EXPECT_EQ(FitColumnWidth(25, 10, {5, 80, 40}), 105);
  EXPECT_EQ(FitColumnWidth(300, 10, {80}), 300);  // from the current width
  EXPECT_EQ(FitColumnWidth(25, 0, {}), 25);
}

}  // namespace
}  // namespace ulk
