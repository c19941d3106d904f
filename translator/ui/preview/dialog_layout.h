// Where a dialog and its controls stand in pixels: dialog units scaled by
// the base units of the dialog's font, computed as the platform computes
// them, and the frame the dialog's styles give it. No toolkit here: the
// renderer measures the font and hands the metrics in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "translator/resources/dialog_template.h"
#include "translator/ui/preview/control_kind.h"

namespace ulk {

// The letters whose extent gives the average character width.
inline constexpr std::string_view kBaseUnitSample =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Pixels per 4 horizontal and per 8 vertical dialog units.
struct BaseUnits {
  int x = 0;
  int y = 0;
  bool operator==(const BaseUnits&) const = default;
};

// From the extent of kBaseUnitSample and the font's height (ascent plus
// descent, each rounded to whole pixels): x is the average width of the 52
// letters rounded, as (width / 26 + 1) / 2.
BaseUnits BaseUnitsFromMetrics(int sampleWidth, int fontHeight);

// a * b / c rounded half away from zero, in 64 bits; 0 for c == 0.
int MulDivRounded(int a, int b, int c);

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

PixelRect DialogUnitsToPixels(int x, int y, int cx, int cy, BaseUnits units);

// The screen resolution dialogs are laid out for.
inline constexpr int kLogicalDpi = 96;

// The font the dialog asks for, with the face it is drawn in here.
struct FontRequest {
  std::string face;           // an installed face (see SubstituteFace)
  std::string requestedFace;  // as the template names it; empty: none
  int pixelHeight = 0;        // em height in pixels
  bool bold = false;
  bool italic = false;
};

// The faces the platform's dialogs name, mapped to installed fonts of the
// same metrics; any other face is returned as it is.
std::string SubstituteFace(std::string_view face);
inline constexpr const char* kDialogFallbackFace = "Liberation Sans";

// DS_SETFONT (or DS_SHELLFONT): the template's face, size, weight and
// slant; otherwise the system dialog font. Point sizes become whole pixels
// at `dpi`, as the platform rounds them.
FontRequest DialogFontRequest(const DialogTemplate& dialog, int dpi = kLogicalDpi);

// The frame around the client area of a dialog drawn as a child window.
struct DialogFrame {
  int border = 0;   // left, right and bottom, and above the caption
  int caption = 0;  // title bar height; 0 when none
  int menu = 0;     // menu bar height; 0 when none
  int Top() const { return border + caption + menu; }
};

// Thickness as the platform's default metrics at 96 dpi give them.
inline constexpr int kCaptionHeight = 19;
inline constexpr int kMenuBarHeight = 19;
inline constexpr int kDialogFrameWidth = 3;
inline constexpr int kSizingFrameWidth = 4;

DialogFrame FrameOfDialog(const DialogTemplate& dialog);

struct ControlLayout {
  const DialogControl* control = nullptr;  // into the template
  ControlLook look;
  PixelRect rect;  // in client pixels, as the template puts it
  // Drop-down combo boxes: the height they show closed, which the platform
  // takes from the font (the template's is that of the open list).
  int closedHeight = 0;
  std::string text;  // shown text; empty for a title given as an ordinal
  bool visible = true;
  bool enabled = true;
  bool border = false;  // WS_BORDER
  bool sunken = false;  // WS_EX_CLIENTEDGE or WS_EX_STATICEDGE
  bool vScroll = false;
  bool hScroll = false;
};

struct DialogLayout {
  BaseUnits units;
  PixelRect client;  // at the origin: the client area's size
  DialogFrame frame;
  std::vector<ControlLayout> controls;  // in template order
};

// Lays out every control of `dialog` (which must outlive the result).
DialogLayout LayoutDialog(const DialogTemplate& dialog, BaseUnits units);

// Dialog styles the layout reads.
enum DialogStyle : std::uint32_t {
  kDsSetFont = 0x40,
  kDsModalFrame = 0x80,
  kDsFixedSys = 0x8,
  kWsCaption = 0x00C00000,
  kWsDlgFrame = 0x00400000,
  kWsThickFrame = 0x00040000,
  kWsExDlgModalFrame = 0x1,
};

}  // namespace ulk
