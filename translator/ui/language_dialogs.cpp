// New user language, language selection and user languages.
#include "translator/ui/language_dialogs.h"

#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/user_language_store.h"
#include "uikit/command_id.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kNewLanguageCaption = "Nuevo idioma";
constexpr const char* kSelectCaption = "Selección de lenguaje";
constexpr const char* kUserLanguagesCaption = "Idiomas de usuario";

// A list of one column that fills the list's width.
void FillSingleColumn(wxListCtrl* list, const std::vector<std::string>& names) {
  list->Freeze();
  list->DeleteAllItems();
  if (list->GetColumnCount() == 0) list->AppendColumn(wxString());
  for (std::size_t i = 0; i < names.size(); ++i) {
    const long row = list->InsertItem(static_cast<long>(i), ToWx(names[i]));
    list->SetItemData(row, static_cast<long>(i));
  }
  ListCtrlHelper(list).ShareWidth(1);
  list->Thaw();
}

void KeepColumnFilled(wxListCtrl* list) {
  list->Bind(wxEVT_SIZE, [list](wxSizeEvent& event) {
    event.Skip();
    list->CallAfter([list] { ListCtrlHelper(list).ShareWidth(1); });
  });
}

}  // namespace

CNewLanguageDlg::CNewLanguageDlg(wxWindow* parent)
    : UlkDialog(parent, kDlgNewLanguage, kNewLanguageCaption) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, ToWx("&Nombre del idioma:")), 0,
           wxLEFT | wxRIGHT | wxTOP, 10);
  edit_ = new wxTextCtrl(this, kCtlNewLanguageName, wxString(), wxDefaultPosition, wxSize(320, -1));
  top->Add(edit_, 0, wxEXPAND | wxALL, 10);
  top->Add(MakeButtons(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizer(top);
  FitToContents();
  SetMaxTrackSize(-1, GetSize().y);
  edit_->SetFocus();
}

bool CNewLanguageDlg::Accept() {
  const std::string name = Trim(FromWx(edit_->GetValue()));
  if (name.empty()) {
    Ui().ShowMessage(MessageText(kMsgEnterLanguageName), MessageIcon::kExclamation);
    edit_->SetFocus();
    return false;
  }
  UserLanguageStore store;
  if (!store.Open() || !store.Add(name)) {
    Ui().ShowMessage(MessageText(kMsgErrorUpdatingSettings), MessageIcon::kError);
    edit_->SetFocus();
    return false;
  }
  name_ = name;
  return true;
}

std::string RunNewLanguage(wxWindow* parent) {
  CNewLanguageDlg dialog(parent);
  return dialog.ShowModal() == wxID_OK ? dialog.Name() : std::string();
}

CLanguageSelectDlg::CLanguageSelectDlg(wxWindow* parent, const std::vector<std::string>& names)
    : UlkDialog(parent, kDlgLanguageSelect, kSelectCaption) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  list_ = MakeList(kCtlList, false, wxSize(280, 200));
  top->Add(list_, 1, wxEXPAND | wxALL, 10);
  top->Add(MakeButtons("&Seleccionar", "Cancelar"), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizer(top);
  FillSingleColumn(list_, names);
  KeepColumnFilled(list_);
  if (!names.empty()) ListCtrlHelper(list_).SelectRow(0);
  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) {
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(this);
    ProcessWindowEvent(ok);
  });
  FitToContents();
  list_->SetFocus();
}

bool CLanguageSelectDlg::Accept() {
  const long row = ListCtrlHelper(list_).FirstSelected();
  chosen_ = row < 0 ? std::string() : FromWx(list_->GetItemText(row));
  return true;
}

std::string RunLanguageSelect(wxWindow* parent, const std::vector<std::string>& names) {
  CLanguageSelectDlg dialog(parent, names);
  return dialog.ShowModal() == wxID_OK ? dialog.Chosen() : std::string();
}

CUserLanguagesDlg::CUserLanguagesDlg(wxWindow* parent)
    : UlkDialog(parent, kDlgUserLanguages, kUserLanguagesCaption) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  ToolbarResource resource =
      Toolbar(kTbUserLanguages, {kIdNewLanguage, kIdDeleteUserLanguage, 0, kIdShowIsoLanguages});
  resource.buttons.back().kind = wxITEM_CHECK;
  auto* bar = new wxBoxSizer(wxHORIZONTAL);
  toolbar_ = PlaceToolbar(bar, kCtlToolbarPlaceholder, resource);
  top->Add(bar, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  list_ = MakeList(kCtlList, false, wxSize(300, 300));
  top->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  count_ = MakeCountLine();
  top->Add(count_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  top->Add(MakeButtons("Cerrar", ""), 0, wxEXPAND | wxALL, 10);
  SetSizer(top);

  OnCommand(kIdNewLanguage, [this] { NewLanguage(); });
  OnCommand(kIdDeleteUserLanguage, [this] { DeleteLanguage(); });
  OnCommand(kIdShowIsoLanguages, [this] { ToggleSystemLanguages(); });
  SetShortcuts({{'N', kIdNewLanguage}, {'I', kIdShowIsoLanguages}});
  BindListKeys(
      list_, kIdNewLanguage, kIdDeleteUserLanguage, [this] { Rebuild(); },
      [this] { return MakeMenu(); });
  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED,
              [this](wxListEvent&) { RunCommand(kIdDeleteUserLanguage); });
  list_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateCommands(); });
  list_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateCommands(); });
  KeepColumnFilled(list_);

  Rebuild();
  FitToContents();
  list_->SetFocus();
}

wxMenu* CUserLanguagesDlg::MakeMenu() {
  auto* menu = new wxMenu();
  AppendCommand(menu, kIdNewLanguage, "&Añadir idioma de usuario...");
  AppendCommand(menu, kIdDeleteUserLanguage, "&Borrar idioma de usuario");
  menu->AppendSeparator();
  AppendCommand(menu, kIdShowIsoLanguages, "&Mostrar idiomas ISO", wxITEM_CHECK);
  menu->Check(WxId(kIdShowIsoLanguages), showSystem_);
  return menu;
}

std::string CUserLanguagesDlg::SelectedName() const {
  const UserLanguageRow* row = SelectedRow();
  return row ? row->name : std::string();
}

const UserLanguageRow* CUserLanguagesDlg::SelectedRow() const {
  const long row = ListCtrlHelper(list_).FirstSelected();
  if (row < 0) return nullptr;
  const auto index = static_cast<std::size_t>(list_->GetItemData(row));
  return index < rows_.size() ? &rows_[index] : nullptr;
}

bool CUserLanguagesDlg::SelectName(const std::string& name) {
  const long row = ListCtrlHelper(list_).FindRowByText(name, 0);
  if (row < 0) return false;
  ListCtrlHelper(list_).SelectRow(row);
  UpdateCommands();
  return true;
}

void CUserLanguagesDlg::Rebuild(const std::string& select) {
  const std::string keep = select.empty() ? SelectedName() : select;
  bool opened = false;
  const std::vector<std::string> user = ReadUserLanguages(opened);
  // Without the settings only the system's languages can be listed.
  rows_ = UserLanguageRows(opened ? user : std::vector<std::string>(), SystemLanguageNames(),
                           showSystem_);
  std::vector<std::string> names;
  for (const UserLanguageRow& row : rows_) names.push_back(row.name);
  FillSingleColumn(list_, names);
  // The user's own languages stand out among the system's.
  if (showSystem_) {
    wxFont bold = list_->GetFont().Bold();
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].deletable) list_->SetItemFont(static_cast<long>(i), bold);
    }
  }
  count_->ChangeValue(ToWx(FormatMessage(kMsgLanguageCount, static_cast<int>(rows_.size()))));
  if (keep.empty() || !SelectName(keep)) {
    if (!rows_.empty()) ListCtrlHelper(list_).SelectRow(0);
  }
  UpdateCommands();
}

void CUserLanguagesDlg::UpdateCommands() {
  const UserLanguageRow* row = SelectedRow();
  EnableCommand(kIdDeleteUserLanguage, row && row->deletable);
  if (toolbar_) toolbar_->ToggleTool(WxId(kIdShowIsoLanguages), showSystem_);
}

void CUserLanguagesDlg::NewLanguage() {
  const std::string name = RunNewLanguage(this);
  if (!name.empty()) Rebuild(name);
}

void CUserLanguagesDlg::DeleteLanguage() {
  const UserLanguageRow* row = SelectedRow();
  if (!row || !row->deletable) return;
  const std::string name = row->name;
  if (!Ui().AskYesNo(FormatMessage(kMsgAskDeleteUserLanguage, name.c_str()))) return;
  UserLanguageStore store;
  if (!store.Open() || !store.Remove(name)) {
    Ui().ShowMessage(FormatMessage(kMsgErrorDeletingUserLanguage, name.c_str()),
                     MessageIcon::kError);
    return;
  }
  Rebuild();
}

void CUserLanguagesDlg::ToggleSystemLanguages() {
  showSystem_ = !showSystem_;
  Rebuild();
}

}  // namespace ulk
