// The texts of the TMX reports.
#include "glossmith/browser/tmx_reports.h"

#include "platform/files.h"

namespace ulk {
namespace {

std::string Line(const char* label, std::size_t count) {
  return std::string("\n") + label + ": " + std::to_string(count);
}

}  // namespace

std::string TmxExportReport(const TmxExportResult& result, const std::string& path) {
  std::string text = "Diccionario exportado a:\n\n[" + path + "]\n";
  text += Line("Pares de textos enlazados", result.units);
  if (result.omitted > 0) {
    text += "\n\nNo se han exportado " + std::to_string(result.omitted) +
            " pares: sus textos tienen caracteres que un archivo TMX no admite.";
  }
  return text;
}

std::string TmxImportReport(const TmxImportResult& result, const std::string& path) {
  std::string text = "Archivo TMX importado:\n\n[" + std::string(FileNameOf(path)) + "]\n";
  text += Line("Unidades leídas", result.units);
  text += Line("Unidades omitidas (menos de dos textos)", result.skipped);
  text += Line("Textos añadidos", result.textsAdded);
  text += Line("Textos que ya existían", result.textsReused);
  text += Line("Traducciones enlazadas", result.linked);
  if (!result.languagesAdded.empty()) {
    text += "\nIdiomas añadidos: ";
    for (std::size_t i = 0; i < result.languagesAdded.size(); ++i) {
      if (i > 0) text += ", ";
      text += result.languagesAdded[i];
    }
  }
  return text;
}

}  // namespace ulk
