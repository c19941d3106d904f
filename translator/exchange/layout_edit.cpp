// The layout editor's state and edits.
#include "translator/exchange/layout_edit.h"

#include <algorithm>

namespace ulk {
namespace {

std::int16_t Clamp16(int value, int low = kMinDialogUnit) {
  return static_cast<std::int16_t>(std::clamp(value, low, kMaxDialogUnit));
}

}  // namespace

LayoutEditSession::LayoutEditSession(DialogBox module, std::string dialogKey,
                                     const ModuleLanguage& original, const ModuleLanguage& target)
    : module_(std::move(module)),
      dialogKey_(std::move(dialogKey)),
      original_(original),
      translations_(TranslationsOfDialog(original, target, dialogKey_)) {
  const auto stored = target.dialogGeometry.find(dialogKey_);
  if (stored != target.dialogGeometry.end()) {
    for (const auto& [item, geometry] : stored->second) {
      if (GeometryMatches(module_, item, geometry)) initial_.emplace(item, geometry);
    }
  }
  layout_ = LayOut(module_, initial_);
}

const DialogRect& LayoutEditSession::RectOfItem(std::uint32_t item) const {
  return item == 0 || item > layout_.controls.size() ? layout_.dialog : layout_.controls[item - 1];
}

DialogRect& LayoutEditSession::Rect(std::uint32_t item) {
  return item == 0 || item > layout_.controls.size() ? layout_.dialog : layout_.controls[item - 1];
}

void LayoutEditSession::Select(std::uint32_t item) {
  selection_ = item <= layout_.controls.size() ? item : 0;
}

void LayoutEditSession::SelectNext(bool backwards) {
  const auto count = static_cast<std::uint32_t>(layout_.controls.size()) + 1;
  selection_ = backwards ? (selection_ + count - 1) % count : (selection_ + 1) % count;
}

std::uint32_t LayoutEditSession::HitTest(int x, int y) const {
  std::uint32_t best = 0;
  long long bestArea = 0;
  for (std::size_t i = 0; i < layout_.controls.size(); ++i) {
    const DialogRect& rect = layout_.controls[i];
    if (x < rect.x || y < rect.y || x >= rect.Right() || y >= rect.Bottom()) continue;
    const long long area = static_cast<long long>(rect.cx) * rect.cy;
    if (best == 0 || area < bestArea) {
      best = static_cast<std::uint32_t>(i + 1);
      bestArea = area;
    }
  }
  return best;
}

bool LayoutEditSession::Store(std::uint32_t item, int x, int y, int cx, int cy) {
  DialogRect next{Clamp16(x), Clamp16(y), Clamp16(cx, 0), Clamp16(cy, 0)};
  // The right and bottom edges stay inside the range too.
  next.cx = Clamp16(std::min<int>(next.cx, kMaxDialogUnit - next.x), 0);
  next.cy = Clamp16(std::min<int>(next.cy, kMaxDialogUnit - next.y), 0);
  DialogRect& rect = Rect(item);
  if (next == rect) return false;
  rect = next;
  return true;
}

bool LayoutEditSession::MoveBy(int dx, int dy) {
  if (selection_ == 0) return false;
  const DialogRect& rect = Rect(selection_);
  return Store(selection_, rect.x + dx, rect.y + dy, rect.cx, rect.cy);
}

bool LayoutEditSession::ResizeBy(int dcx, int dcy) {
  const DialogRect& rect = Rect(selection_);
  return Store(selection_, rect.x, rect.y, rect.cx + dcx, rect.cy + dcy);
}

bool LayoutEditSession::SetRect(const DialogRect& rect) {
  // The dialog's position is the module's business: only its size changes.
  const DialogRect& now = Rect(selection_);
  if (selection_ == 0) return Store(0, now.x, now.y, rect.cx, rect.cy);
  return Store(selection_, rect.x, rect.y, rect.cx, rect.cy);
}

bool LayoutEditSession::Reset() {
  const LaidOutDialog own = LayOut(module_, {});
  if (selection_ == 0) {
    const bool changed = own.dialog != layout_.dialog || own.controls != layout_.controls;
    layout_ = own;
    return changed;
  }
  const DialogRect& rect = own.controls[selection_ - 1];
  return Store(selection_, rect.x, rect.y, rect.cx, rect.cy);
}

bool LayoutEditSession::MeasurerReady() {
  if (!measurerSelected_) {
    measurerSelected_ = measurer_.Select(module_.hasFont ? &module_.font : nullptr);
  }
  return measurerSelected_;
}

DialogFitReport LayoutEditSession::Fit() {
  DialogFitReport report;
  report.dialogKey = dialogKey_;
  if (!MeasurerReady()) return report;
  std::vector<std::uint32_t> only;
  if (selection_ != 0) only.push_back(selection_);
  LaidOutDialog fitted;
  report = FitDialogTexts(module_, dialogKey_, layout_, translations_, original_, measurer_, only,
                          fitted);
  layout_ = fitted;
  return report;
}

std::vector<std::uint32_t> LayoutEditSession::NotFitting() {
  if (!MeasurerReady()) return {};
  return ControlsNotFitting(module_, dialogKey_, layout_, translations_, original_, measurer_);
}

DialogGeometry LayoutEditSession::Geometry() const {
  return GeometryFor(module_, layout_);
}

const std::string* LayoutEditSession::TranslationOf(std::uint32_t item) const {
  for (const auto& [at, text] : translations_) {
    if (at == item) return &text;
  }
  return nullptr;
}

}  // namespace ulk
