// Measuring texts in their dialog controls.
#include "translator/exchange/control_text_fit.h"

#include <algorithm>

#include "translator/model/text_escape.h"
#include "translator/resources/dialog_geometry.h"

namespace ulk {
namespace {

constexpr std::uint16_t kButtonClass = 0x80;
constexpr std::uint16_t kStaticClass = 0x82;
constexpr std::uint32_t kStaticNoPrefix = 0x80;
constexpr std::uint32_t kButtonMultiline = 0x2000;

// The text as a control shows it: hotkey markers gone ("&&" shows "&").
std::string ShownText(std::string_view text, bool prefixes) {
  if (!prefixes) return std::string(text);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

bool HasTextTitle(const ControlBox& control) {
  return control.classIsOrdinal &&
         (control.classOrdinal == kButtonClass || control.classOrdinal == kStaticClass);
}

TextFit MeasureControlText(TextMeasurer& measurer, std::string_view stored,
                           const ControlBox& control) {
  TextFit fit;
  const bool isStatic = control.classOrdinal == kStaticClass;
  const std::uint32_t type = control.style & (isStatic ? 0x1Fu : 0x0Fu);
  // The room the text gets: a button's frame, a check box's box, a group
  // box's corners take their share of the control.
  int marginUnits = 0;
  bool wraps = false;
  if (isStatic) {
    wraps = type <= 2;  // left, centred, right: the system breaks lines
  } else if (type <= 1) {
    marginUnits = 4;  // push buttons
    wraps = control.style & kButtonMultiline;
  } else if (type == 7) {
    marginUnits = 8;  // group boxes
  } else {
    marginUnits = 12;  // check boxes and radio buttons
    wraps = control.style & kButtonMultiline;
  }
  const int room = measurer.HorizontalPixels(std::max(0, control.cx - marginUnits));
  const int lineHeight = std::max(1, measurer.BaseUnitY());
  const int lines = wraps ? std::max(1, measurer.VerticalPixels(control.cy) / lineHeight) : 1;
  const bool prefixes = !(isStatic && (control.style & kStaticNoPrefix));
  const std::string text = ShownText(UnescapeText(stored), prefixes);

  int widest = 0;
  int needed = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = std::string_view(text).substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!wraps) {
      widest = std::max(widest, measurer.TextWidth(line));
      ++needed;
    } else {
      // Greedy breaking at blanks, as the system breaks a static's text.
      int used = 0;
      int lineCount = 1;
      const int blank = measurer.TextWidth(" ");
      for (std::size_t at = 0; at <= line.size();) {
        std::size_t next = line.find(' ', at);
        if (next == std::string_view::npos) next = line.size();
        const int word = measurer.TextWidth(line.substr(at, next - at));
        widest = std::max(widest, word);
        if (used > 0 && used + blank + word > room) {
          ++lineCount;
          used = word;
        } else {
          used += (used > 0 ? blank : 0) + word;
        }
        at = next + 1;
      }
      needed += lineCount;
    }
    if (end == text.size()) break;
    start = end + 1;
  }
  const double widthDemand = room > 0 ? static_cast<double>(widest) / room : (widest > 0 ? 1e9 : 0);
  const double lineDemand = static_cast<double>(needed) / lines;
  fit.demand = std::max(widthDemand, lineDemand);
  if (lineDemand > 1 && widthDemand <= 1) {
    fit.detail = "necesita " + std::to_string(needed) + " líneas y el control tiene sitio para " +
                 std::to_string(lines);
  } else {
    fit.detail = "mide " + std::to_string(widest) + " píxeles y el control deja " +
                 std::to_string(std::max(room, 0)) + " (" + std::to_string(control.cx) +
                 " unidades de diálogo)";
  }
  return fit;
}

int NeededControlWidth(TextMeasurer& measurer, std::string_view stored, const ControlBox& control) {
  if (MeasureControlText(measurer, stored, control).demand <= 1) return control.cx;
  ControlBox wider = control;
  const int limit = kMaxDialogUnit - control.x;
  if (limit <= control.cx) return -1;
  wider.cx = static_cast<std::int16_t>(limit);
  if (MeasureControlText(measurer, stored, wider).demand > 1) return -1;
  // The demand falls as the control widens: the least width that fits lies
  // between one that does not and one that does.
  int low = control.cx;  // does not fit
  int high = limit;      // fits
  while (high - low > 1) {
    const int middle = low + (high - low) / 2;
    wider.cx = static_cast<std::int16_t>(middle);
    (MeasureControlText(measurer, stored, wider).demand <= 1 ? high : low) = middle;
  }
  return high;
}

}  // namespace ulk
