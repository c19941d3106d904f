// The dialogs that edit the project's structure: project properties (name
// and modules), module properties (path, original language, target
// languages) and language properties (target language and output file).
// Each edits a copy and hands it back only when the user accepts.
#pragma once

#include <string>
#include <vector>

#include "translator/model/project.h"
#include "translator/ui/ulk_dialog.h"

class wxComboBox;
class wxImageList;
class wxTextCtrl;

namespace ulk {

class CLanguagePropertiesDlg : public UlkDialog {
 public:
  // `language` is a target language of `module` (or a new one); the module
  // gives the path for the default output file and the names the choice
  // leaves out.
  CLanguagePropertiesDlg(wxWindow* parent, const ModuleLanguage& language, const Module& module);

  // The output file taken from the edit and the copy validated: a missing
  // language shows 5008, a missing output file 5009; the dialog stays.
  bool Accept() override;
  const ModuleLanguage& Language() const { return copy_; }

  wxComboBox* LanguageCombo() const { return combo_; }
  wxTextCtrl* OutputEdit() const { return output_; }
  // Choosing a language in the combo, as the user does.
  void SelectLanguage(const std::string& name);

 private:
  void FillChoices();
  void DefaultOutput();
  void SelectOutput();
  void NewLanguage();

  ModuleLanguage copy_;
  const Module& module_;
  bool hadOutput_;
  wxComboBox* combo_ = nullptr;
  wxTextCtrl* output_ = nullptr;
};

class CModulePropertiesDlg : public UlkDialog {
 public:
  // `project`, when given, is the project the module belongs to: a new path
  // may not be another module's.
  CModulePropertiesDlg(wxWindow* parent, const Module& module, const Project* project = nullptr);
  ~CModulePropertiesDlg() override;

  // Validates the copy: 5013, 5014 or 5015 (with the languages' names)
  // keep the dialog open.
  bool Accept() override;
  const Module& GetModule() const { return copy_; }

  wxListCtrl* List() const { return list_; }
  wxComboBox* LanguageCombo() const { return combo_; }
  wxTextCtrl* PathEdit() const { return path_; }
  wxTextCtrl* CountLine() const { return count_; }
  // Choosing an original language in the combo, as the user does.
  void SelectOriginal(const std::string& name);
  // The path the change-path dialog would return.
  void SetPath(const std::string& path);
  // Selects the row of a target language; false when there is none.
  bool SelectLanguage(const std::string& name);

 private:
  void FillChoices();
  void FillList(const std::string& select = {});
  std::string SelectedLanguage() const;
  void UpdateCommands();
  void ShowCount();
  void ChangePath();
  void NewLanguage();
  void AddLanguage();
  void DeleteLanguage();
  void LanguageProperties();
  wxMenu* MakeMenu();

  Module copy_;
  const Project* project_;
  wxTextCtrl* path_ = nullptr;
  wxComboBox* combo_ = nullptr;
  wxListCtrl* list_ = nullptr;
  wxTextCtrl* count_ = nullptr;
};

class CProjectPropertiesDlg : public UlkDialog {
 public:
  CProjectPropertiesDlg(wxWindow* parent, const Project& project);
  ~CProjectPropertiesDlg() override;

  // An empty name (after trimming) shows 5004 and the dialog stays.
  bool Accept() override;
  const Project& GetProject() const { return copy_; }

  wxTextCtrl* NameEdit() const { return name_; }
  wxListCtrl* List() const { return list_; }
  wxTextCtrl* CountLine() const { return count_; }
  // Adds module files to the copy as the add command does after its file
  // dialog.
  void AddModuleFiles(const std::vector<std::string>& paths);
  // Selects the row of a module; false when there is none.
  bool SelectModule(std::int32_t id);

 private:
  void FillList(std::int32_t select = 0);
  Module* SelectedModule();
  void UpdateCommands();
  void AddModules();
  void DeleteModule();
  void ModuleProperties();
  wxMenu* MakeMenu();

  Project copy_;
  wxTextCtrl* name_ = nullptr;
  wxListCtrl* list_ = nullptr;
  wxTextCtrl* count_ = nullptr;
  wxImageList* images_ = nullptr;
};

// The property dialogs as the main window runs them: true when accepted
// (the project or module was replaced by the edited copy).
bool RunProjectProperties(Project& project, wxWindow* parent);
bool RunModuleProperties(Project& project, std::int32_t moduleId, wxWindow* parent);

}  // namespace ulk
