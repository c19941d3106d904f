// Texts of the window around the exchange operations.
#include "translator/exchange/exchange_report.h"

#include "platform/files.h"
#include "platform/text.h"

namespace ulk {
namespace {

const char* ExtensionOf(ExchangeFormat format) {
  return format == ExchangeFormat::kPo ? ".po" : ".xlf";
}

// A language name as part of a file name: no folder separators in it.
std::string FileNamePart(std::string_view text) {
  std::string part(text);
  for (char& c : part) {
    if (c == '/' || c == '\\') c = '_';
  }
  return part;
}

void AppendKeys(std::string& text, const char* title, const std::vector<std::string>& keys,
                std::size_t listed) {
  if (keys.empty()) return;
  text += "\n\n";
  text += title;
  for (std::size_t i = 0; i < keys.size() && i < listed; ++i) {
    text += "\n  ";
    text += keys[i].empty() ? "(sin clave)" : keys[i];
  }
  if (keys.size() > listed) text += Format("\n  ... y %zu más", keys.size() - listed);
}

}  // namespace

std::vector<std::string> TargetLanguageNames(const Module& module) {
  std::vector<std::string> names;
  for (const ModuleLanguage& language : module.languages) {
    if (!language.isDefault) names.push_back(language.name);
  }
  return names;
}

std::string SuggestedExchangePath(const Module& module, std::string_view language,
                                  ExchangeFormat format) {
  const std::string_view fileName = module.FileName();
  const std::size_t dot = fileName.rfind('.');
  std::string stem(dot == std::string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot));
  if (stem.empty()) stem = "modulo";
  const std::string tag = LanguageTagOfName(language);
  std::string name = stem + "." + FileNamePart(tag.empty() ? language : tag) + ExtensionOf(format);
  // A module path without a folder leaves the choice of folder to the dialog.
  if (module.FileName().size() == module.path.size()) return name;
  const std::string_view folder = module.Folder();
  const char separator = module.path[folder.size()];
  return std::string(folder) + separator + name;
}

std::string WithExchangeExtension(const std::string& path, ExchangeFormat format) {
  if (ExchangeFormatOf(path) != ExchangeFormat::kUnknown) return path;
  return path + ExtensionOf(format);
}

std::string ExportReport(const ExportResult& result, const std::string& path) {
  std::string text = Format("Exportadas %zu unidades (%zu traducidas) a:\n\n[%s]", result.units,
                            result.translated, path.c_str());
  if (!result.omitted.empty()) {
    AppendKeys(text, "No se exportan (texto vacío o con caracteres que el formato no admite):",
               result.omitted, 10);
  }
  if (!result.sizesProblem.empty()) {
    text += "\n\nSin los tamaños de los controles: " + result.sizesProblem;
  }
  return text;
}

std::string ImportReport(const ImportResult& result, std::size_t listed) {
  std::string text = Format(
      "Unidades leídas: %zu\nAplicadas: %zu (con cambios: %zu)\nPor revisar: %zu\n"
      "Omitidas: %zu\nDesfasadas: %zu\nDesconocidas: %zu",
      result.units, result.applied, result.changedKeys.size(), result.toReview, result.skipped,
      result.stale.size(), result.unknown.size());
  AppendKeys(text, "Desfasadas (el original ha cambiado):", result.stale, listed);
  AppendKeys(text, "Desconocidas (no están en el módulo):", result.unknown, listed);
  return text;
}

bool ImportNeedsAttention(const ImportResult& result) {
  return !result.stale.empty() || !result.unknown.empty();
}

std::string PseudoQuestion(std::string_view language, std::size_t translated) {
  const std::string name(language);
  if (translated == 0) {
    return Format("¿Pseudotraducir el idioma \"%s\"?", name.c_str());
  }
  return Format(
      "Se sustituirán %zu traducción(es) del idioma \"%s\" por una pseudotraducción.\n\n"
      "¿Desea continuar?",
      translated, name.c_str());
}

std::size_t TranslatedCount(const Module& module, std::string_view language) {
  const ModuleLanguage* found = module.FindLanguage(language);
  if (!found) return 0;
  std::size_t count = 0;
  for (const TextEntry& entry : found->Entries()) {
    if (!entry.text.empty()) ++count;
  }
  return count;
}

std::string CheckSummary(const CheckResult& result) {
  return Format("%zu problema(s) en %zu texto(s) revisados", result.findings.size(),
                result.checked);
}

std::string FindingText(const Finding& finding) {
  return finding.moduleFile + " · " + finding.language + " · " + finding.key + " · " +
         CheckLabel(finding.check) + "\nDetalle: " + finding.detail +
         "\nOriginal: " + finding.original + "\nTraducción: " +
         (finding.translation.empty() ? std::string("(sin traducir)") : finding.translation);
}

}  // namespace ulk
