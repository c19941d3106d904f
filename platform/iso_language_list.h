// The system's languages by display name: name -> locale code (eight upper-
// case hexadecimal digits), for the languages a user can pick as targets and
// for the locale a translated version resource moves to.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace ulk {

class IsoLanguageList {
 public:
  // Built from the system's locales; a later locale with the same display
  // name replaces the earlier one.
  IsoLanguageList();

  // Iteration in the map's own order; an empty string ends it.
  std::string FirstName();
  std::string NextName();
  // The locale code of a display name, or "" when the name is unknown.
  std::string LocaleCodeOf(std::string_view name) const;

  // The BCP 47 tag of a display name ("Alemán (Alemania)" -> "de-DE"), or ""
  // when the name is unknown.
  std::string LanguageTagOf(std::string_view name) const;
  // The display name whose tag is `tag` (compared without regard to case),
  // or "" when no name has it.
  std::string NameOfTag(std::string_view tag) const;

  const std::map<std::string, std::string, std::less<>>& Names() const { return names_; }

 private:
  std::map<std::string, std::string, std::less<>> names_;
  std::map<std::string, std::string, std::less<>>::const_iterator cursor_;
};

}  // namespace ulk
