// The system languages list, from the platform's locale table.
#include "translator/resources/iso_language_list.h"

#include "platform/locales.h"
#include "platform/text.h"

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

std::string IsoLanguageList::LocaleCodeOf(std::string_view name) const {
  const auto found = names_.find(name);
  return found == names_.end() ? std::string() : found->second;
}

}  // namespace ulk
