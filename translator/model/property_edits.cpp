// The property dialogs' lists, choices and checks.
#include "translator/model/property_edits.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "platform/files.h"
#include "platform/text.h"
#include "translator/model/messages.h"
#include "platform/iso_language_list.h"

namespace ulk {
namespace {

constexpr std::string_view kSeparators = "/\\";

struct CollatorCloser {
  void operator()(UCollator* collator) const { ucol_close(collator); }
};

// Spanish collation; null when ICU has none, and byte order is used.
UCollator* SpanishCollator() {
  static const std::unique_ptr<UCollator, CollatorCloser> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* made = ucol_open("es", &status);
    if (U_FAILURE(status)) {
      if (made) ucol_close(made);
      made = nullptr;
    }
    return std::unique_ptr<UCollator, CollatorCloser>(made);
  }();
  return collator.get();
}

bool NameBefore(const std::string& a, const std::string& b) {
  if (UCollator* collator = SpanishCollator()) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order =
        ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()), &status);
    // Names the collation holds equal still need one order.
    if (U_SUCCESS(status) && order != UCOL_EQUAL) return order == UCOL_LESS;
  }
  return a < b;
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::string DefaultOutputFile(std::string_view modulePath, std::string_view languageName) {
  if (modulePath.empty() || languageName.empty()) return {};
  const std::size_t last = modulePath.find_last_of(kSeparators);
  if (last == std::string_view::npos) {
    return std::string(languageName) + "/" + std::string(modulePath);
  }
  std::string out(modulePath.substr(0, last + 1));
  out.append(languageName);
  out.push_back(modulePath[last]);
  out.append(modulePath.substr(last + 1));
  return out;
}

void SortLanguageNames(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end(), NameBefore);
  names.erase(std::unique(names.begin(), names.end()), names.end());
}

const std::vector<std::string>& SystemLanguageNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    const IsoLanguageList languages;
    for (const auto& [name, code] : languages.Names()) list.push_back(name);
    return list;
  }();
  return names;
}

std::vector<std::string> OriginalLanguageChoices(const Module& module,
                                                 const std::vector<std::string>& userLanguages,
                                                 const std::vector<std::string>& systemLanguages) {
  std::vector<std::string> choices;
  for (const auto* list : {&userLanguages, &systemLanguages}) {
    for (const std::string& name : *list) {
      if (!module.FindLanguage(name)) choices.push_back(name);
    }
  }
  const std::string current = module.DefaultLanguageName();
  if (!current.empty()) choices.push_back(current);
  SortLanguageNames(choices);
  return choices;
}

void SelectOriginalLanguage(Module& module, std::string_view name) {
  if (ModuleLanguage* original = module.DefaultLanguage()) {
    original->name = std::string(name);
  } else {
    module.AddLanguage(ModuleLanguage(std::string(name), {}, true));
  }
}

std::vector<std::string> TargetLanguageChoices(const Module& module, std::string_view current,
                                               const std::vector<std::string>& userLanguages,
                                               const std::vector<std::string>& systemLanguages) {
  std::vector<std::string> choices;
  for (const auto* list : {&userLanguages, &systemLanguages}) {
    for (const std::string& name : *list) {
      if (name == current || !module.FindLanguage(name)) choices.push_back(name);
    }
  }
  if (!current.empty()) choices.emplace_back(current);
  SortLanguageNames(choices);
  return choices;
}

std::vector<ModuleRow> ProjectModuleRows(const Project& project) {
  std::vector<ModuleRow> rows;
  for (const Module& module : project.modules) {
    rows.push_back({module.id, std::string(module.FileName()), module.DefaultLanguageName(),
                    std::string(module.Folder())});
  }
  return rows;
}

std::vector<TargetLanguageRow> TargetLanguageRows(const Module& module) {
  std::vector<TargetLanguageRow> rows;
  for (const ModuleLanguage& language : module.languages) {
    if (language.isDefault) continue;
    const std::string& output = language.outputFile;
    const std::size_t last = output.find_last_of(kSeparators);
    const std::size_t split = last == std::string::npos ? 0 : last + 1;
    rows.push_back({language.name, output.substr(split), output.substr(0, split)});
  }
  return rows;
}

std::size_t TargetLanguageCount(const Module& module) {
  return static_cast<std::size_t>(
      std::count_if(module.languages.begin(), module.languages.end(),
                    [](const ModuleLanguage& language) { return !language.isDefault; }));
}

std::vector<UserLanguageRow> UserLanguageRows(const std::vector<std::string>& userLanguages,
                                              const std::vector<std::string>& systemLanguages,
                                              bool showSystem) {
  std::vector<std::string> names = userLanguages;
  SortLanguageNames(names);
  std::vector<UserLanguageRow> rows;
  for (const std::string& name : names) rows.push_back({name, true});
  if (showSystem) {
    for (const std::string& name : systemLanguages) {
      if (!Contains(names, name)) rows.push_back({name, false});
    }
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const UserLanguageRow& a, const UserLanguageRow& b) {
                     return NameBefore(a.name, b.name);
                   });
  rows.erase(std::unique(rows.begin(), rows.end(),
                         [](const UserLanguageRow& a, const UserLanguageRow& b) {
                           return a.name == b.name;
                         }),
             rows.end());
  return rows;
}

bool IsStorableLanguageName(std::string_view name) {
  if (name.empty() || !IsValidUtf8(name) || CountChars(name) > kMaxLanguageNameChars) return false;
  if (name.find_first_not_of('.') == std::string_view::npos) return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    // A comma ends the name in the project file's language line.
    if (c == '/' || c == ',' || byte < 0x20 || byte == 0x7f) return false;
  }
  return true;
}

bool ValidateModuleProperties(Module& module, std::string& message) {
  message.clear();
  if (module.Validate()) return true;
  switch (module.errorCode) {
    case kModuleNoDefault:
      message = MessageText(kMsgModuleNeedsDefault);
      break;
    case kModuleSeveralDefaults:
      message = MessageText(kMsgModuleOneDefault);
      break;
    default:
      message = MessageText(kMsgBadLanguageData);
      // Validation stops at the first bad language: every one is asked, so
      // that the message names them all.
      for (ModuleLanguage& language : module.languages) {
        if (!language.Validate() && !language.name.empty()) message += "\n" + language.name;
      }
      break;
  }
  return false;
}

int LanguageValidationMessage(int languageError) {
  switch (languageError) {
    case kLanguageNameEmpty:
      return kMsgMustSelectLanguage;
    case kLanguageOutputEmpty:
      return kMsgMustEnterOutputFile;
    default:
      return 0;
  }
}

std::string NearestExistingFolder(std::string_view path) {
  namespace fs = std::filesystem;
  const std::string trimmed = Trim(path);
  if (trimmed.empty()) return {};
  std::error_code error;
  fs::path folder = fs::absolute(fs::path(trimmed), error).parent_path();
  while (!folder.empty()) {
    if (fs::is_directory(folder, error)) return folder.string();
    if (folder == folder.root_path()) break;
    folder = folder.parent_path();
  }
  return {};
}

}  // namespace ulk
