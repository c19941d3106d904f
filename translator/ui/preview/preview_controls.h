// One wx window per dialog control, chosen by the control's kind: wx's own
// controls for the predefined classes and the common controls it has, and
// painted look-alikes for frames, rectangles, lines and unknown classes.
#pragma once

#include <wx/font.h>
#include <wx/window.h>

#include "translator/ui/preview/dialog_layout.h"

namespace ulk {

// Creates the control at its rectangle inside `parent` (the dialog's client
// area), in `font`, shown or hidden and enabled or not as its styles say.
// Never null.
wxWindow* CreatePreviewControl(wxWindow* parent, const ControlLayout& control, const wxFont& font);

}  // namespace ulk
