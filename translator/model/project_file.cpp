// Writing and reading the project file.
#include "translator/model/project_file.h"

#include <algorithm>
#include <charconv>

#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/text.h"
#include "translator/model/messages.h"

namespace ulk {
namespace {

constexpr std::string_view kHeader = "RESOURCE TRANSLATE PROJECT FILE";
constexpr std::string_view kFileVersionKey = "FILE VERSION";
constexpr std::string_view kProjectNameKey = "PROJECT NAME";
constexpr std::string_view kDefaultLanguageKey = "DEFAULT LANGUAGE";
constexpr std::string_view kLanguageKey = "LANGUAGE";
constexpr int kMajorVersion = 1;
constexpr int kMinorVersion = 2;

// Leading decimal digits as a number; no digits give 0.
int LeadingNumber(std::string_view text) {
  text = TrimView(text);
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

bool VersionAccepted(std::string_view value) {
  const auto dot = value.find('.');
  if (dot == std::string_view::npos) return false;
  const int major = LeadingNumber(value.substr(0, dot));
  const int minor = LeadingNumber(value.substr(dot + 1));
  if (major > kMajorVersion) return false;
  return !(major == kMajorVersion && minor > kMinorVersion);
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
    language_->SetEntry(key, EntryText(value));
    return true;
  }

  bool ProjectKey(std::string_view key, std::string_view value, ProjectReadReason& reason) {
    if (key == kProjectNameKey) {
      project_.name.assign(value);
      return true;
    }
    if (key == kFileVersionKey) {
      if (VersionAccepted(value)) return true;
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
  std::string upperKey_;
  CanonicalPaths paths_;
};

void AppendKeyValue(std::string& out, std::string_view key, std::string_view value) {
  out.append(key).append(" = ").append(value).push_back('\n');
}

}  // namespace

std::string WriteProject(const Project& project) {
  std::string out;
  out.append("[").append(kHeader).append("]\n");
  out.append(Format("%s = %d.%d\n", kFileVersionKey.data(), kMajorVersion, kMinorVersion));
  AppendKeyValue(out, kProjectNameKey, project.name);
  out.push_back('\n');
  for (const Module& module : project.modules) {
    out.append("[").append(module.path).append("]\n");
    for (const ModuleLanguage& language : module.languages) {
      out.push_back('\n');
      if (language.isDefault) {
        AppendKeyValue(out, kDefaultLanguageKey, language.name);
      } else {
        out.append(kLanguageKey).append(" = ").append(language.name).append(", ");
        out.append(language.outputFile).push_back('\n');
      }
      for (const TextEntry& entry : language.Entries()) {
        out.append(entry.key).append(" = \"").append(entry.text).append("\"\n");
      }
    }
    out.push_back('\n');
  }
  return out;
}

bool ReadProject(Project& project, std::string_view text, ProjectReadReason& reason) {
  project.Clear();
  reason = kProjectReadOk;
  ProjectReader reader(project);
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    if (!reader.ReadLine(text.substr(pos, end - pos), reason)) return false;
    pos = end + 1;
  }
  return reader.Finish(reason);
}

std::string DecodeProjectBytes(std::string bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (std::string_view(bytes).substr(0, kBom.size()) == kBom) bytes.erase(0, kBom.size());
  if (IsValidUtf8(bytes)) return bytes;
  return Windows1252ToUtf8(bytes);
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
    default:
      text += MessageText(kMsgUnknownFileFormat);
      break;
  }
  return text;
}

ProjectLoadResult LoadProjectFile(Project& project, const std::string& path) {
  ProjectLoadResult result;
  std::string bytes;
  if (const int error = ReadWholeFile(path, bytes)) {
    result.fileError = error;
    project.Clear();
    project.name = MessageText(kMsgNewProject);
    if (error == ENOENT || error == ENOTDIR) {
      result.message = ReplaceAll(MessageText(kMsgFileNotFound), "%1", path);
    } else {
      result.message = SystemErrorText(error, path);
    }
    return result;
  }
  const std::string text = DecodeProjectBytes(std::move(bytes));
  if (!ReadProject(project, text, result.reason)) {
    project.Clear();
    project.name = MessageText(kMsgNewProject);
    result.message = ProjectReadFailureText(FileNameOf(path), result.reason);
    return result;
  }
  result.ok = true;
  return result;
}

int SaveProjectFile(const Project& project, const std::string& path) {
  return WriteFileAtomically(path, WriteProject(project));
}

}  // namespace ulk
