// Dialog units to pixels, fonts and frames.
// Ref: Microsoft documentation, "GetDialogBaseUnits", "MapDialogRect",
// "About Dialog Boxes" (dialog box fonts), "GetSystemMetrics".
#include "translator/ui/preview/dialog_layout.h"

#include <cctype>

namespace ulk {
namespace {

bool SameFace(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The system dialog font, for templates without DS_SETFONT: the sans at the
// size whose base units are the platform's for its system font, 8 by 16.
constexpr int kSystemFontPixels = 14;

// What a closed combo box adds to its font's height: edges and margins.
constexpr int kComboChrome = 8;

// List boxes show whole items unless told otherwise: their height shrinks
// to the items that fit, one font height each, within their edges (a
// bordered list box in a dialog has a sunken edge of 2 pixels).
constexpr std::uint32_t kLbsOwnerDrawVariable = 0x20;
constexpr std::uint32_t kLbsNoIntegralHeight = 0x100;
constexpr int kListEdge = 2;

int IntegralListHeight(int height, int itemHeight, int edge) {
  const int inside = height - 2 * edge;
  if (itemHeight <= 0 || inside < itemHeight) return height;
  return inside / itemHeight * itemHeight + 2 * edge;
}

}  // namespace

BaseUnits BaseUnitsFromMetrics(int sampleWidth, int fontHeight) {
  return {(sampleWidth / 26 + 1) / 2, fontHeight};
}

int MulDivRounded(int a, int b, int c) {
  if (c == 0) return 0;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  const std::int64_t half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

PixelRect DialogUnitsToPixels(int x, int y, int cx, int cy, BaseUnits units) {
  return {MulDivRounded(x, units.x, 4), MulDivRounded(y, units.y, 8), MulDivRounded(cx, units.x, 4),
          MulDivRounded(cy, units.y, 8)};
}

std::string SubstituteFace(std::string_view face) {
  static constexpr std::string_view kSans[] = {
      "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Microsoft Sans Serif",
      "Tahoma",       "Segoe UI",       "Arial",         "Helv",
      "Helvetica",    "System",         "Verdana",       "MS UI Gothic",
  };
  static constexpr std::string_view kSerif[] = {"Times New Roman", "MS Serif", "Tms Rmn", "Times"};
  static constexpr std::string_view kMono[] = {"Courier New", "Courier", "Lucida Console",
                                               "Fixedsys", "Terminal"};
  for (const std::string_view name : kSans) {
    if (SameFace(face, name)) return kDialogFallbackFace;
  }
  for (const std::string_view name : kSerif) {
    if (SameFace(face, name)) return "Liberation Serif";
  }
  for (const std::string_view name : kMono) {
    if (SameFace(face, name)) return "Liberation Mono";
  }
  return std::string(face);
}

FontRequest DialogFontRequest(const DialogTemplate& dialog, int dpi) {
  FontRequest request;
  if (!dialog.hasFont) {
    request.face = kDialogFallbackFace;
    request.pixelHeight = MulDivRounded(kSystemFontPixels, dpi, kLogicalDpi);
    return request;
  }
  const DialogFont& font = dialog.font;
  request.requestedFace = font.face;
  request.face = font.face.empty() ? std::string(kDialogFallbackFace) : SubstituteFace(font.face);
  // Point size 0 would give no text at all; the platform takes its default.
  const int points = font.pointSize == 0 || font.pointSize > 400 ? 8 : font.pointSize;
  request.pixelHeight = MulDivRounded(points, dpi, 72);
  request.bold = font.weight >= 600;
  request.italic = font.italic;
  return request;
}

DialogFrame FrameOfDialog(const DialogTemplate& dialog) {
  DialogFrame frame;
  const std::uint32_t style = dialog.style;
  if (style & kWsThickFrame) {
    frame.border = kSizingFrameWidth;
  } else if ((style & kWsDlgFrame) || (style & kDsModalFrame) ||
             (dialog.exStyle & kWsExDlgModalFrame)) {
    frame.border = kDialogFrameWidth;
  } else if (style & kWsBorder) {
    frame.border = 1;
  }
  if ((style & kWsCaption) == kWsCaption) frame.caption = kCaptionHeight;
  if (!dialog.menu.IsEmpty()) frame.menu = kMenuBarHeight;
  return frame;
}

DialogLayout LayoutDialog(const DialogTemplate& dialog, BaseUnits units) {
  DialogLayout layout;
  layout.units = units;
  layout.client = DialogUnitsToPixels(0, 0, dialog.cx, dialog.cy, units);
  layout.frame = FrameOfDialog(dialog);
  layout.controls.reserve(dialog.controls.size());
  for (const DialogControl& control : dialog.controls) {
    ControlLayout& item = layout.controls.emplace_back();
    item.control = &control;
    item.look = ClassifyControl(control);
    item.rect = DialogUnitsToPixels(control.x, control.y, control.cx, control.cy, units);
    if (item.look.kind == ControlKind::kListBox && !(control.style & kLbsNoIntegralHeight) &&
        !(control.style & kLbsOwnerDrawVariable)) {
      item.rect.height = IntegralListHeight(item.rect.height, units.y,
                                            (control.style & kWsBorder) ? kListEdge : 0);
    }
    if (item.look.kind == ControlKind::kComboDropDown ||
        item.look.kind == ControlKind::kComboDropList) {
      item.closedHeight = units.y + kComboChrome;
    }
    if (!control.title.isOrdinal) item.text = control.title.text;
    item.visible = (control.style & kWsVisible) != 0;
    item.enabled = (control.style & kWsDisabled) == 0;
    item.border = (control.style & kWsBorder) != 0;
    item.sunken = (control.exStyle & (kWsExClientEdge | kWsExStaticEdge)) != 0;
    item.vScroll = (control.style & kWsVScroll) != 0;
    item.hScroll = (control.style & kWsHScroll) != 0;
  }
  return layout;
}

}  // namespace ulk
