// What the window says around the exchange operations: the languages to
// choose from, the file names it offers, and the reports of an export, an
// import, a pseudo-translation and a check, in Spanish. Kept here, without
// a display, so that the window only shows them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "translator/exchange/pseudo_translation.h"
#include "translator/exchange/quality_check.h"
#include "translator/exchange/translation_exchange.h"

namespace ulk {

// The module's target languages, in module order.
std::vector<std::string> TargetLanguageNames(const Module& module);

// The file an export offers: beside the module, named after it and the
// language (its BCP 47 tag when it has one), "demo.en-US.xlf".
std::string SuggestedExchangePath(const Module& module, std::string_view language,
                                  ExchangeFormat format);

// `path` as chosen in a save dialog: unchanged when its extension names a
// format, else with the extension of `format` (the dialog's filter) added.
std::string WithExchangeExtension(const std::string& path, ExchangeFormat format);

// The message after an export that worked.
std::string ExportReport(const ExportResult& result, const std::string& path);

// The message after an import that was not refused: the counts, then the
// keys of the stale and unknown units (at most `listed` of each, then how
// many more).
std::string ImportReport(const ImportResult& result, std::size_t listed = 10);
// Whether the import report deserves a warning rather than a notice.
bool ImportNeedsAttention(const ImportResult& result);

// The question before a pseudo-translation overwrites `language`.
std::string PseudoQuestion(std::string_view language, std::size_t translated);
// How many of the language's texts are translated (not empty).
std::size_t TranslatedCount(const Module& module, std::string_view language);

// The count line of the findings list.
std::string CheckSummary(const CheckResult& result);
// A finding whole, for the pane under the findings list, whose columns cut
// long texts short: where and which check, then the detail, the original
// and the translation on lines of their own, as the project stores them.
std::string FindingText(const Finding& finding);

}  // namespace ulk
