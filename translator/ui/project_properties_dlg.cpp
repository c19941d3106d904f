// Project properties: the name and the modules.
#include <wx/imaglist.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "platform/text.h"
#include "translator/model/messages.h"
#include "translator/model/project_operations.h"
#include "translator/model/property_edits.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/property_dialogs.h"
#include "translator/ui/ulk_art.h"
#include "uikit/list_ctrl_helper.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kCaption = "Propiedades del proyecto";

}  // namespace

CProjectPropertiesDlg::CProjectPropertiesDlg(wxWindow* parent, const Project& project)
    : UlkDialog(parent, kDlgProjectProperties, kCaption), copy_(project) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, ToWx("&Nombre del proyecto:")), 0,
           wxLEFT | wxRIGHT | wxTOP, 10);
  name_ = new wxTextCtrl(this, kCtlProjectName, ToWx(copy_.name));
  top->Add(name_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

  auto* listHead = new wxBoxSizer(wxHORIZONTAL);
  listHead->Add(new wxStaticText(this, wxID_ANY, ToWx("&Módulos")), 0, wxALIGN_CENTER_VERTICAL);
  listHead->AddStretchSpacer();
  PlaceToolbar(listHead, kCtlToolbarPlaceholder,
               Toolbar(kTbProject, {kIdAddModules, kIdDeleteModule, kIdModuleProperties}),
               wxALIGN_CENTER_VERTICAL);
  top->Add(listHead, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  list_ = MakeList(kCtlList, true, wxSize(560, 200));
  images_ = new wxImageList(16, 16, true, 1);
  images_->Add(ModuleIcon().GetBitmap(wxSize(16, 16)));
  list_->SetImageList(images_, wxIMAGE_LIST_SMALL);
  list_->AppendColumn(ToWx(MessageText(kMsgFileColumn)));
  list_->AppendColumn(ToWx(MessageText(kMsgModuleLanguageColumn)));
  list_->AppendColumn(ToWx(MessageText(kMsgFolderColumn)));
  KeepColumnsFitted(list_);
  top->Add(list_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  count_ = MakeCountLine();
  top->Add(count_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  top->Add(MakeButtons(), 0, wxEXPAND | wxALL, 10);
  SetSizer(top);

  OnCommand(kIdAddModules, [this] { AddModules(); });
  OnCommand(kIdDeleteModule, [this] { DeleteModule(); });
  OnCommand(kIdModuleProperties, [this] { ModuleProperties(); });
  SetShortcuts({{'M', kIdModuleProperties}});
  BindListKeys(
      list_, kIdAddModules, kIdDeleteModule, [this] { FillList(); }, [this] { return MakeMenu(); });
  list_->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) { RunCommand(kIdModuleProperties); });
  list_->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent&) { UpdateCommands(); });
  list_->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent&) { UpdateCommands(); });

  FillList();
  FitToContents();
  name_->SetFocus();
  name_->SelectAll();
}

CProjectPropertiesDlg::~CProjectPropertiesDlg() {
  list_->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
  delete images_;
}

wxMenu* CProjectPropertiesDlg::MakeMenu() {
  auto* menu = new wxMenu();
  AppendCommand(menu, kIdAddModules, "&Añadir módulos...");
  AppendCommand(menu, kIdDeleteModule, "&Borrar módulo");
  AppendCommand(menu, kIdModuleProperties, "&Propiedades de módulo");
  return menu;
}

void CProjectPropertiesDlg::FillList(std::int32_t select) {
  const Module* selected = SelectedModule();
  const std::int32_t keep = select != 0 ? select : (selected ? selected->id : 0);
  list_->Freeze();
  list_->DeleteAllItems();
  long index = 0;
  for (const ModuleRow& row : ProjectModuleRows(copy_)) {
    const long item = list_->InsertItem(index++, ToWx(row.fileName), 0);
    list_->SetItem(item, 1, ToWx(row.language));
    list_->SetItem(item, 2, ToWx(row.folder));
    list_->SetItemData(item, row.id);
  }
  FitListColumns(list_);
  list_->Thaw();
  ListCtrlHelper helper(list_);
  if (keep == 0 || !SelectModule(keep)) {
    if (list_->GetItemCount() > 0) helper.SelectRow(0);
  }
  count_->ChangeValue(
      ToWx(FormatMessage(kMsgProjectModuleCount, static_cast<int>(copy_.ModuleCount()))));
  UpdateCommands();
}

bool CProjectPropertiesDlg::SelectModule(std::int32_t id) {
  const long row = list_->FindItem(-1, static_cast<wxUIntPtr>(id));
  if (row < 0) return false;
  ListCtrlHelper(list_).SelectRow(row);
  UpdateCommands();
  return true;
}

Module* CProjectPropertiesDlg::SelectedModule() {
  const long row = ListCtrlHelper(list_).FirstSelected();
  if (row < 0) return nullptr;
  return copy_.FindModuleById(static_cast<std::int32_t>(list_->GetItemData(row)));
}

void CProjectPropertiesDlg::UpdateCommands() {
  const bool selected = SelectedModule() != nullptr;
  EnableCommand(kIdDeleteModule, selected);
  EnableCommand(kIdModuleProperties, selected);
}

void CProjectPropertiesDlg::AddModules() {
  AddModulesFromDialog(copy_, this, Ui());
  FillList();
}

void CProjectPropertiesDlg::AddModuleFiles(const std::vector<std::string>& paths) {
  ulk::AddModules(copy_, paths, Ui());
  FillList();
}

void CProjectPropertiesDlg::DeleteModule() {
  const Module* module = SelectedModule();
  if (!module) return;
  const std::string path = module->path;
  if (ulk::DeleteModule(copy_, path, Ui())) FillList();
}

void CProjectPropertiesDlg::ModuleProperties() {
  Module* module = SelectedModule();
  if (!module) return;
  CModulePropertiesDlg dialog(this, *module, &copy_);
  if (dialog.ShowModal() != wxID_OK) return;
  *module = dialog.GetModule();
  FillList(module->id);
}

bool CProjectPropertiesDlg::Accept() {
  const std::string name = Trim(FromWx(name_->GetValue()));
  if (name.empty()) {
    Ui().ShowMessage(MessageText(kMsgMustEnterProjectName), MessageIcon::kExclamation);
    name_->SetFocus();
    return false;
  }
  copy_.name = name;
  return true;
}

bool RunProjectProperties(Project& project, wxWindow* parent) {
  CProjectPropertiesDlg dialog(parent, project);
  if (dialog.ShowModal() != wxID_OK) return false;
  project = dialog.GetProject();
  return true;
}

}  // namespace ulk
