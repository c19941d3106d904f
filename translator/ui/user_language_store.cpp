// User languages in the settings.
#include "translator/ui/user_language_store.h"

#include <algorithm>

#include <wx/config.h>
#include <wx/log.h>

#include "translator/model/property_edits.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

// Runs with the settings' path set to the languages' group.
class InLanguagesGroup {
 public:
  explicit InLanguagesGroup(wxConfigBase* config) : config_(config), previous_(config->GetPath()) {
    config_->SetPath(UserLanguageStore::kGroup);
  }
  ~InLanguagesGroup() { config_->SetPath(previous_); }
  InLanguagesGroup(const InLanguagesGroup&) = delete;
  InLanguagesGroup& operator=(const InLanguagesGroup&) = delete;

 private:
  wxConfigBase* config_;
  wxString previous_;
};

}  // namespace

UserLanguageStore::UserLanguageStore(wxConfigBase* config)
    : config_(config ? config : wxConfigBase::Get(false)) {}

bool UserLanguageStore::Open() {
  names_.clear();
  next_ = 0;
  opened_ = config_ != nullptr;
  if (!opened_) return false;
  InLanguagesGroup group(config_);
  wxString name;
  long cookie = 0;
  for (bool more = config_->GetFirstEntry(name, cookie); more;
       more = config_->GetNextEntry(name, cookie)) {
    names_.push_back(FromWx(name));
  }
  return true;
}

std::string UserLanguageStore::FirstName() {
  next_ = 0;
  return NextName();
}

std::string UserLanguageStore::NextName() {
  return next_ < names_.size() ? names_[next_++] : std::string();
}

bool UserLanguageStore::Add(const std::string& name) {
  if (!config_ || !IsStorableLanguageName(name)) return false;
  InLanguagesGroup group(config_);
  const wxString entry = ToWx(name);
  const bool existed = config_->HasEntry(entry);
  if (!config_->Write(entry, wxString())) return false;
  if (!Flush()) {
    // What could not be written is not kept either.
    if (!existed) config_->DeleteEntry(entry, false);
    return false;
  }
  if (std::find(names_.begin(), names_.end(), name) == names_.end()) names_.push_back(name);
  return true;
}

bool UserLanguageStore::Remove(const std::string& name) {
  if (!config_ || name.empty() || name.find('/') != std::string::npos) return false;
  InLanguagesGroup group(config_);
  const wxString entry = ToWx(name);
  if (!config_->DeleteEntry(entry, false)) return false;
  if (!Flush()) {
    config_->Write(entry, wxString());
    return false;
  }
  std::erase(names_, name);
  return true;
}

bool UserLanguageStore::Flush() {
  // The failure is the caller's message to show, not a log window of wx's.
  wxLogNull quiet;
  return config_->Flush();
}

std::vector<std::string> ReadUserLanguages(bool& opened) {
  UserLanguageStore store;
  opened = store.Open();
  return store.Names();
}

}  // namespace ulk
