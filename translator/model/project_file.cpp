// Writing and reading the project file.
#include "translator/model/project_file.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <filesystem>
#include <optional>
#include <unordered_map>

#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

constexpr std::string_view kHeader = "RESOURCE TRANSLATE PROJECT FILE";
constexpr std::string_view kFileVersionKey = "FILE VERSION";
constexpr std::string_view kProjectNameKey = "PROJECT NAME";
constexpr std::string_view kDefaultLanguageKey = "DEFAULT LANGUAGE";
constexpr std::string_view kLanguageKey = "LANGUAGE";
constexpr int kMajorVersion = 1;
// Version 1.3 adds the lines that follow an entry with what is known of it
// (its status, review state and note); a project without any is written as
// version 1.2, as it always was.
constexpr int kPlainMinorVersion = 2;
constexpr int kMinorVersion = 3;

// The facts an entry may have, each on its own line after the entry:
// "KEY STATUS = 3", "KEY STATE = TO REVIEW", "KEY NOTE = "..."".
constexpr std::string_view kStatusFact = " STATUS";
constexpr std::string_view kStateFact = " STATE";
constexpr std::string_view kNoteFact = " NOTE";
// A target language's rectangle of a dialog (item 0) or of its n-th control,
// with the module's rectangle and control identifier it was set against:
// "DL_N_100 (3) RECT = 7, 7, 60, 14 FROM 7, 7, 50, 14 ID 1001".
constexpr std::string_view kRectFact = " RECT";
constexpr std::string_view kStateNames[kReviewStateCount] = {"TRANSLATED", "TO REVIEW", "REVIEWED"};

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The entry key of a fact line's key, and which fact it is; none for the
// key of an entry. Entry keys the program makes end in ")" and a fact's key
// is such a key and one word.
struct FactKey {
  std::string_view entryKey;
  std::string_view fact;
};
std::optional<FactKey> FactOf(std::string_view key) {
  for (const std::string_view fact : {kStatusFact, kStateFact, kNoteFact, kRectFact}) {
    if (!EndsWith(key, fact)) continue;
    const std::string_view entryKey = key.substr(0, key.size() - fact.size());
    if (!entryKey.empty() && entryKey.back() == ')') return FactKey{entryKey, fact};
  }
  return std::nullopt;
}

// A key shaped as an entry key and one word in capitals that is no fact
// this version knows: a newer program's, or a damaged line.
bool LooksLikeUnknownFact(std::string_view key) {
  const auto space = key.rfind(' ');
  if (space == std::string_view::npos || space == 0 || key[space - 1] != ')') return false;
  const std::string_view word = key.substr(space + 1);
  return !word.empty() &&
         std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// Reads "A, B, C, D" (blanks around the commas free) into `values`, each in
// the 16-bit range a template holds; advances `text` past them.
bool ReadRectValues(std::string_view& text, int (&values)[4]) {
  for (int i = 0; i < 4; ++i) {
    text = TrimView(text);
    if (i > 0) {
      if (text.empty() || text.front() != ',') return false;
      text = TrimView(text.substr(1));
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), values[i]);
    if (error != std::errc() || values[i] < kMinDialogUnit || values[i] > kMaxDialogUnit) {
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  }
  // A rectangle has no negative size.
  return values[2] >= 0 && values[3] >= 0;
}

bool ReadWord(std::string_view& text, std::string_view word) {
  text = TrimView(text);
  if (text.substr(0, word.size()) != word) return false;
  text.remove_prefix(word.size());
  return !text.empty() && text.front() == ' ';
}

DialogRect RectFrom(const int (&v)[4]) {
  return {static_cast<std::int16_t>(v[0]), static_cast<std::int16_t>(v[1]),
          static_cast<std::int16_t>(v[2]), static_cast<std::int16_t>(v[3])};
}

// The value of a RECT fact; none when it is not one.
std::optional<ControlGeometry> ReadGeometry(std::string_view value, bool isDialog) {
  int rect[4] = {};
  int original[4] = {};
  if (!ReadRectValues(value, rect) || !ReadWord(value, "FROM") ||
      !ReadRectValues(value, original)) {
    return std::nullopt;
  }
  ControlGeometry geometry{RectFrom(rect), RectFrom(original), 0};
  value = TrimView(value);
  if (isDialog) {
    if (!value.empty()) return std::nullopt;
    return geometry;
  }
  if (value.substr(0, 3) != "ID ") return std::nullopt;
  value = TrimView(value.substr(3));
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), geometry.id);
  if (error != std::errc() || end != value.data() + value.size() || geometry.id > 0xFFFF) {
    return std::nullopt;
  }
  return geometry;
}

std::string RectText(const DialogRect& rect) {
  return std::to_string(rect.x) + ", " + std::to_string(rect.y) + ", " + std::to_string(rect.cx) +
         ", " + std::to_string(rect.cy);
}

void AppendGeometry(std::string& out, std::string_view dialogKey, const DialogGeometry& geometry) {
  for (const auto& [item, control] : geometry) {
    out.append(dialogKey).append(" (").append(std::to_string(item)).append(")");
    out.append(kRectFact).append(" = ").append(RectText(control.rect));
    out.append(" FROM ").append(RectText(control.original));
    if (item != 0) out.append(" ID ").append(std::to_string(control.id));
    out.push_back('\n');
  }
}

bool HoldsFacts(const TextEntry& entry, bool isDefault) {
  return !entry.note.empty() ||
         (isDefault ? entry.status != kStatusUnchanged : entry.review != kReviewTranslated);
}

// Leading decimal digits as a number; no digits give 0.
int LeadingNumber(std::string_view text) {
  text = TrimView(text);
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The version's minor number when the file's version is accepted (any
// 0.x counts as 1.0); none when it is not.
std::optional<int> AcceptedMinorVersion(std::string_view value) {
  const auto dot = value.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const int major = LeadingNumber(value.substr(0, dot));
  const int minor = LeadingNumber(value.substr(dot + 1));
  if (major > kMajorVersion) return std::nullopt;
  if (major < kMajorVersion) return 0;
  if (minor > kMinorVersion) return std::nullopt;
  return minor;
}

// A value of more than one character that both begins and ends with a
// double quote loses those two quotes; any other value is taken as it is.
std::string_view EntryText(std::string_view value) {
  if (value.size() > 1 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

class ProjectReader {
 public:
  explicit ProjectReader(Project& project) : project_(project) {}

  bool ReadLine(std::string_view rawLine, ProjectReadReason& reason) {
    std::string normalised;
    std::string_view line = rawLine;
    // A NUL, or a carriage return that does not end the line, is nothing
    // the program writes: the file was damaged or made to mislead.
    if (line.size() > 0 && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos || line.find('\r') != std::string_view::npos) {
      reason = kProjectDamagedText;
      return false;
    }
    if (line.find('\t') != std::string_view::npos) {
      normalised.assign(line);
      for (char& c : normalised) {
        if (c == '\t') c = ' ';
      }
      line = normalised;
    }
    line = TrimView(line);
    if (line.empty()) return true;

    const bool isSection = line.size() > 2 && line.front() == '[' && line.back() == ']';
    if (isSection) return Section(TrimView(line.substr(1, line.size() - 2)), reason);
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || !headerSeen_) {
      reason = kProjectUnknownFormat;
      return false;
    }
    return KeyLine(UpperKey(TrimView(line.substr(0, equals))), TrimView(line.substr(equals + 1)),
                   reason);
  }

  bool Finish(ProjectReadReason& reason) {
    if (!headerSeen_) {
      reason = kProjectUnknownFormat;  // an empty file is no project
      return false;
    }
    return true;
  }

 private:
  // Keys are written in capitals: such a key is taken as it stands, any
  // other is upper-cased into a buffer kept from line to line.
  std::string_view UpperKey(std::string_view key) {
    const bool upper = std::all_of(key.begin(), key.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x80 && !(c >= 'a' && c <= 'z');
    });
    if (upper) return key;
    upperKey_ = ToUpperUtf8(key);
    return upperKey_;
  }

  bool Section(std::string_view content, ProjectReadReason& reason) {
    if (!headerSeen_) {
      if (ToUpperUtf8(content) != kHeader) {
        reason = kProjectUnknownFormat;
        return false;
      }
      headerSeen_ = true;
      return true;
    }
    if (project_.name.empty()) {
      reason = kProjectUnknownFormat;
      return false;
    }
    // A module needs a path: "[ ]" names none.
    if (content.empty()) {
      reason = kProjectModuleFailed;
      return false;
    }
    Module module;
    module.path.assign(content);
    // Relative to the project's own folder, whatever the current one is.
    const std::string_view spelt = TrimView(content);
    module.pathWasRelative = !spelt.empty() && spelt.front() != '/';
    if (module.pathWasRelative && !project_.folder.empty()) {
      module.path = project_.ResolvePath(spelt);
    }
    module_ = project_.AddModule(module, false, &paths_);
    language_ = nullptr;
    if (!module_) {
      reason = kProjectModuleFailed;
      return false;
    }
    return true;
  }

  bool KeyLine(std::string_view key, std::string_view value, ProjectReadReason& reason) {
    if (!module_) return ProjectKey(key, value, reason);
    if (key == kDefaultLanguageKey) {
      language_ = &module_->AddLanguage(ModuleLanguage(std::string(value), {}, true));
      return true;
    }
    if (key == kLanguageKey) {
      const auto comma = value.find(',');
      if (comma == std::string_view::npos) {
        reason = kProjectUnknownFormat;
        return false;
      }
      language_ = &module_->AddLanguage(
          ModuleLanguage(Trim(value.substr(0, comma)), Trim(value.substr(comma + 1)), false));
      return true;
    }
    // An entry needs a language line before it: there is nowhere to put it.
    if (!language_) {
      reason = kProjectUnknownFormat;
      return false;
    }
    if (key.empty()) {
      reason = kProjectEntryFailed;
      return false;
    }
    if (minorVersion_ >= kMinorVersion) {
      if (const std::optional<FactKey> fact = FactOf(key)) {
        if (fact->fact == kRectFact ? Geometry(fact->entryKey, value) : Fact(*fact, value)) {
          return true;
        }
        reason = kProjectEntryFailed;
        return false;
      }
      if (LooksLikeUnknownFact(key)) {
        reason = kProjectEntryFailed;
        return false;
      }
    }
    language_->SetEntry(key, EntryText(value));
    return true;
  }

  // A fact belongs to the entry of its key read before it in the same
  // language, and only to the kind of language that has it; anything else
  // was not written by the program and is refused rather than guessed at.
  bool Fact(const FactKey& fact, std::string_view value) {
    TextEntry* entry = language_->FindEntry(fact.entryKey);
    if (!entry) return false;
    if (fact.fact == kNoteFact) {
      entry->note.assign(EntryText(value));
      return true;
    }
    if (fact.fact == kStatusFact) {
      const std::string_view digits = value;
      int status = -1;
      const auto [end, error] =
          std::from_chars(digits.data(), digits.data() + digits.size(), status);
      if (!language_->isDefault || error != std::errc() || end != digits.data() + digits.size() ||
          status <= kStatusUnchanged || status > kStatusDictionarySeveral) {
        return false;
      }
      entry->status = status;
      return true;
    }
    if (language_->isDefault) return false;
    const std::string state = ToUpperUtf8(value);
    for (std::int32_t review = 0; review < kReviewStateCount; ++review) {
      if (state == kStateNames[review]) {
        entry->review = review;
        return true;
      }
    }
    return false;
  }

  // A rectangle belongs to a dialog of a target language and needs no entry
  // (most controls have no text); one per control, in the 16-bit range.
  bool Geometry(std::string_view entryKey, std::string_view value) {
    std::uint32_t item = 0;
    if (language_->isDefault || KindOfKey(entryKey) != ResourceKind::kDialog ||
        !ItemOfKey(entryKey, item) || item > 0xFFFF ||  // a template counts its controls in 16 bits
        MakeEntryKey(ResourceKeyOf(entryKey), item) != entryKey) {
      return false;
    }
    const std::optional<ControlGeometry> geometry = ReadGeometry(value, item == kDialogCaptionItem);
    if (!geometry) return false;
    DialogGeometry& dialog = language_->dialogGeometry[std::string(ResourceKeyOf(entryKey))];
    return dialog.emplace(item, *geometry).second;
  }

  bool ProjectKey(std::string_view key, std::string_view value, ProjectReadReason& reason) {
    if (key == kProjectNameKey) {
      project_.name.assign(value);
      return true;
    }
    if (key == kFileVersionKey) {
      if (const std::optional<int> minor = AcceptedMinorVersion(value)) {
        minorVersion_ = *minor;
        return true;
      }
      reason = kProjectUnknownVersion;
      return false;
    }
    if (key == kDefaultLanguageKey) return true;
    reason = kProjectUnknownFormat;
    return false;
  }

  Project& project_;
  bool headerSeen_ = false;
  Module* module_ = nullptr;
  ModuleLanguage* language_ = nullptr;
  // Until a version line says more, a file is read as the first version.
  int minorVersion_ = 0;
  std::string upperKey_;
  CanonicalPaths paths_;
};

void AppendKeyValue(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append(" = ").append(value).push_back('\n');
}

// A path as the file keeps it: relative to the project's folder when it
// lies inside it or was relative when read, else absolute.
std::string WrittenPath(const std::string& path, bool wasRelative, const std::string& folder) {
  namespace fs = std::filesystem;
  const fs::path given(path);
  if (folder.empty() || !given.is_absolute()) return path;
  const fs::path relative = given.lexically_relative(folder);
  if (relative.empty()) return path;
  const bool inside = *relative.begin() != "..";
  return inside || wasRelative ? relative.string() : path;
}

// Why `value` cannot stand in the file as one value of a line; "" when it
// can. Every value: valid UTF-8, no line break, tab or NUL.
std::string ValueProblem(std::string_view value) {
  if (!IsValidUtf8(value)) return "no es UTF-8 válido";
  for (const char c : value) {
    if (c == '\n' || c == '\r') return "contiene un salto de línea";
    if (c == '\t') return "contiene un tabulador";
    if (c == '\0') return "contiene un carácter nulo";
  }
  return {};
}

// The same for a value the reader trims, which must also not be empty
// (`mayBeEmpty` aside) nor begin or end with a blank.
std::string TrimmedValueProblem(std::string_view value, bool mayBeEmpty = false) {
  if (value.empty()) return mayBeEmpty ? std::string() : "está vacío";
  if (IsBlank(value.front()) || IsBlank(value.back())) return "empieza o acaba en blanco";
  return ValueProblem(value);
}

std::string KeyProblem(std::string_view key, bool withFacts) {
  if (key.find('=') != std::string_view::npos) return "contiene el signo =";
  if (key == kDefaultLanguageKey || key == kLanguageKey) return "es una palabra reservada";
  // Such a key would be read back as a fact of another entry.
  if (withFacts && !key.empty() && key.back() != ')' &&
      (FactOf(ToUpperUtf8(key)) || LooksLikeUnknownFact(ToUpperUtf8(key)))) {
    return "acaba como una línea de estado o nota";
  }
  return TrimmedValueProblem(key);
}

// Whether the project holds a status, review state or note, which only the
// file's newer version can say.
bool NeedsFacts(const Project& project) {
  for (const Module& module : project.modules) {
    for (const ModuleLanguage& language : module.languages) {
      if (!language.isDefault && !language.dialogGeometry.empty()) return true;
      for (const TextEntry& entry : language.Entries()) {
        if (HoldsFacts(entry, language.isDefault)) return true;
      }
    }
  }
  return false;
}

void AppendFacts(std::string& out, const TextEntry& entry, bool isDefault) {
  if (isDefault && entry.status != kStatusUnchanged) {
    out.append(entry.key).append(kStatusFact).append(" = ");
    out.append(std::to_string(entry.status)).push_back('\n');
  }
  if (!isDefault && entry.review > kReviewTranslated && entry.review < kReviewStateCount) {
    out.append(entry.key).append(kStateFact).append(" = ");
    out.append(kStateNames[entry.review]).push_back('\n');
  }
  if (!entry.note.empty()) {
    out.append(entry.key).append(kNoteFact).append(" = \"").append(entry.note).append("\"\n");
  }
}

// The entries of a language, each with its facts; a dialog's geometry
// after the last entry of that dialog, or at the end for a dialog the
// language has no entry of.
void AppendEntries(std::string& out, const ModuleLanguage& language, bool withFacts) {
  const bool withGeometry = !language.isDefault && !language.dialogGeometry.empty();
  std::unordered_map<std::string_view, const TextEntry*> lastOfDialog;
  if (withGeometry) {
    for (const TextEntry& entry : language.Entries()) {
      const std::string_view dialog = ResourceKeyOf(entry.key);
      if (language.dialogGeometry.count(dialog)) lastOfDialog[dialog] = &entry;
    }
  }
  for (const TextEntry& entry : language.Entries()) {
    out.append(entry.key).append(" = \"").append(entry.text).append("\"\n");
    if (withFacts) AppendFacts(out, entry, language.isDefault);
    if (!withGeometry) continue;
    const std::string_view dialog = ResourceKeyOf(entry.key);
    if (const auto last = lastOfDialog.find(dialog);
        last != lastOfDialog.end() && last->second == &entry) {
      AppendGeometry(out, dialog, language.dialogGeometry.find(dialog)->second);
    }
  }
  if (!withGeometry) return;
  for (const auto& [dialog, geometry] : language.dialogGeometry) {
    if (!lastOfDialog.count(dialog) && !geometry.empty()) AppendGeometry(out, dialog, geometry);
  }
}

}  // namespace

std::string UnwritableValue(const Project& project) {
  // The names are only made for the value that fails: a project holds tens
  // of thousands of texts, nearly always all of them fine.
  const bool withFacts = NeedsFacts(project);
  if (auto problem = ValueProblem(project.name); !problem.empty()) {
    return "El nombre del proyecto " + problem;
  }
  for (const Module& module : project.modules) {
    const auto where = [&module] { return " del módulo " + module.path; };
    if (auto problem = TrimmedValueProblem(module.path); !problem.empty()) {
      return "La ruta" + where() + " " + problem;
    }
    for (const ModuleLanguage& language : module.languages) {
      std::string problem = TrimmedValueProblem(language.name, true);
      if (problem.empty() && !language.isDefault && language.name.find(',') != std::string::npos) {
        problem = "contiene una coma";
      }
      if (!problem.empty()) return "El nombre de un idioma" + where() + " " + problem;
      if (!language.isDefault) {
        problem = TrimmedValueProblem(language.outputFile, true);
        if (!problem.empty()) {
          return "La salida del idioma " + language.name + where() + " " + problem;
        }
      }
      for (const TextEntry& entry : language.Entries()) {
        if (problem = KeyProblem(entry.key, withFacts); !problem.empty()) {
          return "La clave " + entry.key + where() + " " + problem;
        }
        if (problem = ValueProblem(entry.text); !problem.empty()) {
          return "El texto de " + entry.key + " en " + language.name + where() + " " + problem;
        }
        if (problem = ValueProblem(entry.note); !problem.empty()) {
          return "La nota de " + entry.key + " en " + language.name + where() + " " + problem;
        }
      }
    }
  }
  return {};
}

std::string WriteProject(const Project& project) {
  // What the gate lets in always keeps the grammar; a value that does not
  // came in some other way, and saving refuses it before it gets here.
  assert(UnwritableValue(project).empty());
  std::string out;
  out.append("[").append(kHeader).append("]\n");
  const bool withFacts = NeedsFacts(project);
  out.append(Format("%s = %d.%d\n", kFileVersionKey.data(), kMajorVersion,
                    withFacts ? kMinorVersion : kPlainMinorVersion));
  AppendKeyValue(out, kProjectNameKey, project.name);
  out.push_back('\n');
  for (const Module& module : project.modules) {
    out.append("[")
        .append(WrittenPath(module.path, module.pathWasRelative, project.folder))
        .append("]\n");
    for (const ModuleLanguage& language : module.languages) {
      out.push_back('\n');
      if (language.isDefault) {
        AppendKeyValue(out, kDefaultLanguageKey, language.name);
      } else {
        out.append(kLanguageKey).append(" = ").append(language.name).append(", ");
        out.append(WrittenPath(language.outputFile, false, project.folder)).push_back('\n');
      }
      AppendEntries(out, language, withFacts);
    }
    out.push_back('\n');
  }
  return out;
}

bool ReadProject(Project& project, std::string_view text, ProjectReadReason& reason,
                 std::size_t* failedLine) {
  std::string filePath = std::move(project.filePath);
  std::string folder = std::move(project.folder);
  project.Clear();
  project.filePath = std::move(filePath);
  project.folder = std::move(folder);
  reason = kProjectReadOk;
  ProjectReader reader(project);
  std::size_t pos = 0;
  std::size_t line = 0;
  while (pos < text.size()) {
    auto end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    ++line;
    if (!reader.ReadLine(text.substr(pos, end - pos), reason)) {
      if (failedLine) *failedLine = line;
      return false;
    }
    pos = end + 1;
  }
  if (failedLine) *failedLine = line;
  return reader.Finish(reason);
}

std::optional<std::string> DecodeProjectBytes(std::string bytes, std::size_t* badLine) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (std::string_view(bytes).substr(0, kBom.size()) == kBom) bytes.erase(0, kBom.size());
  if (IsValidUtf8(bytes)) return bytes;
  // Windows-1252 text that happens to hold a valid sequence is rare; UTF-8
  // with a damaged byte is what such a mixture is, and decoding it as
  // Windows-1252 would garble every other text of the file.
  std::size_t firstBad = std::string::npos;
  const bool holdsUtf8 = HoldsMultiByteUtf8(bytes, firstBad);
  if (!holdsUtf8) return Windows1252ToUtf8(bytes);
  if (badLine) {
    *badLine = 1 + static_cast<std::size_t>(std::count(
                       bytes.begin(), bytes.begin() + static_cast<long>(firstBad), '\n'));
  }
  return std::nullopt;
}

std::string ProjectReadFailureText(std::string_view fileName, ProjectReadReason reason) {
  std::string text = MessageText(kMsgErrorOpeningFile);
  text.append(" ").append(fileName).push_back('\n');
  switch (reason) {
    case kProjectUnknownVersion:
      text += MessageText(kMsgUnknownFileVersion);
      break;
    case kProjectModuleFailed:
      text += FormatMessage(kMsgErrorAddingModule, "?");
      break;
    case kProjectLanguageFailed:
      text += FormatMessage(kMsgErrorAddingLanguage, "?");
      break;
    case kProjectEntryFailed:
      text += MessageText(kMsgErrorAddingResource);
      break;
    case kProjectDamagedText:
      text +=
          "El archivo está dañado: un texto no es UTF-8 válido o contiene un carácter nulo "
          "o un retorno de carro suelto.";
      break;
    default:
      text += MessageText(kMsgUnknownFileFormat);
      break;
  }
  return text;
}

ProjectLoadResult LoadProjectFile(Project& project, const std::string& path) {
  ProjectLoadResult result;
  std::string bytes;
  const auto refuse = [&](std::string message) {
    project.Clear();
    project.name = MessageText(kMsgNewProject);
    result.message = std::move(message);
    return result;
  };
  if (const int error = ReadWholeFile(path, bytes)) {
    result.fileError = error;
    if (error == ENOENT || error == ENOTDIR) {
      return refuse(ReplaceAll(MessageText(kMsgFileNotFound), "%1", path));
    }
    return refuse(SystemErrorText(error, path));
  }
  std::optional<std::string> text = DecodeProjectBytes(std::move(bytes), &result.line);
  if (!text) result.reason = kProjectDamagedText;
  project.Clear();
  project.SetFilePath(path);
  if (!text || !ReadProject(project, *text, result.reason, &result.line)) {
    std::string message = ProjectReadFailureText(FileNameOf(path), result.reason);
    // Which line was refused: a damaged text, or a line of facts or
    // geometry a hand or another program got wrong.
    if (result.reason == kProjectDamagedText || result.reason == kProjectEntryFailed) {
      message += Format(" (línea %zu)", result.line);
    }
    return refuse(std::move(message));
  }
  result.line = 0;
  result.ok = true;
  return result;
}

std::string SaveProjectFile(const Project& project, const std::string& path) {
  if (std::string problem = UnwritableValue(project); !problem.empty()) return problem + ".";
  if (const int error = WriteFileAtomically(path, WriteProject(project))) {
    return SystemErrorText(error, path);
  }
  return {};
}

}  // namespace ulk
