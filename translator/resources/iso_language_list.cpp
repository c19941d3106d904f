// The system languages list, from the platform's locale table.
#include "translator/resources/iso_language_list.h"

#include <unicode/uvernum.h>

#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "platform/locales.h"
#include "platform/text.h"
#include "translator/resources/version_codec.h"

namespace ulk {

IsoLanguageList::IsoLanguageList() {
  for (const std::uint32_t lcid : SystemLocaleIds()) {
    names_.insert_or_assign(LanguageNameOf(lcid), Format("%08X", lcid));
  }
  cursor_ = names_.end();
}

std::string IsoLanguageList::FirstName() {
  cursor_ = names_.begin();
  return NextName();
}

std::string IsoLanguageList::NextName() {
  if (cursor_ == names_.end()) return {};
  return (cursor_++)->first;
}

std::string IsoLanguageList::LanguageTagOf(std::string_view name) const {
  std::uint32_t lcid = 0;
  const std::string code = LocaleCodeOf(name);
  return code.empty() || !ReadHex(code, lcid) ? std::string() : ulk::LanguageTagOf(lcid);
}

std::string IsoLanguageList::NameOfTag(std::string_view tag) const {
  const std::string wanted = ToUpperUtf8(tag);
  if (wanted.empty()) return {};
  for (const auto& [name, code] : names_) {
    std::uint32_t lcid = 0;
    if (ReadHex(code, lcid) && ToUpperUtf8(ulk::LanguageTagOf(lcid)) == wanted) return name;
  }
  return {};
}

std::string IsoLanguageList::LocaleCodeOf(std::string_view name) const {
  const auto found = names_.find(name);
  return found == names_.end() ? std::string() : found->second;
}

namespace {

// The first line of the file; then a line "CODE<tab>name" per language.
constexpr std::string_view kCacheHeader = "ulk idiomas " U_ICU_VERSION "\n";

bool IsLocaleCodeText(std::string_view code) {
  if (code.size() != 8) return false;
  for (const char c : code) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

}  // namespace

std::string CachedLanguageCodes::DefaultPath() {
  const std::string file = "ulk/idiomas-" U_ICU_VERSION ".txt";
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/') {
    return std::string(cache) + "/" + file;
  }
  if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    return std::string(home) + "/.cache/" + file;
  }
  return {};
}

void CachedLanguageCodes::Prepare() {
  const std::lock_guard lock(mutex_);
  PrepareLocked();
}

void CachedLanguageCodes::PrepareLocked() {
  if (prepared_) return;
  prepared_ = true;
  if (!ReadFile()) AskTheSystem();
}

std::string CachedLanguageCodes::LocaleCodeOf(std::string_view name) {
  const std::lock_guard lock(mutex_);
  PrepareLocked();
  auto found = codes_.find(name);
  if (found == codes_.end() && !askedTheSystem_) {
    AskTheSystem();
    found = codes_.find(name);
  }
  return found == codes_.end() ? std::string() : found->second;
}

bool CachedLanguageCodes::AskedTheSystem() const {
  const std::lock_guard lock(mutex_);
  return askedTheSystem_;
}

bool CachedLanguageCodes::ReadFile() {
  if (path_.empty()) return false;
  std::string text;
  if (ReadWholeFile(path_, text) != 0) return false;
  std::string_view rest = text;
  if (rest.substr(0, kCacheHeader.size()) != kCacheHeader || !IsValidUtf8(rest)) return false;
  rest.remove_prefix(kCacheHeader.size());
  std::map<std::string, std::string, std::less<>> codes;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return false;  // cut short
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos || !IsLocaleCodeText(line.substr(0, tab)) ||
        tab + 1 == line.size()) {
      return false;
    }
    codes.insert_or_assign(std::string(line.substr(tab + 1)), std::string(line.substr(0, tab)));
  }
  if (codes.empty()) return false;
  codes_ = std::move(codes);
  return true;
}

void CachedLanguageCodes::AskTheSystem() {
  askedTheSystem_ = true;
  auto codes = IsoLanguageList().Names();
  // A file that says what the system says is left as it is.
  const bool fileCurrent = !codes_.empty() && codes == codes_;
  codes_ = std::move(codes);
  if (path_.empty() || fileCurrent) return;
  std::string text(kCacheHeader);
  for (const auto& [name, code] : codes_) {
    // A name that could not stand on a line of its own is left out: asked
    // for, it sends the next run to the system.
    if (name.empty() || name.find_first_of("\t\n") != std::string::npos) continue;
    text.append(code).append("\t").append(name).push_back('\n');
  }
  // A file that cannot be written only costs the next run the time.
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ignored);
  (void)WriteFileAtomically(path_, text);
}

}  // namespace ulk
