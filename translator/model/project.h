// The translation project in memory: a project names module files; each
// module holds its original language and its target languages; each language
// holds keyed text entries. All four are plain values: copying one copies
// everything below it.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "translator/model/entry_index.h"
#include "translator/resources/dialog_geometry.h"

namespace ulk {

class CanonicalPaths;

// How the text of a default-language entry was last translated.
enum TranslationStatus : std::int32_t {
  kStatusUnchanged = 0,
  kStatusNewOrChanged = 1,
  kStatusByHand = 2,
  kStatusDictionaryOne = 3,
  kStatusDictionarySeveral = 4,
};

// How far the translation of a target-language entry has been checked.
enum ReviewState : std::int32_t {
  kReviewTranslated = 0,  // translated; nobody asked for a look
  kReviewNeeded = 1,      // por revisar: filled by a tool, or its original moved
  kReviewDone = 2,        // revisado
};
inline constexpr std::int32_t kReviewStateCount = 3;

struct TextEntry {
  std::string key;
  std::string text;  // escaped (see text_escape.h)
  std::int32_t status = kStatusUnchanged;  // default language
  std::int32_t review = kReviewTranslated;  // target languages
  std::string note;                         // escaped, as the text; any language

  // An entry that holds nothing but its key, and whether this is one: what
  // an absent entry would say.
  static TextEntry Blank(std::string_view key);
  bool IsBlank() const { return text.empty() && note.empty() && review == kReviewTranslated; }

  void Clear();
  bool operator==(const TextEntry&) const = default;
};

// Language validation results.
enum LanguageError { kLanguageOk = 0, kLanguageNameEmpty = 1, kLanguageOutputEmpty = 2 };

class ModuleLanguage {
 public:
  std::string name;
  std::string outputFile;  // always empty for the default language
  bool isDefault = false;
  int errorCode = kLanguageOk;
  // The dialogs this target language lays out otherwise than the module,
  // by upper-case resource key ("DL_N_100"); a dialog is absent, never
  // empty, when nothing of it differs. Always empty in the default language.
  std::map<std::string, DialogGeometry, std::less<>> dialogGeometry;

  ModuleLanguage() = default;
  ModuleLanguage(std::string languageName, std::string output, bool isDefaultLanguage);
  ModuleLanguage(const ModuleLanguage& other);
  ModuleLanguage& operator=(const ModuleLanguage& other);
  ModuleLanguage(ModuleLanguage&&) noexcept = default;
  ModuleLanguage& operator=(ModuleLanguage&&) noexcept = default;

  void Clear();

  // Entries in insertion order. Lookups by key go through an index.
  const std::list<TextEntry>& Entries() const { return entries_; }
  std::size_t EntryCount() const { return entries_.size(); }

  // The entry stored under `key`, or null. The key of a returned entry must
  // not be changed in place: it is the index's key.
  TextEntry* FindEntry(std::string_view key);
  const TextEntry* FindEntry(std::string_view key) const;
  // FindEntry for keys asked in (roughly) list order: `cursor` starts at
  // Entries().begin() and moves past each entry found, so that a key that
  // is the next entry needs no index lookup.
  using Cursor = std::list<TextEntry>::const_iterator;
  const TextEntry* FindEntryAfter(std::string_view key, Cursor& cursor) const;

  // Overwrites the entry with the same key with a copy of `entry` (text,
  // status, review state and note), or appends one; returns the entry now
  // stored under that key.
  TextEntry& SetEntry(const TextEntry& entry);
  // The same for text and status only: an existing entry keeps its review
  // state and note, a new one has none.
  TextEntry& SetEntry(std::string_view key, std::string_view text, std::int32_t status = 0);

  bool RemoveEntry(std::string_view key);
  // Removes every entry for which `pred` is true, keeping the order of the
  // rest; returns how many went. One pass, whatever the number removed.
  template <typename Pred>
  std::size_t RemoveEntriesIf(Pred pred);

  // Trims the name (empty: kLanguageNameEmpty); clears the output file of a
  // default language; else trims it (empty: kLanguageOutputEmpty).
  bool Validate();

 private:
  void RebuildIndex();

  std::list<TextEntry> entries_;
  // Positions in the list, whose nodes never move.
  EntryIndex index_;
};

template <typename Pred>
std::size_t ModuleLanguage::RemoveEntriesIf(Pred pred) {
  std::size_t removed = 0;
  for (auto it = entries_.begin(); it != entries_.end();) {
    if (pred(static_cast<const TextEntry&>(*it))) {
      index_.Erase(it->key);
      it = entries_.erase(it);
      ++removed;
    } else {
      ++it;
    }
  }
  return removed;
}

// Module validation results.
enum ModuleError {
  kModuleOk = 0,
  kModuleNoDefault = 1,
  kModuleSeveralDefaults = 2,
  kModuleBadLanguage = 3,
};

class Module {
 public:
  std::string path;
  // The project file named it relative to its folder: it is written back
  // relative, wherever it leads.
  bool pathWasRelative = false;
  std::int32_t id = 0;
  int errorCode = kModuleOk;
  // In order of addition, which is the order of the project file.
  std::list<ModuleLanguage> languages;

  void Clear();

  ModuleLanguage* FindLanguage(std::string_view name);
  const ModuleLanguage* FindLanguage(std::string_view name) const;
  ModuleLanguage* DefaultLanguage();
  const ModuleLanguage* DefaultLanguage() const;
  std::string DefaultLanguageName() const;
  // Appends a copy, whatever its name; returns the stored copy.
  ModuleLanguage& AddLanguage(const ModuleLanguage& language);
  bool RemoveLanguage(std::string_view name);
  std::size_t LanguageCount() const { return languages.size(); }

  // Appends the language of the module file's version information (for a
  // file without one, the name of language 0) as the default language;
  // null when the path or that name is empty.
  ModuleLanguage* AddOriginalLanguage();

  std::string_view FileName() const;
  std::string_view Folder() const;

  // The distinct resource keys of the default language's entries whose key
  // starts with `prefix` ("ST_", ...), in entry order.
  void ResourceNamesOfKind(std::string_view prefix, std::vector<std::string>& list) const;

  bool Validate();
};

class Project {
 public:
  std::string name;
  std::list<Module> modules;
  std::int32_t nextModuleId = 1;
  // The project file (absolute) and its folder (canonical); both empty for
  // a project that has no file yet. Relative module and output paths are
  // relative to that folder (to the current one while there is none).
  std::string filePath;
  std::string folder;

  void Clear();
  // Names the project's file. When the folder changes, the relative output
  // paths are made absolute first, so that they still name the same files.
  void SetFilePath(const std::string& path);
  // `path` made absolute against the project's folder, in its normal
  // lexical form ("a/../b" is "b"); no link is resolved.
  std::string ResolvePath(std::string_view path) const;
  std::size_t ModuleCount() const { return modules.size(); }

  Module* FindModuleById(std::int32_t id);
  // Compares the canonical form of `path` (or, without one, the trimmed
  // text) exactly with each module's path.
  Module* FindModuleByPath(std::string_view path);
  const Module* FindModuleByPath(std::string_view path) const;

  // Canonicalises the module's path in place; when it has no canonical form
  // and `requireExistingFile` is set, adds nothing and returns null. Else
  // gives it the next id and appends a copy. No duplicate check. `paths`,
  // when given, is what resolves the path (it keeps the last folder's).
  Module* AddModule(Module& module, bool requireExistingFile, CanonicalPaths* paths = nullptr);
  bool RemoveModule(std::string_view path);
};

// The canonical form of a module path: trimmed, and for an existing file its
// real path; the trimmed text when it names no existing file.
std::string CanonicalModulePath(std::string_view path);

}  // namespace ulk
