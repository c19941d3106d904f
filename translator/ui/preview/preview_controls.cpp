// Dialog controls as wx windows.
#include "translator/ui/preview/preview_controls.h"

#include <wx/button.h>
#include <wx/calctrl.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/datectrl.h>
#include <wx/dcbuffer.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/renderer.h>
#include <wx/scrolbar.h>
#include <wx/settings.h>
#include <wx/slider.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/treectrl.h>

namespace ulk {
namespace {

wxString FromUtf8(const std::string& text) {
  return wxString::FromUTF8(text.data(), text.size());
}

// The names of unknown classes are cut for the label: a class name may be
// 255 characters long.
constexpr std::size_t kMaxClassLabel = 60;

// Frames, rectangles, lines and stand-ins, painted.
class PaintedControl : public wxWindow {
 public:
  PaintedControl(wxWindow* parent, const ControlLayout& control, wxString label)
      : wxWindow(parent, wxID_ANY,
                 wxPoint(ScreenCoordinate(control.rect.x), ScreenCoordinate(control.rect.y)),
                 wxSize(ScreenLength(control.rect.width), ScreenLength(control.rect.height)),
                 wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
        look_(control.look),
        label_(std::move(label)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &PaintedControl::OnPaint, this);
  }
  bool AcceptsFocus() const override { return false; }

 private:
  void OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    const wxColour shadow(160, 160, 160);
    const wxColour light(255, 255, 255);
    dc.SetBackground(wxBrush(face));
    dc.Clear();
    const auto shadeColour = [&](Shade shade) {
      return shade == Shade::kBlack  ? wxColour(0, 0, 0)
             : shade == Shade::kGray ? wxColour(128, 128, 128)
                                     : light;
    };
    const auto etched = [&](wxRect rect) {
      dc.SetBrush(*wxTRANSPARENT_BRUSH);
      dc.SetPen(wxPen(shadow));
      dc.DrawRectangle(rect.x, rect.y, rect.width - 1, rect.height - 1);
      dc.SetPen(wxPen(light));
      dc.DrawRectangle(rect.x + 1, rect.y + 1, rect.width - 1, rect.height - 1);
    };
    switch (look_.kind) {
      case ControlKind::kRectangle:
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(shadeColour(look_.shade)));
        dc.DrawRectangle(0, 0, size.x, size.y);
        break;
      case ControlKind::kFrame:
        dc.SetPen(wxPen(shadeColour(look_.shade)));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(0, 0, size.x, size.y);
        break;
      case ControlKind::kEtchedLine:
        dc.SetPen(wxPen(shadow));
        if (look_.vertical) {
          dc.DrawLine(0, 0, 0, size.y);
          dc.SetPen(wxPen(light));
          dc.DrawLine(1, 0, 1, size.y);
        } else {
          dc.DrawLine(0, 0, size.x, 0);
          dc.SetPen(wxPen(light));
          dc.DrawLine(0, 1, size.x, 1);
        }
        break;
      case ControlKind::kEtchedFrame:
      case ControlKind::kTab:
        etched(wxRect(size));
        break;
      case ControlKind::kHeader:
        wxRendererNative::Get().DrawHeaderButton(this, dc, wxRect(size));
        break;
      case ControlKind::kUpDown: {
        // Two arrow buttons; the toolkit's own spin control will not
        // shrink to the template's size.
        const bool vertical = look_.vertical;
        const wxRect first =
            vertical ? wxRect(0, 0, size.x, size.y / 2) : wxRect(0, 0, size.x / 2, size.y);
        const wxRect second = vertical ? wxRect(0, size.y / 2, size.x, size.y - size.y / 2)
                                       : wxRect(size.x / 2, 0, size.x - size.x / 2, size.y);
        wxRendererNative& renderer = wxRendererNative::Get();
        renderer.DrawPushButton(this, dc, first);
        renderer.DrawPushButton(this, dc, second);
        dc.SetPen(*wxBLACK_PEN);
        dc.SetBrush(*wxBLACK_BRUSH);
        const auto arrow = [&](const wxRect& r, bool upOrLeft) {
          const wxPoint c(r.x + r.width / 2, r.y + r.height / 2);
          wxPoint points[3];
          if (vertical) {
            const int d = upOrLeft ? -1 : 1;
            points[0] = wxPoint(c.x - 3, c.y - d);
            points[1] = wxPoint(c.x + 3, c.y - d);
            points[2] = wxPoint(c.x, c.y + 2 * d);
          } else {
            const int d = upOrLeft ? -1 : 1;
            points[0] = wxPoint(c.x - d, c.y - 3);
            points[1] = wxPoint(c.x - d, c.y + 3);
            points[2] = wxPoint(c.x + 2 * d, c.y);
          }
          dc.DrawPolygon(3, points);
        };
        arrow(first, true);
        arrow(second, false);
        break;
      }
      default: {
        // An image or a window of a class we do not know: its place, with
        // what it is.
        dc.SetPen(wxPen(shadow, 1, wxPENSTYLE_SHORT_DASH));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawRectangle(0, 0, size.x, size.y);
        if (!label_.empty()) {
          dc.SetFont(GetFont());
          dc.SetTextForeground(wxColour(96, 96, 96));
          dc.SetClippingRegion(2, 1, std::max(size.x - 4, 0), std::max(size.y - 2, 0));
          dc.DrawText(label_, 3, 2);
        }
        break;
      }
    }
  }

  ControlLook look_;
  wxString label_;
};

long AlignStyle(TextAlign align, long left, long centre, long right) {
  return align == TextAlign::kCenter ? centre : align == TextAlign::kRight ? right : left;
}

long BorderStyle(const ControlLayout& control, long otherwise) {
  if (control.sunken) return wxBORDER_SUNKEN;
  if (control.border) return wxBORDER_SIMPLE;
  return otherwise;
}

// Drop-down combo boxes show their closed height: the template's height is
// that of the open list.
wxSize ClosedSize(const ControlLayout& control) {
  return wxSize(std::max(control.rect.width, 1), std::max(control.closedHeight, 1));
}

wxWindow* CreateStatic(wxWindow* parent, const ControlLayout& control, const wxPoint& pos,
                       const wxSize& size) {
  const std::uint32_t style = control.control->style;
  long flags =
      AlignStyle(control.look.align, wxALIGN_LEFT, wxALIGN_CENTRE_HORIZONTAL, wxALIGN_RIGHT) |
      wxST_NO_AUTORESIZE | BorderStyle(control, wxBORDER_NONE);
  if (style & 0x1000) flags = (flags & ~wxBORDER_MASK) | wxBORDER_SUNKEN;  // SS_SUNKEN
  auto* text = new wxStaticText(parent, wxID_ANY, wxString(), pos, size, flags);
  const wxString label = FromUtf8(control.text);
  if (style & 0x80) {  // SS_NOPREFIX: "&" is a letter
    text->SetLabelText(label);
  } else {
    text->SetLabel(label);
  }
  // SS_LEFT, SS_CENTER and SS_RIGHT break lines between words.
  const std::uint32_t type = style & 0x1F;
  if (type <= 2 && size.x > 0) text->Wrap(size.x);
  return text;
}

wxWindow* CreateButtonLike(wxWindow* parent, const ControlLayout& control, const wxPoint& pos,
                           const wxSize& size) {
  const wxString label = FromUtf8(control.text);
  const ControlLook& look = control.look;
  const bool leftText = (control.control->style & 0x20) != 0;  // BS_LEFTTEXT
  switch (look.kind) {
    case ControlKind::kCheckBox:
    case ControlKind::kThreeState:
      if (look.pushLike) return new wxToggleButton(parent, wxID_ANY, label, pos, size);
      return new wxCheckBox(parent, wxID_ANY, label, pos, size,
                            (look.kind == ControlKind::kThreeState ? wxCHK_3STATE : wxCHK_2STATE) |
                                (leftText ? wxALIGN_RIGHT : 0));
    case ControlKind::kRadioButton:
      if (look.pushLike) return new wxToggleButton(parent, wxID_ANY, label, pos, size);
      {
        // None chosen, as a new dialog shows them: the toolkit keeps one
        // button of each group chosen, so each radio button gets a group of
        // its own with a hidden button that is the chosen one.
        auto* none = new wxRadioButton(parent, wxID_ANY, wxString(), pos, wxSize(0, 0), wxRB_GROUP);
        none->Hide();
        auto* radio =
            new wxRadioButton(parent, wxID_ANY, label, pos, size, leftText ? wxALIGN_RIGHT : 0);
        none->SetValue(true);
        return radio;
      }
    case ControlKind::kGroupBox:
      return new wxStaticBox(parent, wxID_ANY, label, pos, size);
    default:
      return new wxButton(parent, wxID_ANY, label, pos, size,
                          AlignStyle(look.align, wxBU_LEFT, 0, wxBU_RIGHT));
  }
}

wxWindow* CreateEdit(wxWindow* parent, const ControlLayout& control, const wxPoint& pos,
                     const wxSize& size) {
  const ControlLook& look = control.look;
  long flags =
      AlignStyle(look.align, wxTE_LEFT, wxTE_CENTRE, wxTE_RIGHT) |
      BorderStyle(control, look.kind == ControlKind::kRichEdit ? wxBORDER_NONE : wxBORDER_NONE);
  if (control.border || control.sunken) flags = (flags & ~wxBORDER_MASK) | wxBORDER_THEME;
  if (look.multiLine) {
    flags |= wxTE_MULTILINE;
    if (control.hScroll) flags |= wxTE_DONTWRAP;
  } else if (look.password) {
    flags |= wxTE_PASSWORD;
  }
  if (look.readOnly) flags |= wxTE_READONLY;
  if (look.kind == ControlKind::kRichEdit) flags |= wxTE_RICH2;
  auto* edit = new wxTextCtrl(parent, wxID_ANY, FromUtf8(control.text), pos, size, flags);
  // A read-only edit field shows the dialog's ground, as on the platform.
  if (look.readOnly) edit->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  return edit;
}

// A simple combo box: an edit field over its always open list.
wxWindow* CreateSimpleCombo(wxWindow* parent, const ControlLayout& control, const wxPoint& pos,
                            const wxSize& size, const wxFont& font) {
  auto* panel = new wxPanel(parent, wxID_ANY, pos, size, wxBORDER_NONE);
  panel->SetFont(font);
  const int editHeight = std::min(size.y, panel->GetCharHeight() + 8);
  new wxTextCtrl(panel, wxID_ANY, FromUtf8(control.text), wxPoint(0, 0),
                 wxSize(size.x, editHeight));
  if (size.y > editHeight) {
    new wxListBox(panel, wxID_ANY, wxPoint(0, editHeight), wxSize(size.x, size.y - editHeight));
  }
  return panel;
}

wxWindow* CreateCommonControl(wxWindow* parent, const ControlLayout& control, const wxPoint& pos,
                              const wxSize& size) {
  const std::uint32_t style = control.control->style;
  const ControlLook& look = control.look;
  switch (look.kind) {
    case ControlKind::kListView: {
      static constexpr long kViews[] = {wxLC_ICON, wxLC_REPORT, wxLC_SMALL_ICON, wxLC_LIST};
      return new wxListCtrl(parent, wxID_ANY, pos, size,
                            kViews[style & 0x3] | BorderStyle(control, wxBORDER_NONE));
    }
    case ControlKind::kTreeView:
      return new wxTreeCtrl(parent, wxID_ANY, pos, size,
                            wxTR_DEFAULT_STYLE | BorderStyle(control, wxBORDER_NONE));
    case ControlKind::kProgress: {
      auto* gauge = new wxGauge(parent, wxID_ANY, 100, pos, size,
                                look.vertical ? wxGA_VERTICAL : wxGA_HORIZONTAL);
      gauge->SetValue(0);
      return gauge;
    }
    case ControlKind::kTrackbar:
      return new wxSlider(parent, wxID_ANY, 0, 0, 10, pos, size,
                          (look.vertical ? wxSL_VERTICAL : wxSL_HORIZONTAL) |
                              ((style & 0x1) ? wxSL_AUTOTICKS : 0));  // TBS_AUTOTICKS
    case ControlKind::kDateTime:
      return new wxDatePickerCtrl(parent, wxID_ANY, wxDefaultDateTime, pos, size,
                                  wxDP_DROPDOWN | wxDP_SHOWCENTURY);
    case ControlKind::kMonthCalendar:
      return new wxCalendarCtrl(parent, wxID_ANY, wxDefaultDateTime, pos, size);
    case ControlKind::kLink: {
      auto* text = new wxStaticText(parent, wxID_ANY, wxString(), pos, size, wxST_NO_AUTORESIZE);
      text->SetLabelText(FromUtf8(LinkText(control.text)));
      text->SetForegroundColour(wxColour(0, 102, 204));
      return text;
    }
    case ControlKind::kHotKey:
    case ControlKind::kIpAddress:
      return new wxTextCtrl(parent, wxID_ANY, wxString(), pos, size);
    case ControlKind::kStatusBar:
    case ControlKind::kToolBar:
    case ControlKind::kAnimation:
    case ControlKind::kSizeBox:
      return new PaintedControl(parent, control, wxString());
    default: {
      const std::string& name =
          control.control->windowClass.isOrdinal
              ? std::string("#") + std::to_string(control.control->windowClass.ordinal)
              : control.control->windowClass.text;
      wxString label = FromUtf8(name);
      if (label.length() > kMaxClassLabel)
        label = label.Left(kMaxClassLabel) + wxString::FromUTF8("…");
      return new PaintedControl(parent, control, label);
    }
  }
}

}  // namespace

wxWindow* CreatePreviewControl(wxWindow* parent, const ControlLayout& control, const wxFont& font) {
  const wxPoint pos(control.rect.x, control.rect.y);
  const wxSize size(std::max(control.rect.width, 0), std::max(control.rect.height, 0));
  wxWindow* window = nullptr;
  switch (control.look.kind) {
    case ControlKind::kPushButton:
    case ControlKind::kDefaultPushButton:
    case ControlKind::kOwnerDrawButton:
    case ControlKind::kCheckBox:
    case ControlKind::kThreeState:
    case ControlKind::kRadioButton:
    case ControlKind::kGroupBox:
      window = CreateButtonLike(parent, control, pos, size);
      break;
    case ControlKind::kEdit:
    case ControlKind::kRichEdit:
      window = CreateEdit(parent, control, pos, size);
      break;
    case ControlKind::kStaticText:
      window = CreateStatic(parent, control, pos, size);
      break;
    case ControlKind::kImageFrame:
    case ControlKind::kEtchedLine:
    case ControlKind::kEtchedFrame:
    case ControlKind::kRectangle:
    case ControlKind::kFrame:
    case ControlKind::kTab:
    case ControlKind::kHeader:
    case ControlKind::kUpDown:
      window = new PaintedControl(parent, control, wxString());
      break;
    case ControlKind::kListBox:
      window = new wxListBox(parent, wxID_ANY, pos, size, 0, nullptr,
                             BorderStyle(control, wxBORDER_NONE) |
                                 (control.vScroll ? wxLB_NEEDED_SB : 0) |
                                 (control.hScroll ? wxLB_HSCROLL : 0));
      break;
    case ControlKind::kComboSimple:
      window = CreateSimpleCombo(parent, control, pos, size, font);
      break;
    case ControlKind::kComboDropDown:
      window = new wxComboBox(parent, wxID_ANY, FromUtf8(control.text), pos, ClosedSize(control));
      break;
    case ControlKind::kComboDropList:
      window = new wxChoice(parent, wxID_ANY, pos, ClosedSize(control));
      break;
    case ControlKind::kScrollBar: {
      auto* bar = new wxScrollBar(parent, wxID_ANY, pos, size,
                                  control.look.vertical ? wxSB_VERTICAL : wxSB_HORIZONTAL);
      bar->SetScrollbar(0, 10, 100, 10);
      window = bar;
      break;
    }
    default:
      window = CreateCommonControl(parent, control, pos, size);
      break;
  }
  window->SetFont(font);
  // Toolkit controls grow to their own minimum when created; the template's
  // rectangle wins, as it does on the platform.
  const bool dropDown = control.look.kind == ControlKind::kComboDropDown ||
                        control.look.kind == ControlKind::kComboDropList;
  const wxSize shown = dropDown ? ClosedSize(control) : size;
  window->SetSize(pos.x, pos.y, shown.x, shown.y, wxSIZE_FORCE);
  if (!control.enabled) window->Disable();
  if (!control.visible) window->Hide();
  return window;
}

}  // namespace ulk
