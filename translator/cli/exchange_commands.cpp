// Printing the results of the exchange operations.
#include "translator/cli/exchange_commands.h"

#include "glossmith/db/dictionary_store.h"
#include "glossmith/exchange/tmx_exchange.h"
#include "platform/files.h"
#include "translator/cli/cli.h"
#include "translator/cli/json_writer.h"
#include "translator/exchange/pseudo_translation.h"
#include "translator/exchange/quality_check.h"
#include "translator/exchange/translation_exchange.h"

namespace ulk {
namespace {

int Fail(const CliStreams& io, const std::string& message) {
  std::fprintf(io.err, "error: %s\n", message.c_str());
  return kExitFailure;
}

void PrintKeys(const CliStreams& io, const char* label, const std::vector<std::string>& keys) {
  for (const std::string& key : keys) {
    std::fprintf(io.out, "  %s: %s\n", label, key.empty() ? "(sin clave)" : key.c_str());
  }
}

void PrintFinding(const CliStreams& io, const Finding& finding) {
  std::fprintf(io.out, "%s [%s] %s: %s: %s\n", finding.moduleFile.c_str(), finding.language.c_str(),
               finding.key.c_str(), CheckLabel(finding.check), finding.detail.c_str());
  std::fprintf(io.out, "  original:   \"%s\"\n", finding.original.c_str());
  std::fprintf(io.out, "  traducción: \"%s\"\n", finding.translation.c_str());
}

// Opens a dictionary as the administrator does (`access` kRead for a command
// that only reads it: the file is then never changed); false with the
// message printed.
bool OpenDictionaryFile(DictionaryConnection& connection, DictionaryStore& store,
                        const std::string& path, DictionaryAccess access, const CliStreams& io) {
  const OpenDictionaryResult opened = OpenDictionary(connection, store, path, access);
  if (!opened.ok) Fail(io, opened.message);
  return opened.ok;
}

}  // namespace

int ExportCommand(const Project& project, const Module& module, const std::string& language,
                  const std::string& path, const CliStreams& io) {
  const ExportResult result = ExportTranslations(project, module, language, path);
  if (!result.ok) return Fail(io, result.message);
  if (!result.sizesProblem.empty()) {
    std::fprintf(io.err, "aviso: sin tamaños de los controles: %s\n", result.sizesProblem.c_str());
  }
  for (const std::string& key : result.omitted) {
    std::fprintf(io.err,
                 "aviso: %s no se exporta: texto vacío o con caracteres que el formato no "
                 "admite\n",
                 key.c_str());
  }
  std::fprintf(io.out, "Unidades exportadas: %zu (traducidas: %zu) -> %s\n", result.units,
               result.translated, path.c_str());
  return kExitOk;
}

int ImportCommand(Module& module, const std::string& language, const std::string& path,
                  const CliStreams& io, bool& changed) {
  changed = false;
  const ImportResult result = ImportTranslations(module, language, path, nullptr);
  if (!result.ok) return Fail(io, result.message);
  changed = !result.changedKeys.empty();
  std::fprintf(io.out,
               "Unidades: %zu\nAplicadas: %zu (con cambios: %zu)\nPor revisar: %zu\nOmitidas: "
               "%zu\nDesfasadas: %zu\nDesconocidas: %zu\n",
               result.units, result.applied, result.changedKeys.size(), result.toReview,
               result.skipped, result.stale.size(), result.unknown.size());
  PrintKeys(io, "desfasada", result.stale);
  PrintKeys(io, "desconocida", result.unknown);
  return kExitOk;
}

int CheckCommand(const Project& project, const Module* module, const std::string* language,
                 bool json, OperationUi& ui, const CliStreams& io) {
  if (language) {
    bool known = false;
    for (const Module& each : project.modules) {
      if (module && &each != module) continue;
      const ModuleLanguage* found = each.FindLanguage(*language);
      known = known || (found && !found->isDefault);
    }
    if (!known) return Fail(io, "ningún módulo tiene el idioma de destino " + *language);
  }
  const CheckResult result = CheckTranslations(project, module, language, ui);
  for (const std::string& note : result.notes) std::fprintf(io.err, "aviso: %s\n", note.c_str());
  if (json) {
    JsonWriter writer;
    writer.BeginObject();
    writer.Key("checked").Number(static_cast<long long>(result.checked));
    writer.Key("findings").BeginArray();
    for (const Finding& finding : result.findings) {
      writer.BeginObject();
      writer.Key("module").String(finding.moduleFile);
      writer.Key("language").String(finding.language);
      writer.Key("key").String(finding.key);
      writer.Key("check").String(CheckId(finding.check));
      writer.Key("detail").String(finding.detail);
      writer.Key("original").String(finding.original);
      writer.Key("translation").String(finding.translation);
      writer.EndObject();
    }
    writer.EndArray();
    writer.Key("notes").BeginArray();
    for (const std::string& note : result.notes) writer.String(note);
    writer.EndArray();
    writer.EndObject();
    std::fprintf(io.out, "%s\n", writer.Text().c_str());
  } else {
    for (const Finding& finding : result.findings) PrintFinding(io, finding);
    std::fprintf(io.out, "Problemas encontrados: %zu (textos revisados: %zu)\n",
                 result.findings.size(), result.checked);
  }
  return result.findings.empty() ? kExitOk : kExitFailure;
}

int PseudoCommand(Module& module, const std::string& language, int expandPercent,
                  const CliStreams& io, bool& changed) {
  const PseudoResult result = PseudoTranslate(module, language, expandPercent, nullptr);
  changed = result.ok && !result.changedKeys.empty();
  if (!result.ok) return Fail(io, result.message);
  std::fprintf(io.out, "Textos pseudotraducidos: %zu (con cambios: %zu)\n", result.filled,
               result.changedKeys.size());
  return kExitOk;
}

int ExportTmxCommand(const std::string& dictionary, const std::string& path, const CliStreams& io) {
  // Opening a missing file would create an empty dictionary.
  if (!FileExists(dictionary)) return Fail(io, "el diccionario " + dictionary + " no existe");
  DictionaryConnection connection;
  DictionaryStore store(connection);
  if (!OpenDictionaryFile(connection, store, dictionary, DictionaryAccess::kRead, io)) {
    return kExitFailure;
  }
  const TmxExportResult result = ExportTmx(connection, path);
  if (!result.ok) return Fail(io, result.message);
  if (result.omitted > 0) {
    std::fprintf(io.err,
                 "aviso: %zu pares no se exportan: textos con caracteres que el formato no "
                 "admite\n",
                 result.omitted);
  }
  std::fprintf(io.out, "Unidades exportadas: %zu -> %s\n", result.units, path.c_str());
  return kExitOk;
}

int ImportTmxCommand(const std::string& dictionary, const std::string& path, const CliStreams& io) {
  if (FileExists(dictionary) && IsReadOnlyFile(dictionary)) {
    return Fail(io, "el diccionario " + dictionary + " es de solo lectura");
  }
  DictionaryConnection connection;
  DictionaryStore store(connection);
  if (!OpenDictionaryFile(connection, store, dictionary, DictionaryAccess::kCreate, io)) {
    return kExitFailure;
  }
  const TmxImportResult result = ImportTmx(connection, store, path);
  if (!result.ok) return Fail(io, result.message);
  std::fprintf(io.out,
               "Unidades: %zu (omitidas: %zu)\nTextos añadidos: %zu\nTextos reutilizados: "
               "%zu\nEnlaces: %zu\n",
               result.units, result.skipped, result.textsAdded, result.textsReused, result.linked);
  for (const std::string& name : result.languagesAdded) {
    std::fprintf(io.out, "Idioma añadido: %s\n", name.c_str());
  }
  return kExitOk;
}

}  // namespace ulk
