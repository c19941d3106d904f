// The system languages list, from the platform's locale table.
#include "platform/iso_language_list.h"

#include <charconv>
#include <system_error>

#include "platform/locales.h"
#include "platform/text.h"

namespace ulk {
namespace {

// A locale code's identifier: eight hexadecimal digits.
bool ReadCode(std::string_view code, std::uint32_t& lcid) {
  const auto [end, error] = std::from_chars(code.data(), code.data() + code.size(), lcid, 16);
  return error == std::errc() && end == code.data() + code.size() && !code.empty();
}

}  // namespace

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
  return code.empty() || !ReadCode(code, lcid) ? std::string() : ulk::LanguageTagOf(lcid);
}

std::string IsoLanguageList::NameOfTag(std::string_view tag) const {
  const std::string wanted = ToUpperUtf8(tag);
  if (wanted.empty()) return {};
  for (const auto& [name, code] : names_) {
    std::uint32_t lcid = 0;
    if (ReadCode(code, lcid) && ToUpperUtf8(ulk::LanguageTagOf(lcid)) == wanted) return name;
  }
  return {};
}

std::string IsoLanguageList::LocaleCodeOf(std::string_view name) const {
  const auto found = names_.find(name);
  return found == names_.end() ? std::string() : found->second;
}

}  // namespace ulk
