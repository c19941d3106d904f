// The commands of ulk-cli.
#include "translator/cli/cli.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <system_error>

#include "platform/files.h"
#include "platform/stored_text.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/cli/exchange_commands.h"
#include "translator/cli/json_writer.h"
#include "translator/cli/terminal_ui.h"
#include "translator/dictionary/dictionary_component.h"
#include "translator/dictionary/dictionary_translation.h"
#include "translator/exchange/pseudo_translation.h"
#include "translator/cli/reuse_commands.h"
#include "translator/model/leverage.h"
#include "translator/model/messages.h"
#include "translator/model/project_file.h"
#include "translator/model/project_operations.h"
#include "translator/model/resource_engine.h"
#include "translator/model/resource_rows.h"
#include "platform/iso_language_list.h"

namespace ulk {
namespace {

// Texts of the module's target languages marked for review.
std::size_t CountToReview(const Module& module) {
  std::size_t count = 0;
  const ModuleLanguage* original = module.DefaultLanguage();
  for (const ModuleLanguage& language : module.languages) {
    if (&language == original) continue;
    for (const TextEntry& entry : language.Entries()) count += entry.review == kReviewNeeded;
  }
  return count;
}

constexpr const char* kUsage =
    "Uso: ulk-cli ORDEN [ARGUMENTOS]\n"
    "\n"
    "Órdenes:\n"
    "  new PROYECTO --name NOMBRE              crea un proyecto vacío\n"
    "  add PROYECTO MÓDULO...                  añade módulos al proyecto\n"
    "  add-language PROYECTO MÓDULO IDIOMA [--output RUTA]\n"
    "                                          añade un idioma de destino\n"
    "  read PROYECTO [MÓDULO] [--keep-going]   obtiene los recursos de un módulo o de todos\n"
    "  generate PROYECTO [MÓDULO] [--language IDIOMA] [--keep-going] [--force]\n"
    "                                          genera los módulos traducidos (--force: "
    "reemplaza\n"
    "                                          también archivos que no son módulos)\n"
    "  list PROYECTO MÓDULO [--kind ST|MN|DL|VS|MT|FM] [--state ESTADO] [--language IDIOMA] "
    "[--json]\n"
    "                                          muestra los textos de un módulo, con su revisión\n"
    "                                          y sus notas (ESTADO: untranslated, to-review,\n"
    "                                          reviewed, translated, changed)\n"
    "  set PROYECTO MÓDULO CLAVE IDIOMA TEXTO  guarda una traducción (texto escapado)\n"
    "  note PROYECTO MÓDULO CLAVE IDIOMA NOTA  guarda la nota de un texto (vacía: la quita)\n"
    "  review PROYECTO MÓDULO IDIOMA ESTADO [CLAVE...]\n"
    "                                          marca textos traducidos (todos sin CLAVE) como\n"
    "                                          reviewed, to-review o translated\n"
    "  translate PROYECTO MÓDULO --dictionary ARCHIVO [--min-score N]\n"
    "                                          traduce el módulo con un diccionario (N < 100:\n"
    "                                          también con textos parecidos, por revisar)\n"
    "  leverage PROYECTO --from OTRO.ulk [--min-score N] [--overwrite] [--all-modules]\n"
    "                                          reutiliza las traducciones de otro proyecto\n"
    "  analyze PROYECTO [MÓDULO] [--dictionary ARCHIVO] [--from OTRO.ulk] [--json|--csv]\n"
    "                                          análisis: textos, palabras y caracteres por\n"
    "                                          coincidencia con traducciones anteriores\n"
    "  add-to-dictionary PROYECTO MÓDULO --dictionary ARCHIVO\n"
    "                                          añade las traducciones al diccionario\n"
    "  stats PROYECTO [--json]                 estadísticas de traducción\n"
    "  export PROYECTO MÓDULO IDIOMA ARCHIVO   exporta un idioma a XLIFF (.xlf, .xliff) o PO "
    "(.po)\n"
    "  import PROYECTO MÓDULO IDIOMA ARCHIVO   importa las traducciones de un XLIFF o un PO\n"
    "  check PROYECTO [MÓDULO] [--language IDIOMA] [--json]\n"
    "                                          revisa las traducciones\n"
    "  fit PROYECTO MÓDULO IDIOMA [--dialog CLAVE] [--dry-run] [--json]\n"
    "                                          ensancha los controles cuyo texto traducido\n"
    "                                          no cabe (--dry-run: solo lo muestra)\n"
    "  pseudo PROYECTO MÓDULO IDIOMA [--expand N]\n"
    "                                          pseudotraduce un idioma (N % más largo; 30)\n"
    "  export-tmx DICCIONARIO ARCHIVO          exporta un diccionario a TMX\n"
    "  import-tmx DICCIONARIO ARCHIVO          importa un TMX a un diccionario\n"
    "  languages                               idiomas del sistema y sus códigos\n"
    "\n"
    "Un MÓDULO se nombra por su ruta o por su nombre de archivo.\n";

// The review states as the command line and JSON name them, by value.
constexpr const char* kReviewStateWords[kReviewStateCount] = {"translated", "to-review",
                                                              "reviewed"};
constexpr std::pair<const char*, RowFilter> kRowFilters[] = {
    {"untranslated", RowFilter::kUntranslated}, {"to-review", RowFilter::kToReview},
    {"reviewed", RowFilter::kReviewed},         {"translated", RowFilter::kTranslated},
    {"changed", RowFilter::kChanged},
};

std::string NoSuchKey(const Module& module, const std::string& key) {
  return "el módulo " + std::string(module.FileName()) + " no tiene la clave " + key;
}

struct Arguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;
  std::set<std::string> flags;
};

struct CommandShape {
  std::size_t minPositional;
  std::size_t maxPositional;
  std::set<std::string> options;  // take a value
  std::set<std::string> flags;
};

class Cli {
 public:
  Cli(std::FILE* out, std::FILE* err) : out_(out), err_(err), ui_(out, err) {}

  int Run(const std::vector<std::string>& arguments);

 private:
  using Handler = int (Cli::*)(const Arguments&);

  int Usage(const std::string& problem) {
    std::fprintf(err_, "ulk-cli: %s\n\n%s", problem.c_str(), kUsage);
    return kExitUsage;
  }
  int Fail(const std::string& message) {
    std::fprintf(err_, "error: %s\n", message.c_str());
    return kExitFailure;
  }

  // Reads the project; `forSaving` keeps its text to tell at Save whether
  // anything changed (commands that only read it skip that).
  bool Load(const std::string& path, bool forSaving = true);
  int Save();
  Module* FindModule(const std::string& name);
  bool OpenDictionary(const std::string& path, bool onlyReads);
  // Loads the project, finds the module and opens the dictionary of
  // --dictionary; null (with the exit status) when any of it fails.
  Module* ModuleWithDictionary(const Arguments& args, const std::string& command, int& status);
  static std::vector<std::string> AllKeys(const Module& module);

  int New(const Arguments& args);
  int Add(const Arguments& args);
  int AddLanguage(const Arguments& args);
  int Read(const Arguments& args);
  int Generate(const Arguments& args);
  int List(const Arguments& args);
  int Set(const Arguments& args);
  int Note(const Arguments& args);
  int Review(const Arguments& args);
  int Translate(const Arguments& args);
  int Leverage(const Arguments& args);
  int Analyze(const Arguments& args);
  // Reads another project (only read: nothing of it is ever written).
  bool LoadOther(const std::string& path, Project& other);
  // The value of --min-score (100 without it); false, with the usage
  // printed into `status`, for anything but a number from 1 to 100.
  bool MinimumScore(const Arguments& args, int& minimum, int& status);
  int AddToDictionary(const Arguments& args);
  int Stats(const Arguments& args);
  int Languages(const Arguments& args);
  int Export(const Arguments& args);
  int Import(const Arguments& args);
  int Check(const Arguments& args);
  int Fit(const Arguments& args);
  int Pseudo(const Arguments& args);
  int ExportTmx(const Arguments& args);
  int ImportTmx(const Arguments& args);
  CliStreams Streams() const { return {out_, err_}; }

  std::FILE* out_;
  std::FILE* err_;
  TerminalUi ui_;
  Project project_;
  std::string projectPath_;
  std::string savedText_;
  DictionaryComponent dictionary_;
};

int Cli::Run(const std::vector<std::string>& arguments) {
  static const std::map<std::string, std::pair<CommandShape, Handler>> kCommands = {
      {"new", {{1, 1, {"--name"}, {}}, &Cli::New}},
      {"add", {{2, SIZE_MAX, {}, {}}, &Cli::Add}},
      {"add-language", {{3, 3, {"--output"}, {}}, &Cli::AddLanguage}},
      {"read", {{1, 2, {}, {"--keep-going"}}, &Cli::Read}},
      {"generate", {{1, 2, {"--language"}, {"--keep-going", "--force"}}, &Cli::Generate}},
      {"list", {{2, 2, {"--kind", "--state", "--language"}, {"--json"}}, &Cli::List}},
      {"set", {{5, 5, {}, {}}, &Cli::Set}},
      {"note", {{5, 5, {}, {}}, &Cli::Note}},
      {"review", {{4, SIZE_MAX, {}, {}}, &Cli::Review}},
      {"translate", {{2, 2, {"--dictionary", "--min-score"}, {}}, &Cli::Translate}},
      {"analyze", {{1, 2, {"--dictionary", "--from"}, {"--json", "--csv"}}, &Cli::Analyze}},
      {"leverage",
       {{1, 1, {"--from", "--min-score"}, {"--overwrite", "--all-modules"}}, &Cli::Leverage}},
      {"add-to-dictionary", {{2, 2, {"--dictionary"}, {}}, &Cli::AddToDictionary}},
      {"stats", {{1, 1, {}, {"--json"}}, &Cli::Stats}},
      {"languages", {{0, 0, {}, {}}, &Cli::Languages}},
      {"export", {{4, 4, {}, {}}, &Cli::Export}},
      {"import", {{4, 4, {}, {}}, &Cli::Import}},
      {"check", {{1, 2, {"--language"}, {"--json"}}, &Cli::Check}},
      {"fit", {{3, 3, {"--dialog"}, {"--dry-run", "--json"}}, &Cli::Fit}},
      {"pseudo", {{3, 3, {"--expand"}, {}}, &Cli::Pseudo}},
      {"export-tmx", {{2, 2, {}, {}}, &Cli::ExportTmx}},
      {"import-tmx", {{2, 2, {}, {}}, &Cli::ImportTmx}},
  };
  if (arguments.empty()) return Usage("falta la orden");
  const std::string& name = arguments.front();
  if (name == "help" || name == "--help" || name == "-h") {
    std::fputs(kUsage, out_);
    return kExitOk;
  }
  const auto command = kCommands.find(name);
  if (command == kCommands.end()) return Usage("orden desconocida: " + name);
  const CommandShape& shape = command->second.first;
  Arguments args;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word.rfind("--", 0) == 0 && word.size() > 2) {
      if (shape.flags.count(word)) {
        args.flags.insert(word);
      } else if (shape.options.count(word)) {
        if (i + 1 >= arguments.size()) return Usage("falta el valor de " + word);
        args.options[word] = arguments[++i];
      } else {
        return Usage("opción desconocida para " + name + ": " + word);
      }
    } else {
      args.positional.push_back(word);
    }
  }
  if (args.positional.size() < shape.minPositional) return Usage("faltan argumentos para " + name);
  if (args.positional.size() > shape.maxPositional) return Usage("sobran argumentos para " + name);
  return (this->*command->second.second)(args);
}

bool Cli::Load(const std::string& path, bool forSaving) {
  projectPath_ = path;
  const ProjectLoadResult result = LoadProjectFile(project_, path);
  if (!result.ok) {
    std::fprintf(err_, "error: %s\n", result.message.c_str());
    if (result.fileError == 0) std::fprintf(err_, "%s\n", MessageText(kMsgUnexpectedFileFormat));
    return false;
  }
  if (forSaving) savedText_ = WriteProject(project_);
  return true;
}

int Cli::Save() {
  if (const std::string problem = UnwritableValue(project_); !problem.empty()) {
    return Fail(std::string(MessageText(kMsgCannotSaveDocument)) + "\n" + problem + ".");
  }
  const std::string text = WriteProject(project_);
  if (text == savedText_) return kExitOk;
  if (project_.name.empty() && project_.ModuleCount() > 0) {
    return Fail(MessageText(kMsgCannotSaveDocument));
  }
  if (const int error = WriteFileAtomically(projectPath_, text)) {
    return Fail(std::string(MessageText(kMsgCannotSaveDocument)) + "\n" +
                SystemErrorText(error, projectPath_));
  }
  savedText_ = text;
  return kExitOk;
}

Module* Cli::FindModule(const std::string& name) {
  if (Module* byPath = project_.FindModuleByPath(name)) return byPath;
  Module* found = nullptr;
  for (Module& module : project_.modules) {
    if (module.FileName() != name) continue;
    if (found) {
      std::fprintf(err_, "error: hay varios módulos llamados %s; nómbrelo por su ruta\n",
                   name.c_str());
      return nullptr;
    }
    found = &module;
  }
  if (!found) std::fprintf(err_, "error: el módulo %s no está en el proyecto\n", name.c_str());
  return found;
}

bool Cli::OpenDictionary(const std::string& path, bool onlyReads) {
  // The component makes a new dictionary of a path that names none: for a
  // command that only reads, a mistyped name would give an empty one, and
  // nothing translated.
  if (onlyReads && !FileExists(path)) {
    std::fprintf(err_, "error: %s\n", SystemErrorText(kErrorFileNotFound, path).c_str());
    return false;
  }
  if (!dictionary_.Load()) {
    std::fprintf(err_, "error: no se ha podido cargar el componente de diccionarios %s\n",
                 DictionaryComponent::kLibraryName);
    return false;
  }
  if (!dictionary_.Open(path)) {
    std::fprintf(err_, "error: %s\n",
                 FormatMessage(kMsgErrorOpeningDictionary, path.c_str()).c_str());
    return false;
  }
  return true;
}

int Cli::New(const Arguments& args) {
  const auto name = args.options.find("--name");
  if (name == args.options.end() || Trim(name->second).empty()) {
    return Usage("new necesita --name NOMBRE");
  }
  const std::string& path = args.positional[0];
  if (FileExists(path)) return Fail("el archivo " + path + " ya existe");
  project_.Clear();
  project_.name = Trim(name->second);
  project_.SetFilePath(path);
  projectPath_ = path;
  if (const int status = Save()) return status;
  std::fprintf(out_, "Proyecto \"%s\" creado en %s\n", project_.name.c_str(), path.c_str());
  return kExitOk;
}

int Cli::Add(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  const std::vector<std::string> paths(args.positional.begin() + 1, args.positional.end());
  const std::size_t added = AddModules(project_, paths, ui_);
  for (auto it = std::prev(project_.modules.end(), static_cast<long>(added));
       it != project_.modules.end(); ++it) {
    std::fprintf(out_, "Módulo %s añadido (%s)\n", std::string(it->FileName()).c_str(),
                 it->DefaultLanguageName().c_str());
  }
  const int saved = Save();
  return saved != kExitOk ? saved : (added < paths.size() ? kExitFailure : kExitOk);
}

int Cli::AddLanguage(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  const std::string name = Trim(args.positional[2]);
  if (name.empty()) return Fail(MessageText(kMsgMustSelectLanguage));
  if (module->FindLanguage(name)) {
    return Fail("el módulo " + std::string(module->FileName()) + " ya tiene el idioma " + name);
  }
  std::string output;
  if (const auto given = args.options.find("--output"); given != args.options.end()) {
    output = Trim(given->second);
    if (output.empty()) return Fail(MessageText(kMsgMustEnterOutputFile));
  } else {
    const std::string folder(module->Folder());
    output = (folder == module->path ? std::string() : folder + "/") + name + "/" +
             std::string(module->FileName());
  }
  module->AddLanguage(ModuleLanguage(name, output, false));
  if (const int status = Save()) return status;
  std::fprintf(out_, "Idioma %s añadido a %s: %s\n", name.c_str(),
               std::string(module->FileName()).c_str(), output.c_str());
  return kExitOk;
}

int Cli::Read(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = nullptr;
  if (args.positional.size() > 1 && !(module = FindModule(args.positional[1]))) return kExitFailure;
  ui_.SetAnswer(args.flags.count("--keep-going") > 0);
  const GetResourcesResult result = GetResourcesCommand(project_, module, ui_);
  const int saved = Save();
  if (saved != kExitOk) return saved;
  std::fprintf(out_, "Módulos leídos: %zu\n", result.read);
  return result.stopped || ui_.SawErrors() ? kExitFailure : kExitOk;
}

int Cli::Generate(const Arguments& args) {
  if (!Load(args.positional[0], false)) return kExitFailure;
  Module* module = nullptr;
  if (args.positional.size() > 1 && !(module = FindModule(args.positional[1]))) return kExitFailure;
  const auto language = args.options.find("--language");
  const std::string* languageName = language == args.options.end() ? nullptr : &language->second;
  if (languageName) {
    bool known = false;
    for (const Module& each : project_.modules) {
      if (module && &each != module) continue;
      const ModuleLanguage* found = each.FindLanguage(*languageName);
      known = known || (found && !found->isDefault);
    }
    if (!known) return Fail("ningún módulo tiene el idioma de destino " + *languageName);
  }
  ui_.SetAnswer(args.flags.count("--keep-going") > 0);
  ui_.SetReplaceAnswer(args.flags.count("--force") > 0);
  const GenerateCommandResult result = GenerateCommand(project_, module, ui_, languageName);
  // Only what this run wrote: an output left from an earlier one is no
  // news.
  for (const GeneratedOutput& output : result.written) {
    std::fprintf(out_, "%s [%s]: %s\n", std::string(output.module->FileName()).c_str(),
                 output.language->name.c_str(), output.path.c_str());
  }
  return result.failed > 0 || result.stopped ? kExitFailure : kExitOk;
}

int Cli::List(const Arguments& args) {
  if (!Load(args.positional[0], false)) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  std::string prefix;
  if (const auto kind = args.options.find("--kind"); kind != args.options.end()) {
    static const std::set<std::string> kKinds = {"ST", "MN", "DL", "VS", "MT", "FM"};
    if (!kKinds.count(kind->second)) return Usage("--kind toma ST, MN, DL, VS, MT o FM");
    prefix = kind->second + "_";
  }
  RowFilter filter = RowFilter::kAll;
  if (const auto state = args.options.find("--state"); state != args.options.end()) {
    const auto named = std::find_if(std::begin(kRowFilters), std::end(kRowFilters),
                                    [&](const auto& f) { return state->second == f.first; });
    if (named == std::end(kRowFilters)) {
      return Usage("--state toma untranslated, to-review, reviewed, translated o changed");
    }
    filter = named->second;
  }
  std::string onlyLanguage;
  if (const auto language = args.options.find("--language"); language != args.options.end()) {
    const ModuleLanguage* named = module->FindLanguage(language->second);
    if (!named || named->isDefault) {
      return Fail("el módulo no tiene el idioma de destino " + language->second);
    }
    onlyLanguage = language->second;
  }
  const ModuleLanguage* original = module->DefaultLanguage();
  if (!original) return Fail(MessageText(kMsgModuleNeedsDefault));
  std::vector<const ModuleLanguage*> shown;
  for (const ModuleLanguage& language : module->languages) {
    if (onlyLanguage.empty() || language.isDefault || language.name == onlyLanguage) {
      shown.push_back(&language);
    }
  }
  const bool json = args.flags.count("--json") > 0;
  JsonWriter writer;
  if (json) {
    writer.BeginArray();
  } else {
    // The texts as before; then, per target language, the review state;
    // then one note column per language.
    std::fprintf(out_, "Clave\tEstado");
    for (const ModuleLanguage* language : shown) std::fprintf(out_, "\t%s", language->name.c_str());
    for (const ModuleLanguage* language : shown) {
      if (!language->isDefault) std::fprintf(out_, "\tRevisión %s", language->name.c_str());
    }
    for (const ModuleLanguage* language : shown) {
      std::fprintf(out_, "\tNota %s", language->name.c_str());
    }
    std::fprintf(out_, "\n");
  }
  for (const TextEntry& entry : original->Entries()) {
    if (!prefix.empty() && entry.key.compare(0, prefix.size(), prefix) != 0) continue;
    if (!RowPasses(*module, entry, filter, onlyLanguage)) continue;
    if (json) {
      writer.BeginObject();
      writer.Key("key").String(entry.key);
      writer.Key("status").Number(entry.status);
      writer.Key("texts").BeginObject();
      for (const ModuleLanguage* language : shown) {
        const TextEntry* text = language->FindEntry(entry.key);
        writer.Key(language->name);
        if (text) {
          writer.String(text->text);
        } else {
          writer.Null();
        }
      }
      writer.EndObject();
      writer.Key("review").BeginObject();
      for (const ModuleLanguage* language : shown) {
        if (language->isDefault) continue;
        const std::int32_t review = ReviewStateOf(*language, entry.key);
        writer.Key(language->name);
        if (review == kNoReviewState) {
          writer.Null();
        } else {
          writer.String(kReviewStateWords[review]);
        }
      }
      writer.EndObject();
      writer.Key("notes").BeginObject();
      for (const ModuleLanguage* language : shown) {
        const TextEntry* text = language->FindEntry(entry.key);
        if (text && !text->note.empty()) writer.Key(language->name).String(text->note);
      }
      writer.EndObject();
      writer.EndObject();
      continue;
    }
    std::fprintf(out_, "%s\t%d", entry.key.c_str(), entry.status);
    for (const ModuleLanguage* language : shown) {
      const TextEntry* text = language->FindEntry(entry.key);
      std::fprintf(out_, "\t%s", text ? text->text.c_str() : "");
    }
    for (const ModuleLanguage* language : shown) {
      if (language->isDefault) continue;
      std::fprintf(out_, "\t%s",
                   std::string(ReviewStateLabel(ReviewStateOf(*language, entry.key))).c_str());
    }
    for (const ModuleLanguage* language : shown) {
      const TextEntry* text = language->FindEntry(entry.key);
      std::fprintf(out_, "\t%s", text ? text->note.c_str() : "");
    }
    std::fprintf(out_, "\n");
  }
  if (json) {
    writer.EndArray();
    std::fprintf(out_, "%s\n", writer.Text().c_str());
  }
  return kExitOk;
}

int Cli::Set(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  const std::string& key = args.positional[2];
  ModuleLanguage* original = module->DefaultLanguage();
  TextEntry* entry = original ? original->FindEntry(key) : nullptr;
  if (!entry) return Fail(NoSuchKey(*module, key));
  ModuleLanguage* target = module->FindLanguage(args.positional[3]);
  if (!target) return Fail("el módulo no tiene el idioma " + args.positional[3]);
  if (target->isDefault) return Fail("el idioma original no se traduce: " + target->name);
  // As the translation dialog accepts it: the original is marked as
  // translated by hand, the text is stored as given (escaped form).
  std::string stored;
  if (const TextProblem problem = ToStoredText(args.positional[4], stored)) {
    return Fail("el texto " + problem.what);
  }
  entry->status = kStatusByHand;
  TextEntry* existing = target->FindEntry(key);
  if (!existing) existing = &target->SetEntry(key, "");
  // A new text is translated: what was said of the old one no longer holds.
  if (existing->text != stored) existing->review = kReviewTranslated;
  existing->text = stored;
  return Save();
}

int Cli::Note(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  const std::string& key = args.positional[2];
  const ModuleLanguage* original = module->DefaultLanguage();
  if (!original || !original->FindEntry(key)) {
    return Fail(NoSuchKey(*module, key));
  }
  ModuleLanguage* language = module->FindLanguage(args.positional[3]);
  if (!language) return Fail("el módulo no tiene el idioma " + args.positional[3]);
  std::string stored;
  if (const TextProblem problem = ToStoredText(args.positional[4], stored)) {
    return Fail("la nota " + problem.what);
  }
  TextEntry* entry = language->FindEntry(key);
  if (!entry && stored.empty()) return Save();
  if (!entry) entry = &language->SetEntry(key, "");
  entry->note = std::move(stored);
  // An untranslated text whose note went holds nothing any more.
  if (!language->isDefault && entry->IsBlank()) language->RemoveEntry(key);
  return Save();
}

int Cli::Review(const Arguments& args) {
  const auto state = std::find_if(std::begin(kReviewStateWords), std::end(kReviewStateWords),
                                  [&](const char* word) { return args.positional[3] == word; });
  if (state == std::end(kReviewStateWords)) {
    return Usage("el estado de review es reviewed, to-review o translated");
  }
  const auto review = static_cast<std::int32_t>(state - std::begin(kReviewStateWords));
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  ModuleLanguage* target = module->FindLanguage(args.positional[2]);
  if (!target || target->isDefault) {
    return Fail("el módulo no tiene el idioma de destino " + args.positional[2]);
  }
  const ModuleLanguage* original = module->DefaultLanguage();
  if (!original) return Fail(MessageText(kMsgModuleNeedsDefault));
  // Every key is checked before anything changes: a typing error marks
  // nothing.
  std::vector<TextEntry*> marked;
  if (args.positional.size() > 4) {
    for (std::size_t i = 4; i < args.positional.size(); ++i) {
      const std::string& key = args.positional[i];
      if (!original->FindEntry(key)) {
        return Fail(NoSuchKey(*module, key));
      }
      TextEntry* entry = target->FindEntry(key);
      if (!entry || entry->text.empty()) {
        return Fail("la clave " + key + " no está traducida en " + target->name);
      }
      marked.push_back(entry);
    }
  } else {
    for (const TextEntry& entry : original->Entries()) {
      TextEntry* translated = target->FindEntry(entry.key);
      if (translated && !translated->text.empty()) marked.push_back(translated);
    }
  }
  std::size_t changed = 0;
  for (TextEntry* entry : marked) {
    if (entry->review == review) continue;
    entry->review = review;
    ++changed;
  }
  const int saved = changed > 0 ? Save() : kExitOk;
  if (saved != kExitOk) return saved;
  std::fprintf(out_, "Textos marcados como %s: %zu de %zu\n",
               std::string(ReviewStateLabel(review)).c_str(), changed, marked.size());
  return kExitOk;
}

Module* Cli::ModuleWithDictionary(const Arguments& args, const std::string& command, int& status) {
  status = kExitFailure;
  if (!Load(args.positional[0])) return nullptr;
  Module* module = FindModule(args.positional[1]);
  if (!module) return nullptr;
  const auto path = args.options.find("--dictionary");
  if (path == args.options.end()) {
    status = Usage(command + " necesita --dictionary ARCHIVO");
    return nullptr;
  }
  if (!OpenDictionary(path->second, command == "translate")) return nullptr;
  status = kExitOk;
  return module;
}

std::vector<std::string> Cli::AllKeys(const Module& module) {
  std::vector<std::string> keys;
  if (const ModuleLanguage* original = module.DefaultLanguage()) {
    for (const TextEntry& entry : original->Entries()) keys.push_back(entry.key);
  }
  return keys;
}

bool Cli::MinimumScore(const Arguments& args, int& minimum, int& status) {
  minimum = 100;
  const auto given = args.options.find("--min-score");
  if (given == args.options.end()) return true;
  const std::string& text = given->second;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 1 || value > 100) {
    status = Usage("--min-score toma un número entre 1 y 100");
    return false;
  }
  minimum = static_cast<int>(value);
  return true;
}

int Cli::Translate(const Arguments& args) {
  int status = kExitOk;
  int minimum = 100;
  if (!MinimumScore(args, minimum, status)) return status;
  Module* module = ModuleWithDictionary(args, "translate", status);
  if (!module) return status;
  if (minimum < 100 && !dictionary_.HasSimilarTexts()) {
    return Fail("el componente de diccionario no busca textos parecidos (--min-score)");
  }
  const std::vector<std::string> keys = AllKeys(*module);
  const std::size_t toReviewBefore = CountToReview(*module);
  const std::vector<std::string> changed =
      TranslateKeys(*module, keys, dictionary_, ui_, nullptr, minimum);
  const int saved = Save();
  if (saved != kExitOk) return saved;
  std::fprintf(out_, "Textos traducidos: %zu de %zu\n", changed.size(), keys.size());
  if (minimum < 100) {
    const std::size_t toReview = CountToReview(*module);
    std::fprintf(out_, "Por revisar (de textos parecidos): %zu\n",
                 toReview > toReviewBefore ? toReview - toReviewBefore : 0);
  }
  return kExitOk;
}

int Cli::Leverage(const Arguments& args) {
  int status = kExitOk;
  LeverageOptions options;
  if (!MinimumScore(args, options.minimum, status)) return status;
  const auto from = args.options.find("--from");
  if (from == args.options.end()) return Usage("leverage necesita --from OTRO.ulk");
  options.overwrite = args.flags.count("--overwrite") > 0;
  options.allModules = args.flags.count("--all-modules") > 0;
  if (!Load(args.positional[0])) return kExitFailure;
  Project other;
  if (!LoadOther(from->second, other)) return kExitFailure;
  const LeverageResult result = LeverageTranslations(project_, other, options);
  const int saved = Save();
  if (saved != kExitOk) return saved;
  PrintLeverage(result, Streams());
  return kExitOk;
}

bool Cli::LoadOther(const std::string& path, Project& other) {
  const ProjectLoadResult loaded = LoadProjectFile(other, path);
  if (loaded.ok) return true;
  std::fprintf(err_, "error: %s\n", loaded.message.c_str());
  if (loaded.fileError == 0) std::fprintf(err_, "%s\n", MessageText(kMsgUnexpectedFileFormat));
  return false;
}

int Cli::Analyze(const Arguments& args) {
  if (args.flags.count("--json") && args.flags.count("--csv")) {
    return Usage("analyze toma --json o --csv, no los dos");
  }
  if (!Load(args.positional[0], false)) return kExitFailure;
  const Module* module = nullptr;
  if (args.positional.size() > 1 && !(module = FindModule(args.positional[1]))) return kExitFailure;
  AnalysisSources sources;
  Project other;
  if (const auto from = args.options.find("--from"); from != args.options.end()) {
    if (!LoadOther(from->second, other)) return kExitFailure;
    sources.other = &other;
  }
  if (const auto path = args.options.find("--dictionary"); path != args.options.end()) {
    if (!OpenDictionary(path->second, true)) return kExitFailure;
    sources.dictionary = &dictionary_;
  }
  const AnalysisReport report = AnalyseProject(project_, module, sources, ui_);
  const AnalysisFormat format = args.flags.count("--json")  ? AnalysisFormat::kJson
                                : args.flags.count("--csv") ? AnalysisFormat::kCsv
                                                            : AnalysisFormat::kTable;
  PrintAnalysis(report, format, Streams());
  return kExitOk;
}

int Cli::AddToDictionary(const Arguments& args) {
  int status = kExitOk;
  Module* module = ModuleWithDictionary(args, "add-to-dictionary", status);
  if (!module) return status;
  if (dictionary_.readOnly()) {
    return Fail("el diccionario " + args.options.at("--dictionary") + " es de solo lectura");
  }
  const std::vector<std::string> keys = AllKeys(*module);
  const bool ok = AddKeysToDictionary(*module, keys, dictionary_, ui_);
  std::fprintf(out_, "Textos enviados al diccionario: %zu\n", keys.size());
  return ok ? kExitOk : kExitFailure;
}

int Cli::Stats(const Arguments& args) {
  if (!Load(args.positional[0], false)) return kExitFailure;
  const bool json = args.flags.count("--json") > 0;
  JsonWriter writer;
  if (json) {
    writer.BeginObject();
    writer.Key("project").String(project_.name);
    writer.Key("modules").BeginArray();
  } else {
    std::fprintf(out_, "Proyecto: %s\n", project_.name.c_str());
  }
  for (const Module& module : project_.modules) {
    const ModuleLanguage* original = module.DefaultLanguage();
    const std::size_t total = original ? original->EntryCount() : 0;
    std::map<int, std::size_t> statuses;
    if (original) {
      for (const TextEntry& entry : original->Entries()) ++statuses[entry.status];
    }
    if (json) {
      writer.BeginObject();
      writer.Key("path").String(module.path);
      writer.Key("original").String(module.DefaultLanguageName());
      writer.Key("texts").Number(static_cast<long long>(total));
      writer.Key("statuses").BeginObject();
      for (const auto& [status, count] : statuses) {
        writer.Key(std::to_string(status)).Number(static_cast<long long>(count));
      }
      writer.EndObject();
      writer.Key("languages").BeginArray();
    } else {
      std::fprintf(out_, "%s (%s): %zu textos en %s\n", std::string(module.FileName()).c_str(),
                   module.path.c_str(), total, module.DefaultLanguageName().c_str());
      if (!statuses.empty()) {
        std::fprintf(out_, "  estados:");
        for (const auto& [status, count] : statuses) std::fprintf(out_, " %d=%zu", status, count);
        std::fprintf(out_, "\n");
      }
    }
    for (const ModuleLanguage& language : module.languages) {
      if (language.isDefault) continue;
      std::size_t translated = 0;
      std::size_t states[kReviewStateCount] = {};
      std::size_t notes = 0;
      if (original) {
        for (const TextEntry& entry : original->Entries()) {
          const TextEntry* text = language.FindEntry(entry.key);
          if (text && !text->note.empty()) ++notes;
          if (!text || text->text.empty()) continue;
          ++translated;
          if (text->review >= 0 && text->review < kReviewStateCount) ++states[text->review];
        }
      }
      const auto count = [](std::size_t n) { return static_cast<long long>(n); };
      if (json) {
        writer.BeginObject();
        writer.Key("name").String(language.name);
        writer.Key("output").String(language.outputFile);
        writer.Key("translated").Number(count(translated));
        writer.Key("untranslated").Number(count(total - translated));
        writer.Key("toReview").Number(count(states[kReviewNeeded]));
        writer.Key("reviewed").Number(count(states[kReviewDone]));
        writer.Key("notes").Number(count(notes));
        writer.EndObject();
      } else {
        std::fprintf(out_, "  %s: %zu traducidos, %zu sin traducir -> %s\n", language.name.c_str(),
                     translated, total - translated, language.outputFile.c_str());
        if (states[kReviewNeeded] + states[kReviewDone] + notes > 0) {
          std::fprintf(out_, "    %zu por revisar, %zu revisados, %zu con nota\n",
                       states[kReviewNeeded], states[kReviewDone], notes);
        }
      }
    }
    if (json) {
      writer.EndArray();
      writer.EndObject();
    }
  }
  if (json) {
    writer.EndArray();
    writer.EndObject();
    std::fprintf(out_, "%s\n", writer.Text().c_str());
  }
  return kExitOk;
}

int Cli::Languages(const Arguments&) {
  IsoLanguageList list;
  for (const auto& [name, code] : list.Names())
    std::fprintf(out_, "%s\t%s\n", code.c_str(), name.c_str());
  return kExitOk;
}

int Cli::Export(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  const Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  return ExportCommand(project_, *module, args.positional[2], args.positional[3], Streams());
}

int Cli::Import(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  bool changed = false;
  const int status =
      ImportCommand(*module, args.positional[2], args.positional[3], Streams(), changed);
  if (status != kExitOk || !changed) return status;
  return Save();
}

int Cli::Check(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  const Module* module = nullptr;
  if (args.positional.size() > 1 && !(module = FindModule(args.positional[1]))) return kExitFailure;
  const auto language = args.options.find("--language");
  return CheckCommand(project_, module,
                      language == args.options.end() ? nullptr : &language->second,
                      args.flags.count("--json") > 0, ui_, Streams());
}

int Cli::Fit(const Arguments& args) {
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  const auto dialog = args.options.find("--dialog");
  bool changed = false;
  const int status = FitCommand(
      *module, args.positional[2], dialog == args.options.end() ? nullptr : &dialog->second,
      args.flags.count("--dry-run") > 0, args.flags.count("--json") > 0, Streams(), changed);
  if (!changed) return status;
  const int saved = Save();
  return saved != kExitOk ? saved : status;
}

int Cli::Pseudo(const Arguments& args) {
  int expand = kDefaultPseudoExpansion;
  if (const auto given = args.options.find("--expand"); given != args.options.end()) {
    const std::string& text = given->second;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 0 || value > kMaxPseudoExpansion) {
      return Usage("--expand toma un número entre 0 y " + std::to_string(kMaxPseudoExpansion));
    }
    expand = static_cast<int>(value);
  }
  if (!Load(args.positional[0])) return kExitFailure;
  Module* module = FindModule(args.positional[1]);
  if (!module) return kExitFailure;
  bool changed = false;
  const int status = PseudoCommand(*module, args.positional[2], expand, Streams(), changed);
  if (status != kExitOk || !changed) return status;
  return Save();
}

int Cli::ExportTmx(const Arguments& args) {
  return ExportTmxCommand(args.positional[0], args.positional[1], Streams());
}

int Cli::ImportTmx(const Arguments& args) {
  return ImportTmxCommand(args.positional[0], args.positional[1], Streams());
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err) {
  Cli cli(out, err);
  return cli.Run(arguments);
}

}  // namespace ulk
