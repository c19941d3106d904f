// Operations of the project value types.
#include "translator/model/project.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/version_info.h"
#include "translator/resources/resource_kind.h"

namespace ulk {

TextEntry TextEntry::Blank(std::string_view key) {
  TextEntry entry;
  entry.key.assign(key);
  return entry;
}

void TextEntry::Clear() {
  key.clear();
  text.clear();
  status = kStatusUnchanged;
  review = kReviewTranslated;
  note.clear();
}

ModuleLanguage::ModuleLanguage(std::string languageName, std::string output, bool isDefaultLanguage)
    : name(std::move(languageName)), outputFile(std::move(output)), isDefault(isDefaultLanguage) {}

ModuleLanguage::ModuleLanguage(const ModuleLanguage& other)
    : name(other.name),
      outputFile(other.outputFile),
      isDefault(other.isDefault),
      errorCode(other.errorCode),
      dialogGeometry(other.dialogGeometry),
      entries_(other.entries_) {
  RebuildIndex();
}

ModuleLanguage& ModuleLanguage::operator=(const ModuleLanguage& other) {
  if (this != &other) {
    ModuleLanguage copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void ModuleLanguage::RebuildIndex() {
  index_.Clear();
  index_.Reserve(entries_.size());
  for (auto it = entries_.begin(); it != entries_.end(); ++it) index_.Insert(it);
}

void ModuleLanguage::Clear() {
  name.clear();
  outputFile.clear();
  isDefault = false;
  errorCode = kLanguageOk;
  dialogGeometry.clear();
  index_.Clear();
  entries_.clear();
}

TextEntry* ModuleLanguage::FindEntry(std::string_view key) {
  EntryIndex::Position found;
  return index_.Find(key, found) ? &*found : nullptr;
}

const TextEntry* ModuleLanguage::FindEntry(std::string_view key) const {
  EntryIndex::Position found;
  return index_.Find(key, found) ? &*found : nullptr;
}

const TextEntry* ModuleLanguage::FindEntryAfter(std::string_view key, Cursor& cursor) const {
  if (cursor != entries_.end() && cursor->key == key) return &*cursor++;
  EntryIndex::Position found;
  if (!index_.Find(key, found)) return nullptr;
  cursor = std::next(Cursor(found));
  return &*found;
}

TextEntry& ModuleLanguage::SetEntry(const TextEntry& entry) {
  TextEntry& stored = SetEntry(entry.key, entry.text, entry.status);
  stored.review = entry.review;
  stored.note = entry.note;
  return stored;
}

TextEntry& ModuleLanguage::SetEntry(std::string_view key, std::string_view text,
                                    std::int32_t status) {
  const std::uint64_t hash = EntryIndex::Hash(key);
  EntryIndex::Position found;
  if (index_.Find(key, hash, found)) {
    found->text.assign(text);
    found->status = status;
    return *found;
  }
  TextEntry& added = entries_.emplace_back(TextEntry::Blank(key));
  added.text.assign(text);
  added.status = status;
  const auto it = std::prev(entries_.end());
  index_.Insert(it, hash);
  return *it;
}

bool ModuleLanguage::RemoveEntry(std::string_view key) {
  EntryIndex::Position found;
  if (!index_.Find(key, found)) return false;
  index_.Erase(key);  // before the node, whose key it reads, goes
  entries_.erase(found);
  if (entries_.empty()) index_.Clear();
  return true;
}

bool ModuleLanguage::Validate() {
  name = Trim(name);
  if (name.empty()) {
    errorCode = kLanguageNameEmpty;
    return false;
  }
  if (isDefault) {
    outputFile.clear();
    errorCode = kLanguageOk;
    return true;
  }
  outputFile = Trim(outputFile);
  if (outputFile.empty()) {
    errorCode = kLanguageOutputEmpty;
    return false;
  }
  errorCode = kLanguageOk;
  return true;
}

void Module::Clear() {
  path.clear();
  pathWasRelative = false;
  id = 0;
  errorCode = kModuleOk;
  languages.clear();
}

ModuleLanguage* Module::FindLanguage(std::string_view languageName) {
  for (auto& language : languages) {
    if (language.name == languageName) return &language;
  }
  return nullptr;
}

const ModuleLanguage* Module::FindLanguage(std::string_view languageName) const {
  return const_cast<Module*>(this)->FindLanguage(languageName);
}

ModuleLanguage* Module::DefaultLanguage() {
  for (auto& language : languages) {
    if (language.isDefault) return &language;
  }
  return nullptr;
}

const ModuleLanguage* Module::DefaultLanguage() const {
  return const_cast<Module*>(this)->DefaultLanguage();
}

std::string Module::DefaultLanguageName() const {
  const ModuleLanguage* language = DefaultLanguage();
  return language ? language->name : std::string();
}

ModuleLanguage& Module::AddLanguage(const ModuleLanguage& language) {
  languages.push_back(language);
  return languages.back();
}

bool Module::RemoveLanguage(std::string_view languageName) {
  for (auto it = languages.begin(); it != languages.end(); ++it) {
    if (it->name == languageName) {
      languages.erase(it);
      return true;
    }
  }
  return false;
}

ModuleLanguage* Module::AddOriginalLanguage() {
  if (path.empty()) return nullptr;
  const FileVersionInfo info(path);
  const std::string languageName = info.LanguageName();
  if (languageName.empty()) return nullptr;
  return &AddLanguage(ModuleLanguage(languageName, {}, true));
}

std::string_view Module::FileName() const {
  return FileNameOf(path);
}

std::string_view Module::Folder() const {
  return FolderOf(path);
}

void Module::ResourceNamesOfKind(std::string_view prefix, std::vector<std::string>& list) const {
  list.clear();
  const ModuleLanguage* language = DefaultLanguage();
  if (!language) return;
  std::unordered_set<std::string_view> seen;
  for (const TextEntry& entry : language->Entries()) {
    if (std::string_view(entry.key).substr(0, 3) != prefix) continue;
    const std::string_view resourceKey = ResourceKeyOf(entry.key);
    if (seen.insert(resourceKey).second) list.emplace_back(resourceKey);
  }
}

bool Module::Validate() {
  bool defaultFound = false;
  for (auto& language : languages) {
    if (language.isDefault) {
      if (defaultFound) {
        errorCode = kModuleSeveralDefaults;
        return false;
      }
      defaultFound = true;
    }
    if (!language.Validate()) {
      errorCode = kModuleBadLanguage;
      return false;
    }
  }
  if (!defaultFound) {
    errorCode = kModuleNoDefault;
    return false;
  }
  errorCode = kModuleOk;
  return true;
}

std::string CanonicalModulePath(std::string_view path) {
  if (auto canonical = CanonicalPath(path)) return *std::move(canonical);
  return Trim(path);
}

void Project::Clear() {
  name.clear();
  modules.clear();
  nextModuleId = 1;
  filePath.clear();
  folder.clear();
}

void Project::SetFilePath(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path absolute = fs::absolute(fs::path(path), error).lexically_normal();
  const fs::path parent = absolute.parent_path();
  fs::path canonical = fs::canonical(parent, error);
  if (error) canonical = parent;
  if (!folder.empty() && canonical.string() != folder) {
    for (Module& module : modules) {
      for (ModuleLanguage& language : module.languages) {
        if (!language.outputFile.empty()) language.outputFile = ResolvePath(language.outputFile);
      }
    }
  }
  filePath = absolute.string();
  folder = canonical.string();
}

std::string Project::ResolvePath(std::string_view path) const {
  namespace fs = std::filesystem;
  const fs::path given{std::string(Trim(path))};
  if (given.is_absolute()) return given.lexically_normal().string();
  std::error_code error;
  const fs::path base = folder.empty() ? fs::current_path(error) : fs::path(folder);
  return (base / given).lexically_normal().string();
}

Module* Project::FindModuleById(std::int32_t moduleId) {
  for (auto& module : modules) {
    if (module.id == moduleId) return &module;
  }
  return nullptr;
}

Module* Project::FindModuleByPath(std::string_view modulePath) {
  const std::string canonical = CanonicalModulePath(modulePath);
  for (auto& module : modules) {
    if (module.path == canonical) return &module;
  }
  return nullptr;
}

const Module* Project::FindModuleByPath(std::string_view modulePath) const {
  return const_cast<Project*>(this)->FindModuleByPath(modulePath);
}

Module* Project::AddModule(Module& module, bool requireExistingFile, CanonicalPaths* paths) {
  if (auto canonical = paths ? paths->Of(module.path) : CanonicalPath(module.path)) {
    module.path = *std::move(canonical);
  } else if (requireExistingFile) {
    return nullptr;
  } else {
    module.path = Trim(module.path);
  }
  module.id = nextModuleId++;
  modules.push_back(module);
  return &modules.back();
}

bool Project::RemoveModule(std::string_view modulePath) {
  const std::string canonical = CanonicalModulePath(modulePath);
  for (auto it = modules.begin(); it != modules.end(); ++it) {
    if (it->path == canonical) {
      modules.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace ulk
