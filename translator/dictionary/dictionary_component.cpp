// Loading and calling the dictionary component.
#include "translator/dictionary/dictionary_component.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "platform/files.h"
#include "platform/stored_text.h"
#include "platform/version_info.h"

namespace ulk {
namespace {

template <typename Fn>
bool Resolve(void* library, const char* name, Fn& function) {
  function = reinterpret_cast<Fn>(dlsym(library, name));
  return function != nullptr;
}

std::string Copy(const char* text) {
  return text ? text : "";
}

// A C string cannot carry a NUL: a value holding one would reach the
// component cut short.
bool Passable(std::initializer_list<const std::string*> values) {
  for (const std::string* value : values) {
    if (value->find('\0') != std::string::npos) return false;
  }
  return true;
}

}  // namespace

bool IsAcceptedComponentVersion(const std::string& fileVersion) {
  int parts[4] = {-1, -1, -1, -1};
  char rest = 0;
  if (std::sscanf(fileVersion.c_str(), "%d, %d, %d, %d%c", &parts[0], &parts[1], &parts[2],
                  &parts[3], &rest) != 4) {
    return false;
  }
  return parts[0] == 0 && parts[1] == 0 && parts[2] == 0;
}

std::vector<std::string> DictionaryComponent::DefaultCandidates() {
  std::vector<std::string> candidates;
  char self[4096] = {};
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length > 0) {
    candidates.push_back(
        std::string(FolderOf(std::string(self, static_cast<std::size_t>(length)))) + "/" +
        kLibraryName);
  }
  candidates.push_back(kLibraryName);
  return candidates;
}

bool DictionaryComponent::Load(const std::vector<std::string>& candidates) {
  Unload();
  for (const std::string& candidate : candidates) {
    library_ = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library_) break;
  }
  if (!library_) return false;
  if (!Bind()) {
    Unload();
    return false;
  }
  // The version of the file actually loaded.
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(open_), &info) || !info.dli_fname ||
      !IsAcceptedComponentVersion(FileVersionInfo(info.dli_fname).GetField(kFieldFileVersion))) {
    Unload();
    return false;
  }
  return true;
}

bool DictionaryComponent::Bind() {
  // All thirteen, in this order; one missing refuses the component.
  return Resolve(library_, "DicOpen", open_) && Resolve(library_, "DicClose", close_) &&
         Resolve(library_, "DicIsOpened", isOpened_) && Resolve(library_, "DicSet", set_) &&
         Resolve(library_, "DicSetEx", setEx_) && Resolve(library_, "DicFind", find_) &&
         Resolve(library_, "DicGetFirst", getFirst_) && Resolve(library_, "DicGetNext", getNext_) &&
         Resolve(library_, "DicGetFirstLanguage", getFirstLanguage_) &&
         Resolve(library_, "DicGetNextLanguage", getNextLanguage_) &&
         Resolve(library_, "DicGetFirstDBLanguage", getFirstDbLanguage_) &&
         Resolve(library_, "DicGetNextDBLanguage", getNextDbLanguage_) &&
         Resolve(library_, "DicGetLanguageId", getLanguageId_) && BindOptional();
}

bool DictionaryComponent::BindOptional() {
  // Both or neither: an index that cannot be prepared is no search.
  if (!Resolve(library_, "DicFuzzyPrepare", fuzzyPrepare_) ||
      !Resolve(library_, "DicFuzzyFind", fuzzyFind_)) {
    fuzzyPrepare_ = nullptr;
    fuzzyFind_ = nullptr;
  }
  return true;
}

bool DictionaryComponent::PrepareSimilarTexts(
    const std::function<bool(std::int64_t, std::int64_t)>& progress) {
  if (!library_ || !fuzzyPrepare_ || !isOpened_()) return false;
  const ProgressFn report = [](void* context, long long done, long long total) {
    const auto* callback = static_cast<const std::function<bool(std::int64_t, std::int64_t)>*>(context);
    return *callback && !(*callback)(done, total) ? 0 : 1;
  };
  return fuzzyPrepare_(report, const_cast<std::function<bool(std::int64_t, std::int64_t)>*>(&progress)) != 0;
}

std::vector<DictionaryMatch> DictionaryComponent::FindSimilar(
    const std::string& kind, const std::string& sourceLanguage, const std::string& text,
    const std::string& targetLanguage, int minimum, int maxMatches) {
  std::vector<DictionaryMatch> matches;
  if (!library_ || !fuzzyFind_ || maxMatches <= 0 ||
      !Passable({&kind, &sourceLanguage, &text, &targetLanguage})) {
    return matches;
  }
  const MatchFn collect = [](void* context, int score, const char* type, const char* source,
                             const char* translation) {
    auto* found = static_cast<std::vector<DictionaryMatch>*>(context);
    DictionaryMatch match{score, Copy(type), Copy(source), Copy(translation)};
    if (score < 0 || score > 100 || CheckStoredText(match.type) || CheckStoredText(match.source) ||
        CheckStoredText(match.translation) || match.translation.empty()) {
      return;
    }
    found->push_back(std::move(match));
  };
  fuzzyFind_(kind.c_str(), sourceLanguage.c_str(), text.c_str(), targetLanguage.c_str(), minimum,
             maxMatches, collect, &matches);
  // Whatever a component hands over, no more than asked and best first.
  std::stable_sort(matches.begin(), matches.end(),
                   [](const DictionaryMatch& a, const DictionaryMatch& b) { return a.score > b.score; });
  if (matches.size() > static_cast<std::size_t>(maxMatches)) {
    matches.resize(static_cast<std::size_t>(maxMatches));
  }
  return matches;
}

void DictionaryComponent::Unload() {
  if (!library_) return;
  if (close_) close_();
  dlclose(library_);
  library_ = nullptr;
  open_ = nullptr;
  close_ = nullptr;
  fuzzyPrepare_ = nullptr;
  fuzzyFind_ = nullptr;
  path_.clear();
  title_.clear();
  readOnly_ = true;
}

bool DictionaryComponent::Open(const std::string& path) {
  if (!library_) return false;
  path_.clear();
  title_.clear();
  // The component closes the dictionary it had before trying another.
  readOnly_ = true;
  if (!Passable({&path})) return false;
  const bool readOnly = IsReadOnlyFile(path);
  if (!open_(path.c_str())) return false;
  readOnly_ = readOnly;
  path_ = path;
  title_ = std::string(FileNameOf(path));
  return true;
}

void DictionaryComponent::Close() {
  path_.clear();
  title_.clear();
  readOnly_ = true;
  if (library_) close_();
}

bool DictionaryComponent::IsOpened() const {
  return library_ && isOpened_() != 0;
}

bool DictionaryComponent::Set(const std::string& kind, const std::string& sourceLanguage,
                              const std::string& sourceText, const std::string& targetLanguage,
                              const std::string& targetText) {
  return library_ &&
         Passable({&kind, &sourceLanguage, &sourceText, &targetLanguage, &targetText}) &&
         set_(kind.c_str(), sourceLanguage.c_str(), sourceText.c_str(), targetLanguage.c_str(),
              targetText.c_str()) != 0;
}

bool DictionaryComponent::Find(const std::string& kind, const std::string& sourceLanguage,
                               const std::string& sourceText) {
  return library_ && Passable({&kind, &sourceLanguage, &sourceText}) &&
         find_(kind.c_str(), sourceLanguage.c_str(), sourceText.c_str()) != 0;
}

std::string DictionaryComponent::Admitted(const char* text) {
  for (std::string copy = Copy(text);; copy = Copy(getNext_())) {
    if (copy.empty() || !CheckStoredText(copy)) return copy;
  }
}

std::string DictionaryComponent::GetFirst(const std::string& targetLanguage) {
  if (!library_ || !Passable({&targetLanguage})) return {};
  return Admitted(getFirst_(targetLanguage.c_str()));
}

std::string DictionaryComponent::GetNext() {
  return library_ ? Admitted(getNext_()) : std::string();
}

}  // namespace ulk
