// The rules of the list helpers that need no display: how two cells compare
// by the type of their column, and how column widths are fitted and shared.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace ulk {

enum class ColumnType {
  kText,         // byte order: "B" before "a"; UTF-8 keeps code-point order
  kInteger,      // decimal values
  kReal,         // decimal fractions, "." as the point
  kSpanishReal,  // every "." removed, then "," read as the point
  kDateTime,     // parsed dates; empty or unreadable: 1 January 1900
};

// Negative, zero or positive as `a` sorts before, with or after `b`. The
// typed columns break ties by the text order.
int CompareCells(ColumnType type, std::string_view a, std::string_view b);

// Seconds since 1 January 1900 of "dd/mm/yyyy[ hh:mm[:ss]]" or
// "yyyy-mm-dd[ hh:mm[:ss]]"; 0 when the text reads as neither.
std::int64_t DateTimeValue(std::string_view text);

// The width of a fitted column: the largest of `start`, every cell text
// width + 25 and the header text width + 25.
inline constexpr int kColumnMargin = 25;
int FitColumnWidth(int start, int headerWidth, const std::vector<int>& cellWidths);

// The widths of `count` columns sharing `width` pixels equally; the
// remainder of the division goes to the last one. Negative widths give 0.
std::vector<int> ShareWidths(int width, int count);

}  // namespace ulk
