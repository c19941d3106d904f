// The geometry a target language gives a dialog: the rectangles (dialog
// units) of the dialog and of its controls that differ from the module's,
// each kept with what the module's control was when it was set, so that it
// is never applied to another control; writing them into a template, and
// fitting a dialog's controls around texts that need more room.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/status.h"
#include "translator/resources/resource_layout.h"

namespace ulk {

// The range a template's 16-bit coordinates hold.
inline constexpr int kMinDialogUnit = -32768;
inline constexpr int kMaxDialogUnit = 32767;

struct DialogRect {
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;

  int Right() const { return int{x} + cx; }
  int Bottom() const { return int{y} + cy; }
  // Both have an area and share some of it.
  bool Overlaps(const DialogRect& other) const;
  // `inner` lies wholly inside this rectangle.
  bool Contains(const DialogRect& inner) const;
  bool operator==(const DialogRect&) const = default;
};

DialogRect RectOf(const ControlBox& control);
DialogRect RectOf(const DialogBox& dialog);

struct ControlGeometry {
  DialogRect rect;       // what the language gives it
  DialogRect original;   // the module's when it was set
  std::uint32_t id = 0;  // the module control's identifier (low 16 bits); 0 for the dialog
  bool operator==(const ControlGeometry&) const = default;
};

// By item: 0 the dialog itself, n the n-th control.
using DialogGeometry = std::map<std::uint32_t, ControlGeometry>;

// What item `item` of the module's dialog is now, as stored geometry would
// record it; false when the dialog has no such item.
bool ModuleGeometryOf(const DialogBox& dialog, std::uint32_t item, ControlGeometry& out);
// Whether `stored` still belongs to item `item` of the module's dialog:
// same identifier and the same rectangle it had when it was set.
bool GeometryMatches(const DialogBox& dialog, std::uint32_t item, const ControlGeometry& stored);

// The rectangles of the dialog as the language shows it: the module's,
// with the stored geometry that still matches in place.
struct LaidOutDialog {
  DialogRect dialog;
  std::vector<DialogRect> controls;  // control n at index n - 1
};
LaidOutDialog LayOut(const DialogBox& module, const DialogGeometry& geometry);

// Writes the rectangles of `geometry` into the dialog template that starts
// at `start` of `bytes` (and runs to its end), in place: only x, y, cx and
// cy change. Geometry that no longer matches the template's control is not
// applied and counted in `skipped`. Fails, leaving the bytes as they were,
// when the template cannot be walked.
Status ApplyDialogGeometry(std::string& bytes, std::size_t start, const DialogGeometry& geometry,
                           std::size_t& skipped);

// A control whose text needs `width` dialog units.
struct WidthNeed {
  std::uint32_t item = 0;
  int width = 0;
};

struct FitOutcome {
  LaidOutDialog layout;                 // after fitting
  std::vector<std::uint32_t> widened;   // controls given the width they needed
  std::vector<std::uint32_t> moved;     // controls moved or grown to make room
  std::vector<std::uint32_t> unfitted;  // controls that could not be given it
  bool dialogWidened = false;
};

// Fits the dialog laid out as `start` shows it around the widths its texts
// need: each control that needs more is widened; what then overlaps it on
// its right (in the same row) moves right, group boxes grow to hold what
// they held, and the dialog widens to keep its right margin. Nothing
// shrinks or moves vertically, and no overlap appears that `start` did not
// have: a control that cannot be widened so is left as it was and listed
// as unfitted.
FitOutcome FitDialog(const DialogBox& module, const LaidOutDialog& start,
                     const std::vector<WidthNeed>& needs);

// The geometry to store for `layout`: every rectangle that differs from the
// module's, with the module's control it belongs to.
DialogGeometry GeometryFor(const DialogBox& module, const LaidOutDialog& layout);

// Pairs of controls (items) that overlap in `layout` but not in `before`.
std::vector<std::pair<std::uint32_t, std::uint32_t>> NewOverlaps(const LaidOutDialog& before,
                                                                 const LaidOutDialog& layout);

bool IsGroupBox(const ControlBox& control);

}  // namespace ulk
