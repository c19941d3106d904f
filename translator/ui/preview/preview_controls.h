// One wx window per dialog control, chosen by the control's kind: wx's own
// controls for the predefined classes and the common controls it has, and
// painted look-alikes for frames, rectangles, lines and unknown classes.
#pragma once

#include <wx/font.h>
#include <wx/window.h>

#include <algorithm>

#include "translator/ui/preview/dialog_layout.h"

namespace ulk {

inline constexpr int kMaxScreenExtent = 16000;

// Window coordinates and sizes kept where the display server takes them (16
// bits); a control placed further away is out of sight all the same.
inline int ScreenCoordinate(int value) {
  return std::clamp(value, -kMaxScreenExtent, kMaxScreenExtent);
}
inline int ScreenLength(int value) {
  return std::clamp(value, 0, kMaxScreenExtent);
}

// Creates the control at its rectangle inside `parent` (the dialog's client
// area), in `font`, shown or hidden and enabled or not as its styles say.
// Never null.
wxWindow* CreatePreviewControl(wxWindow* parent, const ControlLayout& control, const wxFont& font);

}  // namespace ulk
