// The dialog renderer: a dialog template made into real wx windows. The
// dialog is drawn as the platform draws a dialog that is a child window:
// its frame and title bar, its menu bar when it names one, and a client
// area whose controls stand at the pixels the template's dialog units and
// font give.
#pragma once

#include <wx/font.h>
#include <wx/window.h>

#include <vector>

#include "translator/resources/dialog_template.h"
#include "translator/resources/menu_template.h"
#include "translator/ui/preview/dialog_layout.h"

namespace ulk {

// The font a dialog's controls are drawn in and the base units measured
// from it: the requested face when it is installed, else the fallback face.
struct DialogFontMetrics {
  wxFont font;
  BaseUnits units;
  bool substituted = false;  // the requested face was not installed
};
DialogFontMetrics MeasureDialogFont(const FontRequest& request);

class EmbeddedDialog : public wxWindow {
 public:
  // Draws `dialog` (which the window copies); `menu`, when given, is the
  // dialog's own menu, shown as a menu strip under the title bar.
  EmbeddedDialog(wxWindow* parent, const DialogTemplate& dialog, const MenuTemplate* menu);

  const DialogLayout& Layout() const { return layout_; }
  const DialogFontMetrics& Font() const { return font_; }
  wxWindow* ClientArea() const { return client_; }
  // The window made for control `index` (template order); null when its
  // kind makes none.
  wxWindow* ControlWindow(std::size_t index) const;
  // The size of the whole dialog: client area plus frame.
  wxSize DialogSize() const;

 private:
  void OnPaint(wxPaintEvent& event);

  DialogTemplate dialog_;
  MenuTemplate menu_;
  bool hasMenu_ = false;
  DialogFontMetrics font_;
  DialogLayout layout_;
  wxWindow* client_ = nullptr;
  std::vector<wxWindow*> controls_;
};

}  // namespace ulk
