// Module properties: path, original language and target languages.
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "platform/files.h"
#include "translator/model/messages.h"
#include "translator/model/property_edits.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/language_dialogs.h"
#include "translator/ui/property_dialogs.h"
#include "translator/ui/ulk_art.h"
#include "translator/ui/user_language_store.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kCaption = "Propiedades del módulo";

}  // namespace

CModulePropertiesDlg::CModulePropertiesDlg(wxWindow* parent, const Module& module,
                                           const Project* project)
    : UlkDialog(parent, kDlgModuleProperties, kCaption), copy_(module), project_(project) {
  SetIcon(ModuleIcon().GetIcon(wxSize(16, 16)));
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, ToWx("Módulo:")), 0, wxLEFT | wxRIGHT | wxTOP, 10);
  auto* pathRow = new wxBoxSizer(wxHORIZONTAL);
  path_ = new wxTextCtrl(this, kCtlModulePath, ToWx(copy_.path), wxDefaultPosition, wxSize(420, -1),
                         wxTE_READONLY);
  pathRow->Add(path_, 1, wxALIGN_CENTER_VERTICAL);
  PlaceToolbar(pathRow, kCtlPlaceholder1, Toolbar(kTbModulePath, {kIdChangePath}),
               wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  top->Add(pathRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

  top->Add(new wxStaticText(this, wxID_ANY, ToWx("&Idioma original:")), 0, wxLEFT | wxRIGHT | wxTOP,
           10);
  auto* languageRow = new wxBoxSizer(wxHORIZONTAL);
  combo_ = new wxComboBox(this, kCtlLanguageCombo, wxString(), wxDefaultPosition, wxDefaultSize, 0,
                          nullptr, wxCB_READONLY | wxCB_DROPDOWN);
  languageRow->Add(combo_, 1, wxALIGN_CENTER_VERTICAL);
  PlaceToolbar(languageRow, kCtlPlaceholder2, Toolbar(kTbNewLanguage, {kIdNewLanguage}),
               wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  top->Add(languageRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

  auto* listHead = new wxBoxSizer(wxHORIZONTAL);
  listHead->Add(new wxStaticText(this, wxID_ANY, ToWx("&Traducciones")), 0,
                wxALIGN_CENTER_VERTICAL);
  listHead->AddStretchSpacer();
  PlaceToolbar(
      listHead, kCtlPlaceholder3,
      Toolbar(kTbModuleLanguages, {kIdAddLanguage, kIdDeleteLanguage, kIdLanguageProperties}),
      wxALIGN_CENTER_VERTICAL);
  top->Add(listHead, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  list_ = MakeList(kCtlList, true, wxSize(-1, 170));
  list_->AppendColumn(ToWx(MessageText(kMsgNameColumn)));
  list_->AppendColumn(ToWx(MessageText(kMsgFileColumn)));
  list_->AppendColumn(ToWx(MessageText(kMsgFolderColumn)));
  KeepColumnsFitted(list_);
  top->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  count_ = MakeCountLine();
  top->Add(count_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  top->Add(MakeButtons(), 0, wxEXPAND | wxALL, 10);
  SetSizer(top);

  combo_->Bind(wxEVT_COMBOBOX,
               [this](wxCommandEvent&) { SelectOriginal(FromWx(combo_->GetStringSelection())); });
  OnCommand(kIdChangePath, [this] { ChangePath(); });
  OnCommand(kIdNewLanguage, [this] { NewLanguage(); });
  OnCommand(kIdAddLanguage, [this] { AddLanguage(); });
  OnCommand(kIdDeleteLanguage, [this] { DeleteLanguage(); });
  OnCommand(kIdLanguageProperties, [this] { LanguageProperties(); });
  BindListKeys(
      list_, kIdAddLanguage, kIdDeleteLanguage, [this] { FillList(); },
      [this] { return MakeMenu(); });
  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED,
              [this](wxListEvent&) { RunCommand(kIdLanguageProperties); });
  SetShortcuts({{'P', kIdChangePath}, {'N', kIdNewLanguage}});
  list_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateCommands(); });
  list_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateCommands(); });

  {
    WaitCursor wait(Ui());
    FillChoices();
    FillList();
  }
  FitToContents();
  combo_->SetFocus();
}

CModulePropertiesDlg::~CModulePropertiesDlg() = default;

wxMenu* CModulePropertiesDlg::MakeMenu() {
  auto* menu = new wxMenu();
  AppendCommand(menu, kIdAddLanguage, "&Añadir idioma...");
  AppendCommand(menu, kIdDeleteLanguage, "&Borrar idioma");
  AppendCommand(menu, kIdLanguageProperties, "&Propiedades del idioma...");
  return menu;
}

void CModulePropertiesDlg::FillChoices() {
  combo_->Clear();
  bool opened = false;
  const std::vector<std::string> user = ReadUserLanguages(opened);
  if (!opened) return;
  for (const std::string& name : OriginalLanguageChoices(copy_, user, SystemLanguageNames())) {
    combo_->Append(ToWx(name));
  }
  const std::string current = copy_.DefaultLanguageName();
  if (!current.empty()) combo_->SetStringSelection(ToWx(current));
}

void CModulePropertiesDlg::FillList(const std::string& select) {
  const std::string keep = select.empty() ? SelectedLanguage() : select;
  list_->Freeze();
  list_->DeleteAllItems();
  long index = 0;
  for (const TargetLanguageRow& row : TargetLanguageRows(copy_)) {
    const long item = list_->InsertItem(index++, ToWx(row.name));
    list_->SetItem(item, 1, ToWx(row.fileName));
    list_->SetItem(item, 2, ToWx(row.folder));
  }
  FitListColumns(list_);
  list_->Thaw();
  ListCtrlHelper helper(list_);
  if (keep.empty() || !SelectLanguage(keep)) {
    if (list_->GetItemCount() > 0) helper.SelectRow(0);
  }
  ShowCount();
  UpdateCommands();
}

void CModulePropertiesDlg::ShowCount() {
  count_->ChangeValue(
      ToWx(FormatMessage(kMsgModuleLanguageCount, static_cast<int>(TargetLanguageCount(copy_)))));
}

bool CModulePropertiesDlg::SelectLanguage(const std::string& name) {
  ListCtrlHelper helper(list_);
  const long row = helper.FindRowByText(name, 0);
  if (row < 0) return false;
  helper.SelectRow(row);
  UpdateCommands();
  return true;
}

std::string CModulePropertiesDlg::SelectedLanguage() const {
  const long row = ListCtrlHelper(list_).FirstSelected();
  return row < 0 ? std::string() : FromWx(list_->GetItemText(row));
}

void CModulePropertiesDlg::UpdateCommands() {
  const bool selected = ListCtrlHelper(list_).FirstSelected() >= 0;
  EnableCommand(kIdDeleteLanguage, selected);
  EnableCommand(kIdLanguageProperties, selected);
}

void CModulePropertiesDlg::SelectOriginal(const std::string& name) {
  // Only what the combo offers can be chosen: never a target's name.
  if (name.empty() || !combo_->SetStringSelection(ToWx(name))) return;
  SelectOriginalLanguage(copy_, name);
  FillChoices();
}

void CModulePropertiesDlg::SetPath(const std::string& path) {
  const std::string canonical = CanonicalModulePath(path);
  if (project_) {
    const Module* other = project_->FindModuleByPath(canonical);
    if (other && other->id != copy_.id) {
      const std::string name(FileNameOf(canonical));
      Ui().ShowMessage(FormatMessage(kMsgModuleAlreadyInProject, name.c_str()),
                       MessageIcon::kExclamation);
      return;
    }
  }
  copy_.path = canonical;
  path_->ChangeValue(ToWx(copy_.path));
}

void CModulePropertiesDlg::ChangePath() {
  if (const auto chosen = ChooseModulePath(this, copy_.path)) SetPath(*chosen);
}

void CModulePropertiesDlg::NewLanguage() {
  const std::string name = RunNewLanguage(this);
  if (name.empty()) return;
  FillChoices();
  SelectOriginal(name);
}

void CModulePropertiesDlg::AddLanguage() {
  const ModuleLanguage fresh;
  CLanguagePropertiesDlg dialog(this, fresh, copy_);
  if (dialog.ShowModal() != wxID_OK) return;
  const ModuleLanguage& added = dialog.Language();
  // Two languages of one name would share the list's columns and the
  // dictionary's texts: the second is refused.
  if (copy_.FindLanguage(added.name)) {
    Ui().ShowMessage(FormatMessage(kMsgErrorAddingLanguage, added.name.c_str()),
                     MessageIcon::kError);
    return;
  }
  copy_.AddLanguage(added);
  FillList(added.name);
  FillChoices();
}

void CModulePropertiesDlg::DeleteLanguage() {
  const std::string name = SelectedLanguage();
  if (name.empty()) return;
  if (!copy_.FindLanguage(name)) {
    Ui().ShowMessage(FormatMessage(kMsgLanguageNotFound, name.c_str()), MessageIcon::kError);
    return;
  }
  if (!Ui().AskYesNo(FormatMessage(kMsgAskDeleteLanguage, name.c_str()))) return;
  if (!copy_.RemoveLanguage(name)) {
    Ui().ShowMessage(FormatMessage(kMsgErrorDeletingLanguage, name.c_str()), MessageIcon::kError);
    return;
  }
  FillList();
  FillChoices();
}

void CModulePropertiesDlg::LanguageProperties() {
  const std::string name = SelectedLanguage();
  if (name.empty()) return;
  ModuleLanguage* language = copy_.FindLanguage(name);
  if (!language || language->isDefault) {
    Ui().ShowMessage(FormatMessage(kMsgLanguageNotFound, name.c_str()), MessageIcon::kError);
    return;
  }
  CLanguagePropertiesDlg dialog(this, *language, copy_);
  if (dialog.ShowModal() != wxID_OK) return;
  *language = dialog.Language();
  FillList(language->name);
  FillChoices();
}

bool CModulePropertiesDlg::Accept() {
  Module checked = copy_;
  std::string message;
  bool valid = false;
  {
    WaitCursor wait(Ui());
    valid = ValidateModuleProperties(checked, message);
  }
  if (!valid) {
    Ui().ShowMessage(message, MessageIcon::kExclamation);
    return false;
  }
  copy_ = std::move(checked);
  return true;
}

bool RunModuleProperties(Project& project, std::int32_t moduleId, wxWindow* parent) {
  Module* module = project.FindModuleById(moduleId);
  if (!module) return false;
  CModulePropertiesDlg dialog(parent, *module, &project);
  if (dialog.ShowModal() != wxID_OK) return false;
  *module = dialog.GetModule();
  return true;
}

}  // namespace ulk
