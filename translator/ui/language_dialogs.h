// The small language dialogs: a new user language, the choice of one
// language among names, and the manager of the user languages.
#pragma once

#include <string>
#include <vector>

#include "translator/model/property_edits.h"
#include "translator/ui/ulk_dialog.h"

class wxTextCtrl;

namespace ulk {

// "Nuevo idioma": a name, trimmed, stored among the user languages on OK.
class CNewLanguageDlg : public UlkDialog {
 public:
  explicit CNewLanguageDlg(wxWindow* parent);

  // An empty name: 5011, the dialog stays. A name the settings cannot keep:
  // 5012, the dialog stays.
  bool Accept() override;
  // The stored name, after OK.
  const std::string& Name() const { return name_; }
  wxTextCtrl* NameEdit() const { return edit_; }

 private:
  wxTextCtrl* edit_ = nullptr;
  std::string name_;
};

// Runs CNewLanguageDlg; the new name, or "" when cancelled.
std::string RunNewLanguage(wxWindow* parent);

// "Selección de lenguaje": one row per name, the first selected; OK or a
// double click returns the selected row's name.
class CLanguageSelectDlg : public UlkDialog {
 public:
  CLanguageSelectDlg(wxWindow* parent, const std::vector<std::string>& names);

  bool Accept() override;
  // The chosen name after OK ("" when no row was selected).
  const std::string& Chosen() const { return chosen_; }
  wxListCtrl* List() const { return list_; }

 private:
  wxListCtrl* list_ = nullptr;
  std::string chosen_;
};

// Runs CLanguageSelectDlg; the chosen name, or "" on Cancel.
std::string RunLanguageSelect(wxWindow* parent, const std::vector<std::string>& names);

// "Idiomas de usuario": the user's languages, and the system's on request;
// new ones are added and the user's own deleted.
class CUserLanguagesDlg : public UlkDialog {
 public:
  explicit CUserLanguagesDlg(wxWindow* parent);

  wxListCtrl* List() const { return list_; }
  wxTextCtrl* CountLine() const { return count_; }
  const std::vector<UserLanguageRow>& Rows() const { return rows_; }
  bool ShowsSystemLanguages() const { return showSystem_; }
  // Selects the row of a name; false when it is not listed.
  bool SelectName(const std::string& name);

 private:
  // Reads the store again and fills the list, keeping the selected name.
  void Rebuild(const std::string& select = {});
  std::string SelectedName() const;
  const UserLanguageRow* SelectedRow() const;
  void UpdateCommands();
  void NewLanguage();
  void DeleteLanguage();
  void ToggleSystemLanguages();
  wxMenu* MakeMenu();

  wxListCtrl* list_ = nullptr;
  wxTextCtrl* count_ = nullptr;
  DialogToolbar* toolbar_ = nullptr;
  std::vector<UserLanguageRow> rows_;
  bool showSystem_ = false;
};

}  // namespace ulk
