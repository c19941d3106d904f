// Fitting the dialogs of a target language around its translated texts:
// the controls whose text does not fit (measured as the checks measure it)
// are widened, what stands on their right moves aside, group boxes and the
// dialog grow; the result is kept as the language's dialog geometry.
#pragma once

#include <string>
#include <vector>

#include "translator/exchange/text_width.h"
#include "translator/model/project.h"
#include "translator/resources/dialog_geometry.h"
#include "translator/resources/resource_layout.h"

namespace ulk {

struct ControlFitChange {
  std::uint32_t item = 0;  // 0: the dialog itself
  DialogRect before;
  DialogRect after;
  bool widened = false;  // for its own text (else moved or grown to make room)
};

struct UnfittedControl {
  std::uint32_t item = 0;
  std::string reason;  // in Spanish
};

struct DialogFitReport {
  std::string dialogKey;  // "DL_N_100"
  std::vector<ControlFitChange> changes;
  std::vector<UnfittedControl> unfitted;
};

struct LayoutFitResult {
  std::string error;  // why nothing was fitted; "" otherwise
  // The dialogs that changed or have a control that could not be fitted,
  // in the order of the original's entries.
  std::vector<DialogFitReport> dialogs;
  std::size_t dialogsChecked = 0;
  bool changed = false;  // the geometry of the language changed (or would, on a dry run)
  bool ok() const { return error.empty(); }
};

// Fits the dialogs of `target` (every one, or the one whose resource key is
// `dialogKey`) as `layouts` has the module's dialogs, the texts being the
// translations that generation would write. Unless `dryRun`, the new
// rectangles replace the language's geometry of each dialog fitted.
LayoutFitResult FitLayouts(const ModuleLayouts& layouts, const ModuleLanguage& original,
                           ModuleLanguage& target, const std::string* dialogKey, bool dryRun,
                           TextMeasurer& measurer);

// The same, reading the module's dialogs from its file.
LayoutFitResult FitModuleLayouts(const Module& module, ModuleLanguage& target,
                                 const std::string* dialogKey, bool dryRun);

// The translations generation would write for the control titles of one
// dialog (upper-case resource key), by item, in entry order.
using DialogTranslations = std::vector<std::pair<std::uint32_t, std::string>>;
DialogTranslations TranslationsOfDialog(const ModuleLanguage& original,
                                        const ModuleLanguage& target, std::string_view dialogKey);

// Fits one dialog laid out as `start` around `translations` (stored texts),
// only the controls in `only` when it is not empty: the report of what
// changed and what could not be fitted, and the layout after fitting in
// `fitted`. `measurer` must have the dialog's font selected.
DialogFitReport FitDialogTexts(const DialogBox& module, std::string_view dialogKey,
                               const LaidOutDialog& start, const DialogTranslations& translations,
                               const ModuleLanguage& original, TextMeasurer& measurer,
                               const std::vector<std::uint32_t>& only, LaidOutDialog& fitted);

// The controls of `layout` whose translated text does not fit them, as the
// check finds them.
std::vector<std::uint32_t> ControlsNotFitting(const DialogBox& module, std::string_view dialogKey,
                                              const LaidOutDialog& layout,
                                              const DialogTranslations& translations,
                                              const ModuleLanguage& original,
                                              TextMeasurer& measurer);

// A dialog as the user names it: a resource key or an entry key of it, in
// any letter case ("dl_n_100", "DL_N_100 (3)").
std::string DialogKeyOf(std::string_view given);

}  // namespace ulk
