// The language names the user typed in, kept in the program's settings
// (group "Languages" of wxConfig), each as an entry with an empty value.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class wxConfigBase;

namespace ulk {

class UserLanguageStore {
 public:
  static constexpr const char* kGroup = "/Languages";

  // The settings the store works on; by default the program's (wxConfig's
  // current object).
  explicit UserLanguageStore(wxConfigBase* config = nullptr);

  // Reads the names; false when the program has no settings.
  bool Open();
  // The names one by one, from the first; "" after the last (or before a
  // successful Open).
  std::string FirstName();
  std::string NextName();
  // Every name, in the settings' order.
  const std::vector<std::string>& Names() const { return names_; }

  // Adds a name (one that is there already changes nothing) and writes the
  // settings out; false when the name cannot be kept (see
  // IsStorableLanguageName) or the settings cannot be written.
  bool Add(const std::string& name);
  // Removes a name and writes the settings out; false when it cannot.
  bool Remove(const std::string& name);

 private:
  bool Flush();

  wxConfigBase* config_;
  bool opened_ = false;
  std::vector<std::string> names_;
  std::size_t next_ = 0;
};

// The user's languages, or none when the settings cannot be opened
// (`opened` false).
std::vector<std::string> ReadUserLanguages(bool& opened);

}  // namespace ulk
