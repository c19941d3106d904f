// Whether a text fits its dialog control in the dialog's font, as the
// control draws it (a button's frame, a check box's box and a group box's
// corners take their share; statics and multi-line buttons break lines at
// blanks), and how wide the control must be for it to fit.
#pragma once

#include <string>
#include <string_view>

#include "translator/exchange/text_width.h"
#include "translator/resources/resource_layout.h"

namespace ulk {

struct TextFit {
  double demand = 0;   // above 1: does not fit
  std::string detail;  // what it needs, in Spanish
};

// Measures the stored (escaped) text in `control` with the font `measurer`
// has selected.
TextFit MeasureControlText(TextMeasurer& measurer, std::string_view stored,
                           const ControlBox& control);

// The smallest width (dialog units, at least the control's own) at which
// the text fits, its height kept; -1 when no width up to the 16-bit limit
// of a template (from the control's left edge) is enough, which is what a
// text with more lines than the control has room for gives.
int NeededControlWidth(TextMeasurer& measurer, std::string_view stored, const ControlBox& control);

// Button (0x80) or static (0x82): the controls whose titles are texts.
bool HasTextTitle(const ControlBox& control);

}  // namespace ulk
