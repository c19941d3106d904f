// The layout editor without its window: one dialog of one target language,
// its controls laid out as the language has them, a selection, moves and
// resizes by dialog units, fitting to the texts and going back to the
// module's geometry. The window draws Layout() and hands the result of
// Geometry() to the document as one undo step when the user accepts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "translator/exchange/layout_fit.h"
#include "translator/exchange/text_width.h"
#include "translator/model/project.h"
#include "translator/resources/dialog_geometry.h"
#include "translator/resources/resource_layout.h"

namespace ulk {

class LayoutEditSession {
 public:
  // `original` and `target` must outlive the session; the module's dialog
  // is copied. The layout starts as the language's geometry has it.
  LayoutEditSession(DialogBox module, std::string dialogKey, const ModuleLanguage& original,
                    const ModuleLanguage& target);

  const std::string& DialogKey() const { return dialogKey_; }
  const DialogBox& Module() const { return module_; }
  const LaidOutDialog& Layout() const { return layout_; }
  std::size_t ControlCount() const { return layout_.controls.size(); }
  // The rectangle of item `item` (0: the dialog).
  const DialogRect& RectOfItem(std::uint32_t item) const;

  // 0 selects the dialog itself.
  std::uint32_t Selection() const { return selection_; }
  void Select(std::uint32_t item);
  // Tab order: the controls in template order, then the dialog, and round.
  void SelectNext(bool backwards);
  // The smallest control whose rectangle holds the point (dialog units, in
  // the client area), or 0 for the dialog.
  std::uint32_t HitTest(int x, int y) const;

  // Moves or resizes the selection, kept inside the 16-bit range of a
  // template and with no negative size; the dialog itself is only resized.
  // False when nothing changed.
  bool MoveBy(int dx, int dy);
  bool ResizeBy(int dcx, int dcy);
  bool SetRect(const DialogRect& rect);

  // "Restablecer": the selected control back to the module's rectangle; with
  // the dialog selected, the whole dialog.
  bool Reset();
  // "Ajustar al texto": the selected control, or with the dialog selected
  // every control, fitted as ulk-cli fit fits them.
  DialogFitReport Fit();
  // The controls whose translated text does not fit where they stand now.
  std::vector<std::uint32_t> NotFitting();

  // What to store for the language: the rectangles that differ from the
  // module's; and whether that differs from what the language had.
  DialogGeometry Geometry() const;
  bool Changed() const { return Geometry() != initial_; }
  // The translated text (stored form) of control `item`, or null.
  const std::string* TranslationOf(std::uint32_t item) const;

 private:
  DialogRect& Rect(std::uint32_t item);
  bool Store(std::uint32_t item, int x, int y, int cx, int cy);
  bool MeasurerReady();

  DialogBox module_;
  std::string dialogKey_;
  const ModuleLanguage& original_;
  DialogTranslations translations_;
  DialogGeometry initial_;
  LaidOutDialog layout_;
  std::uint32_t selection_ = 0;
  TextMeasurer measurer_;
  bool measurerSelected_ = false;
};

}  // namespace ulk
