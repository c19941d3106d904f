// Fitting dialogs around their translations.
#include "translator/exchange/layout_fit.h"

#include <algorithm>

#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/exchange/control_text_fit.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

// The translation generation would write for the entry, or null.
const TextEntry* TranslationOf(const ModuleLanguage& target, const TextEntry& own,
                               ModuleLanguage::Cursor& cursor) {
  const TextEntry* translated = target.FindEntryAfter(own.key, cursor);
  return translated && !translated->text.empty() && translated->text != own.text ? translated
                                                                                 : nullptr;
}

ControlBox Placed(const ControlBox& control, const DialogRect& rect) {
  ControlBox placed = control;
  placed.x = rect.x;
  placed.y = rect.y;
  placed.cx = rect.cx;
  placed.cy = rect.cy;
  return placed;
}

struct DialogTexts {
  std::string key;
  DialogTranslations translations;  // by item
};

// The dialogs of the original's entries, in their order, with the
// translations of their control texts.
std::vector<DialogTexts> TranslatedDialogs(const ModuleLanguage& original,
                                           const ModuleLanguage& target) {
  std::vector<DialogTexts> dialogs;
  ModuleLanguage::Cursor cursor = target.Entries().begin();
  for (const TextEntry& own : original.Entries()) {
    if (KindOfKey(own.key) != ResourceKind::kDialog) continue;
    const std::string key = ToUpperUtf8(ResourceKeyOf(own.key));
    if (dialogs.empty() || dialogs.back().key != key) dialogs.push_back({key, {}});
    std::uint32_t item = 0;
    const TextEntry* translated = TranslationOf(target, own, cursor);
    if (!translated || !ItemOfKey(own.key, item) || item == kDialogCaptionItem) continue;
    dialogs.back().translations.emplace_back(item, translated->text);
  }
  return dialogs;
}

// The width control `item` needs for `translation` where `start` puts it:
// 0 when it fits (or the module's own text overflows as much), -1 when no
// width is enough.
int WidthNeeded(const DialogBox& module, std::string_view dialogKey, const LaidOutDialog& start,
                std::uint32_t item, const std::string& translation, const ModuleLanguage& original,
                TextMeasurer& measurer) {
  const ControlBox* control = module.Control(item);
  if (!control || !HasTextTitle(*control)) return 0;
  const ControlBox here = Placed(*control, start.controls[item - 1]);
  if (MeasureControlText(measurer, translation, here).demand <= 1) return 0;
  // As the check: a text the module itself lets overflow (by our measure)
  // is only fitted when the translation needs more than the original.
  const TextEntry* own = original.FindEntry(MakeEntryKey(dialogKey, item));
  if (own && MeasureControlText(measurer, translation, *control).demand <=
                 MeasureControlText(measurer, own->text, *control).demand) {
    return 0;
  }
  return NeededControlWidth(measurer, translation, here);
}

void FitOne(const DialogBox& module, const DialogTexts& texts, const ModuleLanguage& original,
            ModuleLanguage& target, bool dryRun, TextMeasurer& measurer, LayoutFitResult& result) {
  const auto stored = target.dialogGeometry.find(texts.key);
  const DialogGeometry none;
  const LaidOutDialog start =
      LayOut(module, stored == target.dialogGeometry.end() ? none : stored->second);
  LaidOutDialog fitted;
  DialogFitReport report =
      FitDialogTexts(module, texts.key, start, texts.translations, original, measurer, {}, fitted);
  if (report.changes.empty() && report.unfitted.empty()) return;
  if (!report.changes.empty()) {
    result.changed = true;
    if (!dryRun) {
      DialogGeometry geometry = GeometryFor(module, fitted);
      if (geometry.empty()) {
        target.dialogGeometry.erase(texts.key);
      } else {
        target.dialogGeometry.insert_or_assign(texts.key, std::move(geometry));
      }
    }
  }
  result.dialogs.push_back(std::move(report));
}

}  // namespace

DialogTranslations TranslationsOfDialog(const ModuleLanguage& original,
                                        const ModuleLanguage& target, std::string_view dialogKey) {
  DialogTranslations translations;
  ModuleLanguage::Cursor cursor = target.Entries().begin();
  for (const TextEntry& own : original.Entries()) {
    if (ToUpperUtf8(ResourceKeyOf(own.key)) != dialogKey) continue;
    std::uint32_t item = 0;
    const TextEntry* translated = TranslationOf(target, own, cursor);
    if (!translated || !ItemOfKey(own.key, item) || item == kDialogCaptionItem) continue;
    translations.emplace_back(item, translated->text);
  }
  return translations;
}

DialogFitReport FitDialogTexts(const DialogBox& module, std::string_view dialogKey,
                               const LaidOutDialog& start, const DialogTranslations& translations,
                               const ModuleLanguage& original, TextMeasurer& measurer,
                               const std::vector<std::uint32_t>& only, LaidOutDialog& fitted) {
  DialogFitReport report;
  report.dialogKey = std::string(dialogKey);
  fitted = start;
  if (start.controls.size() != module.controls.size()) return report;
  std::vector<WidthNeed> needs;
  for (const auto& [item, translation] : translations) {
    if (!only.empty() && std::find(only.begin(), only.end(), item) == only.end()) continue;
    const int width = WidthNeeded(module, dialogKey, start, item, translation, original, measurer);
    if (width < 0) {
      report.unfitted.push_back({item, "el texto necesita más líneas de las que caben"});
    } else if (width > 0) {
      needs.push_back({item, width});
    }
  }
  if (needs.empty()) return report;
  const FitOutcome outcome = FitDialog(module, start, needs);
  for (const std::uint32_t item : outcome.unfitted) {
    report.unfitted.push_back({item, "no hay sitio sin solaparse con otro control"});
  }
  std::sort(report.unfitted.begin(), report.unfitted.end(),
            [](const UnfittedControl& a, const UnfittedControl& b) { return a.item < b.item; });
  if (outcome.layout.dialog != start.dialog) {
    report.changes.push_back({0, start.dialog, outcome.layout.dialog, false});
  }
  for (std::size_t i = 0; i < start.controls.size(); ++i) {
    if (outcome.layout.controls[i] == start.controls[i]) continue;
    const auto item = static_cast<std::uint32_t>(i + 1);
    const bool widened =
        std::find(outcome.widened.begin(), outcome.widened.end(), item) != outcome.widened.end();
    report.changes.push_back({item, start.controls[i], outcome.layout.controls[i], widened});
  }
  fitted = outcome.layout;
  return report;
}

std::vector<std::uint32_t> ControlsNotFitting(const DialogBox& module, std::string_view dialogKey,
                                              const LaidOutDialog& layout,
                                              const DialogTranslations& translations,
                                              const ModuleLanguage& original,
                                              TextMeasurer& measurer) {
  std::vector<std::uint32_t> items;
  if (layout.controls.size() != module.controls.size()) return items;
  for (const auto& [item, translation] : translations) {
    const int width = WidthNeeded(module, dialogKey, layout, item, translation, original, measurer);
    if (width != 0) items.push_back(item);
  }
  return items;
}

std::string DialogKeyOf(std::string_view given) {
  std::string key = ToUpperUtf8(TrimView(given));
  if (!key.empty() && key.back() == ')') key = std::string(ResourceKeyOf(key));
  return key;
}

LayoutFitResult FitLayouts(const ModuleLayouts& layouts, const ModuleLanguage& original,
                           ModuleLanguage& target, const std::string* dialogKey, bool dryRun,
                           TextMeasurer& measurer) {
  LayoutFitResult result;
  if (target.isDefault) {
    result.error = "El idioma original no tiene disposición propia.";
    return result;
  }
  const std::string wanted = dialogKey ? DialogKeyOf(*dialogKey) : std::string();
  if (dialogKey && !layouts.dialogs.count(wanted)) {
    result.error = "El módulo no tiene el diálogo " + *dialogKey + ".";
    return result;
  }
  for (const DialogTexts& texts : TranslatedDialogs(original, target)) {
    if (dialogKey && texts.key != wanted) continue;
    const auto module = layouts.dialogs.find(texts.key);
    if (module == layouts.dialogs.end()) continue;
    ++result.dialogsChecked;
    if (!measurer.Select(module->second.hasFont ? &module->second.font : nullptr)) {
      result.error = "No se pueden medir los textos: " + measurer.Problem();
      return result;
    }
    FitOne(module->second, texts, original, target, dryRun, measurer, result);
  }
  return result;
}

LayoutFitResult FitModuleLayouts(const Module& module, ModuleLanguage& target,
                                 const std::string* dialogKey, bool dryRun) {
  LayoutFitResult result;
  const ModuleLanguage* original = module.DefaultLanguage();
  if (!original) {
    result.error = "El módulo no tiene idioma original.";
    return result;
  }
  ModuleLayouts layouts;
  if (const int error = ReadModuleLayouts(module.path, layouts)) {
    result.error = SystemErrorText(error, module.path);
    return result;
  }
  TextMeasurer measurer;
  return FitLayouts(layouts, *original, target, dialogKey, dryRun, measurer);
}

}  // namespace ulk
