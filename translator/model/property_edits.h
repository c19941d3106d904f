// The property dialogs without their windows: the rows of their lists, the
// languages their combo boxes offer, the default output file, and the
// checks made when the user accepts. The dialogs edit copies; these work on
// the copies and never show anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "translator/model/project.h"

namespace ulk {

// Where a target language's module goes unless the user says otherwise: a
// folder named after the language beside the module file, written with the
// path's own separator ("/home/a/prog.exe", "English" ->
// "/home/a/English/prog.exe"; "C:\app\prog.exe" -> "C:\app\English\prog.exe").
// A path without a folder gets "English/prog.exe". "" when either is empty.
std::string DefaultOutputFile(std::string_view modulePath, std::string_view languageName);

// Sorts names as a Spanish reader looks for them (accents and case do not
// move a name away from its letter) and drops repeated names.
void SortLanguageNames(std::vector<std::string>& names);

// The system's languages (IsoLanguageList), read once.
const std::vector<std::string>& SystemLanguageNames();

// The original-language choices of a module: user languages, then system
// languages, each only when the module has no language of that name, then
// the current original language's name; sorted.
std::vector<std::string> OriginalLanguageChoices(const Module& module,
                                                 const std::vector<std::string>& userLanguages,
                                                 const std::vector<std::string>& systemLanguages);
// Selecting an original language: the module's original language is
// renamed, or one of that name is added when it has none.
void SelectOriginalLanguage(Module& module, std::string_view name);

// The choices for a target language now named `current` (empty for a new
// one): user languages, then system languages, then `current`; sorted.
// Names of the module's other languages are left out, so that no module
// gets two languages of one name.
std::vector<std::string> TargetLanguageChoices(const Module& module, std::string_view current,
                                               const std::vector<std::string>& userLanguages,
                                               const std::vector<std::string>& systemLanguages);

// The project dialog's rows: one per module, in project order.
struct ModuleRow {
  std::int32_t id = 0;
  std::string fileName;
  std::string language;  // the original language's name
  std::string folder;
};
std::vector<ModuleRow> ProjectModuleRows(const Project& project);

// The module dialog's rows: one per target language, in module order; the
// output file split after its last separator (the folder keeps it).
struct TargetLanguageRow {
  std::string name;
  std::string fileName;
  std::string folder;
};
std::vector<TargetLanguageRow> TargetLanguageRows(const Module& module);
std::size_t TargetLanguageCount(const Module& module);

// The user languages dialog's rows: the user's languages (which may be
// deleted) and, when asked for, the system's (which may not); each name
// once, a user's language first; sorted.
struct UserLanguageRow {
  std::string name;
  bool deletable = false;
};
std::vector<UserLanguageRow> UserLanguageRows(const std::vector<std::string>& userLanguages,
                                              const std::vector<std::string>& systemLanguages,
                                              bool showSystem);

// Whether the settings can keep a language name: not empty, at most 259
// characters, no "/" (the settings' group separator), no "," (the end of
// the name in the project file), no control characters, not a name made of
// dots only.
inline constexpr std::size_t kMaxLanguageNameChars = 259;
bool IsStorableLanguageName(std::string_view name);

// Validates the module dialog's copy (Module::Validate); on failure
// `message` is what the dialog shows: 5013, 5014, or 5015 followed by a
// line for every language with a name that fails its own validation.
bool ValidateModuleProperties(Module& module, std::string& message);

// The message of a target language's failed validation: 5008 for a missing
// name, 5009 for a missing output file; 0 when it is valid.
int LanguageValidationMessage(int languageError);

// The folder a file dialog starts in for `path`: the path's folder, or the
// nearest folder above it that exists; "" when none does.
std::string NearestExistingFolder(std::string_view path);

}  // namespace ulk
