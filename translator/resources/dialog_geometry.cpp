// Dialog geometry: matching, writing into templates, fitting.
#include "translator/resources/dialog_geometry.h"

#include <algorithm>
#include <set>

#include "platform/system_error.h"
#include "translator/resources/dialog_template.h"

namespace ulk {
namespace {

constexpr std::uint32_t kGroupBoxType = 7;
// The gap kept between a widened control and what it pushes aside, at most.
constexpr int kPushGap = 4;

void PutU16(std::string& bytes, std::size_t at, std::int16_t value) {
  const auto v = static_cast<std::uint16_t>(value);
  bytes[at] = static_cast<char>(v & 0xFF);
  bytes[at + 1] = static_cast<char>(v >> 8);
}

void PutRect(std::string& bytes, std::size_t at, const DialogRect& rect) {
  PutU16(bytes, at, rect.x);
  PutU16(bytes, at + 2, rect.y);
  PutU16(bytes, at + 4, rect.cx);
  PutU16(bytes, at + 6, rect.cy);
}

bool FitsUnits(int value) {
  return value >= kMinDialogUnit && value <= kMaxDialogUnit;
}

using Pair = std::pair<std::uint32_t, std::uint32_t>;

std::set<Pair> OverlapsOf(const std::vector<DialogRect>& rects) {
  std::set<Pair> pairs;
  for (std::size_t i = 0; i < rects.size(); ++i) {
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      if (rects[i].Overlaps(rects[j])) {
        pairs.emplace(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
      }
    }
  }
  return pairs;
}

// One attempt at widening a control, on a copy of the layout.
class FitTrial {
 public:
  FitTrial(const DialogBox& module, const LaidOutDialog& base, const std::set<Pair>& baseOverlaps)
      : base_(base), baseOverlaps_(baseOverlaps), rects_(base.controls) {
    // What each group box holds as the layout stands.
    for (std::size_t g = 0; g < rects_.size(); ++g) {
      if (!IsGroupBox(module.controls[g])) continue;
      for (std::size_t j = 0; j < rects_.size(); ++j) {
        if (j != g && rects_[g].Contains(rects_[j])) held_.emplace_back(g, j);
      }
    }
  }

  // Widens control `index` to `width` and makes room; false when no room
  // can be made without an overlap or a coordinate past the 16-bit range.
  bool Widen(std::size_t index, int width) {
    if (!FitsUnits(int{rects_[index].x} + width)) return false;
    rects_[index].cx = static_cast<std::int16_t>(width);
    // Every round moves something right by at least one unit or stops, and
    // each control can only be pushed by the ones on its left: a bound on
    // the rounds keeps a damaged layout from looping.
    const std::size_t rounds = 2 * rects_.size() + 4;
    for (std::size_t round = 0; round < rounds; ++round) {
      bool changed = false;
      if (!HoldContents(changed) || !PushAside(changed)) return false;
      if (!changed) return NoNewOverlap();
    }
    return false;
  }

  const std::vector<DialogRect>& Rects() const { return rects_; }

 private:
  // Group boxes grow to keep their right margin around what they held.
  bool HoldContents(bool& changed) {
    for (const auto& [g, j] : held_) {
      const int margin = std::max(0, base_.controls[g].Right() - base_.controls[j].Right());
      const int right = rects_[j].Right() + margin;
      if (right <= rects_[g].Right()) continue;
      const int width = right - rects_[g].x;
      if (!FitsUnits(right)) return false;
      rects_[g].cx = static_cast<std::int16_t>(width);
      changed = true;
    }
    return true;
  }

  // A control that now overlaps one on its left that it did not overlap
  // moves right, with what it holds when it is a group box.
  bool PushAside(bool& changed) {
    for (std::size_t a = 0; a < rects_.size(); ++a) {
      for (std::size_t b = 0; b < rects_.size(); ++b) {
        if (a == b || !rects_[a].Overlaps(rects_[b]) || WasOverlapping(a, b)) continue;
        // Only what stood on a's right is pushed; the pair is met again
        // the other way round.
        const int gap = base_.controls[b].x - base_.controls[a].Right();
        if (gap < 0) continue;
        const int x = rects_[a].Right() + std::min(gap, kPushGap);
        if (!MoveBy(b, x - rects_[b].x)) return false;
        changed = true;
      }
    }
    return true;
  }

  bool MoveBy(std::size_t index, int dx) {
    if (dx <= 0) return true;
    std::vector<std::size_t> moving{index};
    for (const auto& [g, j] : held_) {
      if (g == index) moving.push_back(j);
    }
    for (const std::size_t m : moving) {
      if (!FitsUnits(rects_[m].x + dx) || !FitsUnits(rects_[m].Right() + dx)) return false;
    }
    for (const std::size_t m : moving) rects_[m].x = static_cast<std::int16_t>(rects_[m].x + dx);
    return true;
  }

  bool WasOverlapping(std::size_t a, std::size_t b) const {
    const auto pair = a < b ? Pair(static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b))
                            : Pair(static_cast<std::uint32_t>(b), static_cast<std::uint32_t>(a));
    return baseOverlaps_.count(pair) != 0;
  }

  bool NoNewOverlap() const {
    for (const Pair& pair : OverlapsOf(rects_)) {
      if (!baseOverlaps_.count(pair)) return false;
    }
    return true;
  }

  const LaidOutDialog& base_;
  const std::set<Pair>& baseOverlaps_;
  std::vector<DialogRect> rects_;
  std::vector<std::pair<std::size_t, std::size_t>> held_;  // (group box, control inside)
};

}  // namespace

bool DialogRect::Overlaps(const DialogRect& other) const {
  if (cx <= 0 || cy <= 0 || other.cx <= 0 || other.cy <= 0) return false;
  return x < other.Right() && other.x < Right() && y < other.Bottom() && other.y < Bottom();
}

bool DialogRect::Contains(const DialogRect& inner) const {
  return inner.x >= x && inner.y >= y && inner.Right() <= Right() && inner.Bottom() <= Bottom();
}

DialogRect RectOf(const ControlBox& control) {
  return {control.x, control.y, control.cx, control.cy};
}

DialogRect RectOf(const DialogBox& dialog) {
  return {dialog.x, dialog.y, dialog.cx, dialog.cy};
}

bool IsGroupBox(const ControlBox& control) {
  return control.classIsOrdinal && control.classOrdinal == 0x0080 &&
         (control.style & 0x0F) == kGroupBoxType;
}

bool ModuleGeometryOf(const DialogBox& dialog, std::uint32_t item, ControlGeometry& out) {
  if (item == 0) {
    out = {RectOf(dialog), RectOf(dialog), 0};
    return true;
  }
  const ControlBox* control = dialog.Control(item);
  if (!control) return false;
  out = {RectOf(*control), RectOf(*control), control->id & 0xFFFF};
  return true;
}

bool GeometryMatches(const DialogBox& dialog, std::uint32_t item, const ControlGeometry& stored) {
  ControlGeometry now;
  return ModuleGeometryOf(dialog, item, now) && now.id == stored.id &&
         now.original == stored.original;
}

LaidOutDialog LayOut(const DialogBox& module, const DialogGeometry& geometry) {
  LaidOutDialog layout;
  layout.dialog = RectOf(module);
  layout.controls.reserve(module.controls.size());
  for (const ControlBox& control : module.controls) layout.controls.push_back(RectOf(control));
  for (const auto& [item, stored] : geometry) {
    if (!GeometryMatches(module, item, stored)) continue;
    (item == 0 ? layout.dialog : layout.controls[item - 1]) = stored.rect;
  }
  return layout;
}

Status ApplyDialogGeometry(std::string& bytes, std::size_t start, const DialogGeometry& geometry,
                           std::size_t& skipped) {
  skipped = 0;
  if (geometry.empty()) return {};
  if (start > bytes.size()) return Status::Fail(kErrorBadTemplate, "dialog starts past the end");
  DialogTemplate dialog;
  if (Status status = ReadDialogTemplate(std::string_view(bytes).substr(start), dialog); !status) {
    return status;
  }
  DialogBox box;
  (void)ParseDialogBox(std::string_view(bytes).substr(start), box);
  for (const auto& [item, stored] : geometry) {
    if (!GeometryMatches(box, item, stored)) {
      ++skipped;
      continue;
    }
    if (item == 0) {
      PutRect(bytes, start + (dialog.extended ? 18 : 10), stored.rect);
    } else {
      const DialogControl& control = dialog.controls[item - 1];
      PutRect(bytes, start + control.headOffset + (dialog.extended ? 12 : 8), stored.rect);
    }
  }
  return {};
}

FitOutcome FitDialog(const DialogBox& module, const LaidOutDialog& start,
                     const std::vector<WidthNeed>& needs) {
  FitOutcome outcome;
  outcome.layout = start;
  if (start.controls.size() != module.controls.size()) return outcome;
  const std::set<Pair> baseOverlaps = OverlapsOf(start.controls);
  std::vector<WidthNeed> ordered = needs;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const WidthNeed& a, const WidthNeed& b) { return a.item < b.item; });
  for (const WidthNeed& need : ordered) {
    if (need.item == 0 || need.item > start.controls.size()) continue;
    const std::size_t index = need.item - 1;
    if (need.width <= outcome.layout.controls[index].cx) continue;
    // Each control is fitted against the layout as the ones before it left
    // it, and must not overlap anything the starting layout kept apart.
    FitTrial trial(module, outcome.layout, baseOverlaps);
    if (!trial.Widen(index, need.width)) {
      outcome.unfitted.push_back(need.item);
      continue;
    }
    outcome.widened.push_back(need.item);
    outcome.layout.controls = trial.Rects();
  }
  std::set<std::uint32_t> moved;
  for (std::size_t i = 0; i < start.controls.size(); ++i) {
    const auto item = static_cast<std::uint32_t>(i + 1);
    if (outcome.layout.controls[i] != start.controls[i] &&
        std::find(outcome.widened.begin(), outcome.widened.end(), item) == outcome.widened.end()) {
      moved.insert(item);
    }
  }
  outcome.moved.assign(moved.begin(), moved.end());

  // The dialog keeps its right margin (what lay past the rightmost control).
  int startRight = 0;
  int right = 0;
  for (std::size_t i = 0; i < start.controls.size(); ++i) {
    startRight = std::max(startRight, start.controls[i].Right());
    right = std::max(right, outcome.layout.controls[i].Right());
  }
  if (right > startRight) {
    const int margin = std::max(0, start.dialog.cx - startRight);
    const int width = std::min(kMaxDialogUnit, right + margin);
    if (width > outcome.layout.dialog.cx) {
      outcome.layout.dialog.cx = static_cast<std::int16_t>(width);
      outcome.dialogWidened = true;
    }
  }
  return outcome;
}

DialogGeometry GeometryFor(const DialogBox& module, const LaidOutDialog& layout) {
  DialogGeometry geometry;
  ControlGeometry own;
  if (ModuleGeometryOf(module, 0, own) && layout.dialog != own.rect) {
    geometry[0] = {layout.dialog, own.original, own.id};
  }
  for (std::size_t i = 0; i < layout.controls.size() && i < module.controls.size(); ++i) {
    const auto item = static_cast<std::uint32_t>(i + 1);
    if (ModuleGeometryOf(module, item, own) && layout.controls[i] != own.rect) {
      geometry[item] = {layout.controls[i], own.original, own.id};
    }
  }
  return geometry;
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> NewOverlaps(const LaidOutDialog& before,
                                                                 const LaidOutDialog& layout) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> found;
  if (before.controls.size() != layout.controls.size()) return found;
  const std::set<Pair> old = OverlapsOf(before.controls);
  for (const Pair& pair : OverlapsOf(layout.controls)) {
    if (!old.count(pair)) found.emplace_back(pair.first + 1, pair.second + 1);
  }
  return found;
}

}  // namespace ulk
