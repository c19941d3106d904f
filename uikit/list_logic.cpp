// Cell comparison and column widths.
#include "uikit/list_logic.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <string>

namespace ulk {
namespace {

// Leading blanks skipped, then an optional sign and digits; no digits: 0.
long long IntegerValue(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

double RealValue(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  return end == copy.c_str() ? 0.0 : value;
}

double SpanishRealValue(std::string_view text) {
  std::string copy;
  for (char c : text) {
    if (c == '.') continue;
    copy.push_back(c == ',' ? '.' : c);
  }
  return RealValue(copy);
}

template <typename T>
int Order(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool ReadNumber(std::string_view& text, int digits, int& value) {
  value = 0;
  int read = 0;
  while (!text.empty() && read < digits && text.front() >= '0' && text.front() <= '9') {
    value = value * 10 + (text.front() - '0');
    text.remove_prefix(1);
    ++read;
  }
  return read > 0;
}

bool Expect(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

// Days from 1 January 1900 to the given date (proleptic Gregorian).
std::int64_t DaysFrom1900(int year, int month, int day) {
  auto daysFromCivil = [](std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3u : 9u)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe);
  };
  return daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
         daysFromCivil(1900, 1, 1);
}

}  // namespace

std::int64_t DateTimeValue(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  int a = 0, b = 0, c = 0;
  int year = 0, month = 0, day = 0;
  std::string_view rest = text;
  if (!ReadNumber(rest, 4, a)) return 0;
  if (Expect(rest, '-')) {
    year = a;
    if (!ReadNumber(rest, 2, month) || !Expect(rest, '-') || !ReadNumber(rest, 2, day)) return 0;
  } else if (Expect(rest, '/')) {
    day = a;
    if (!ReadNumber(rest, 2, b) || !Expect(rest, '/') || !ReadNumber(rest, 4, c)) return 0;
    month = b;
    year = c;
  } else {
    return 0;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1) return 0;
  int hour = 0, minute = 0, second = 0;
  if (Expect(rest, ' ') || Expect(rest, 'T')) {
    if (ReadNumber(rest, 2, hour) && Expect(rest, ':') && ReadNumber(rest, 2, minute)) {
      if (Expect(rest, ':')) ReadNumber(rest, 2, second);
    }
  }
  return DaysFrom1900(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

int CompareCells(ColumnType type, std::string_view a, std::string_view b) {
  int order = 0;
  switch (type) {
    case ColumnType::kInteger:
      order = Order(IntegerValue(a), IntegerValue(b));
      break;
    case ColumnType::kReal:
      order = Order(RealValue(a), RealValue(b));
      break;
    case ColumnType::kSpanishReal:
      order = Order(SpanishRealValue(a), SpanishRealValue(b));
      break;
    case ColumnType::kDateTime:
      order = Order(DateTimeValue(a), DateTimeValue(b));
      break;
    case ColumnType::kText:
      break;
  }
  if (order != 0) return order;
  const int text = a.compare(b);
  return text < 0 ? -1 : (text > 0 ? 1 : 0);
}

int FitColumnWidth(int start, int headerWidth, const std::vector<int>& cellWidths) {
  int width = std::max(start, headerWidth + kColumnMargin);
  for (int cell : cellWidths) width = std::max(width, cell + kColumnMargin);
  return width;
}

std::vector<int> ShareWidths(int width, int count) {
  std::vector<int> widths;
  if (count <= 0) return widths;
  width = std::max(width, 0);
  widths.assign(static_cast<std::size_t>(count), width / count);
  widths.back() += width % count;
  return widths;
}

}  // namespace ulk
