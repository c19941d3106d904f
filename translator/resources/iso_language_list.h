// The system's languages by display name: name -> locale code (eight upper-
// case hexadecimal digits), for the languages a user can pick as targets and
// for the locale a translated version resource moves to.
#pragma once

#include <map>
#include <mutex>
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

// The locale codes of the system's languages by display name, as
// IsoLanguageList gives them, kept between runs in a file of the user's cache
// folder: a run that finds them there need not start the system's locale
// library, which takes milliseconds. The file's name carries that library's
// version; a file that cannot be read is made again from the system, and so
// is one that lacks a name asked for. Safe to use from several threads.
class CachedLanguageCodes {
 public:
  // `path` "" keeps no file.
  explicit CachedLanguageCodes(std::string path) : path_(std::move(path)) {}

  // The codes at hand: from the file, else from the system (then written).
  void Prepare();
  // The locale code of a display name, or "" when the system has no such name.
  std::string LocaleCodeOf(std::string_view name);
  // Whether the system's list had to be made.
  bool AskedTheSystem() const;

  // The file in the user's cache folder ($XDG_CACHE_HOME, else
  // $HOME/.cache), or "" when there is none.
  static std::string DefaultPath();

 private:
  // With the lock held.
  void PrepareLocked();
  bool ReadFile();
  void AskTheSystem();

  const std::string path_;
  mutable std::mutex mutex_;
  bool prepared_ = false;
  bool askedTheSystem_ = false;
  std::map<std::string, std::string, std::less<>> codes_;
};

}  // namespace ulk
