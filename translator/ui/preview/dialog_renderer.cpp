// Drawing a dialog template with wx windows.
#include "translator/ui/preview/dialog_renderer.h"

#include <wx/dcbuffer.h>
#include <wx/dcscreen.h>
#include <wx/fontenum.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include <cmath>

#include "translator/ui/preview/preview_controls.h"

namespace ulk {
namespace {

wxString FromUtf8(const std::string& text) {
  return wxString::FromUTF8(text.data(), text.size());
}

int ScreenDpi() {
  const int dpi = wxGetDisplayPPI().y;
  return dpi > 0 ? dpi : kLogicalDpi;
}

wxFont MakeFont(const wxString& face, double pixelHeight, bool bold, bool italic) {
  return wxFont(
      wxFontInfo(pixelHeight * 72.0 / ScreenDpi()).FaceName(face).Bold(bold).Italic(italic));
}

// The menu text as the bar shows it: "&" marks the mnemonic, "&&" is "&",
// and what follows a tab (the shortcut) is not shown.
wxString BarText(const std::string& text) {
  wxString out;
  const wxString in = FromUtf8(text.substr(0, text.find('\t')));
  for (std::size_t i = 0; i < in.length(); ++i) {
    if (in[i] == '&' && i + 1 < in.length()) ++i;
    out += in[i];
  }
  return out;
}

constexpr std::uint32_t kWsSysMenu = 0x00080000;

}  // namespace

DialogFontMetrics MeasureDialogFont(const FontRequest& request) {
  DialogFontMetrics result;
  wxString face = FromUtf8(request.face);
  if (!wxFontEnumerator::IsValidFacename(face)) {
    face = kDialogFallbackFace;
    result.substituted = true;
  }
  const int pixels = std::clamp(request.pixelHeight, 1, 400);
  result.font = MakeFont(face, pixels, request.bold, request.italic);
  wxScreenDC dc;
  dc.SetFont(result.font);
  wxCoord width = 0;
  wxCoord height = 0;
  dc.GetTextExtent(wxString(kBaseUnitSample.data(), kBaseUnitSample.size()), &width, &height);
  // The platform's height is its ascent and descent each rounded to whole
  // pixels; the toolkit rounds them up. Measured at about 1,000 pixels, the
  // fractions show.
  const int kScale = std::max(1, 1024 / pixels);
  dc.SetFont(MakeFont(face, pixels * kScale, request.bold, request.italic));
  const wxFontMetrics metrics = dc.GetFontMetrics();
  const long fontHeight = std::lround(metrics.ascent / static_cast<double>(kScale)) +
                          std::lround(metrics.descent / static_cast<double>(kScale));
  result.units = BaseUnitsFromMetrics(width, static_cast<int>(fontHeight));
  if (result.units.x <= 0 || result.units.y <= 0) result.units = {6, 13};
  return result;
}

EmbeddedDialog::EmbeddedDialog(wxWindow* parent, const DialogTemplate& dialog,
                               const MenuTemplate* menu)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
               wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE),
      dialog_(dialog) {
  if (menu) {
    menu_ = *menu;
    hasMenu_ = true;
  } else {
    // A dialog that names a menu the module lacks shows none.
    dialog_.menu = {};
  }
  font_ = MeasureDialogFont(DialogFontRequest(dialog_, ScreenDpi()));
  layout_ = LayoutDialog(dialog_, font_.units);
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetFont(font_.font);
  SetSize(DialogSize());

  const DialogFrame& frame = layout_.frame;
  client_ =
      new wxPanel(this, wxID_ANY, wxPoint(frame.border, frame.Top()),
                  wxSize(std::max(layout_.client.width, 0), std::max(layout_.client.height, 0)),
                  wxBORDER_NONE | wxTAB_TRAVERSAL);
  client_->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
  client_->SetFont(font_.font);
  controls_.reserve(layout_.controls.size());
  for (const ControlLayout& control : layout_.controls) {
    controls_.push_back(CreatePreviewControl(client_, control, font_.font));
  }
  Bind(wxEVT_PAINT, &EmbeddedDialog::OnPaint, this);
}

wxWindow* EmbeddedDialog::ControlWindow(std::size_t index) const {
  return index < controls_.size() ? controls_[index] : nullptr;
}

wxSize EmbeddedDialog::DialogSize() const {
  const DialogFrame& frame = layout_.frame;
  return wxSize(ScreenLength(layout_.client.width) + 2 * frame.border,
                ScreenLength(layout_.client.height) + frame.Top() + frame.border);
}

void EmbeddedDialog::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  const wxSize size = GetClientSize();
  const DialogFrame& frame = layout_.frame;
  const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  dc.SetBackground(wxBrush(face));
  dc.Clear();
  // The raised edge of a dialog frame: light outside, shadow inside.
  if (frame.border > 0) {
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxColour(100, 100, 100)));
    dc.DrawRectangle(0, 0, size.x, size.y);
    if (frame.border > 1) {
      dc.SetPen(wxPen(wxColour(255, 255, 255)));
      dc.DrawLine(1, 1, size.x - 2, 1);
      dc.DrawLine(1, 1, 1, size.y - 2);
    }
  }
  if (frame.caption > 0) {
    const wxRect bar(frame.border, frame.border, size.x - 2 * frame.border, frame.caption - 1);
    dc.GradientFillLinear(bar, wxColour(10, 36, 106), wxColour(166, 202, 240), wxEAST);
    wxFont captionFont = MakeFont(kDialogFallbackFace, 11, true, false);
    dc.SetFont(captionFont);
    dc.SetTextForeground(*wxWHITE);
    const int textHeight = dc.GetCharHeight();
    int right = bar.GetRight();
    if (dialog_.style & kWsSysMenu) {
      // The close box.
      const int box = frame.caption - 5;
      const wxRect close(right - box - 1, bar.y + 2, box, box - 2);
      dc.SetPen(wxPen(wxColour(64, 64, 64)));
      dc.SetBrush(wxBrush(face));
      dc.DrawRectangle(close);
      dc.SetPen(wxPen(*wxBLACK, 1));
      dc.DrawLine(close.x + 4, close.y + 3, close.GetRight() - 3, close.GetBottom() - 2);
      dc.DrawLine(close.GetRight() - 4, close.y + 3, close.x + 3, close.GetBottom() - 2);
      right = close.x - 2;
    }
    dc.SetClippingRegion(bar.x, bar.y, std::max(right - bar.x, 0), bar.height);
    dc.DrawText(FromUtf8(dialog_.caption), bar.x + 3, bar.y + (bar.height - textHeight) / 2);
    dc.DestroyClippingRegion();
  }
  if (frame.menu > 0 && hasMenu_) {
    const int top = frame.border + frame.caption;
    dc.SetFont(font_.font);
    dc.SetTextForeground(*wxBLACK);
    int x = frame.border + 6;
    for (const MenuNode& item : menu_.items) {
      const wxString text = item.IsSeparator() ? wxString() : BarText(item.text);
      dc.DrawText(text, x, top + (frame.menu - dc.GetCharHeight()) / 2);
      x += dc.GetTextExtent(text).x + 14;
    }
  }
}

}  // namespace ulk
