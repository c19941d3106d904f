// Language properties: the target language and its output file.
#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "translator/model/messages.h"
#include "translator/model/property_edits.h"
#include "translator/ui/command_ids.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/file_dialogs.h"
#include "translator/ui/language_dialogs.h"
#include "translator/ui/property_dialogs.h"
#include "translator/ui/user_language_store.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kCaption = "Propiedades del idioma";

}  // namespace

CLanguagePropertiesDlg::CLanguagePropertiesDlg(wxWindow* parent, const ModuleLanguage& language,
                                               const Module& module)
    : UlkDialog(parent, kDlgLanguageProperties, kCaption),
      copy_(language),
      module_(module),
      hadOutput_(!language.outputFile.empty()) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, wxID_ANY, ToWx("&Traducir a:")), 0, wxLEFT | wxRIGHT | wxTOP, 10);
  auto* languageRow = new wxBoxSizer(wxHORIZONTAL);
  combo_ = new wxComboBox(this, kCtlLanguageCombo, wxString(), wxDefaultPosition, wxSize(360, -1),
                          0, nullptr, wxCB_READONLY | wxCB_DROPDOWN);
  languageRow->Add(combo_, 1, wxALIGN_CENTER_VERTICAL);
  PlaceToolbar(languageRow, kCtlPlaceholder1, Toolbar(kTbNewLanguage, {kIdNewLanguage}),
               wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  top->Add(languageRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);

  top->Add(new wxStaticText(this, wxID_ANY, ToWx("&Fichero de salida:")), 0,
           wxLEFT | wxRIGHT | wxTOP, 10);
  auto* outputRow = new wxBoxSizer(wxHORIZONTAL);
  output_ = new wxTextCtrl(this, kCtlOutputFile, ToWx(copy_.outputFile));
  outputRow->Add(output_, 1, wxALIGN_CENTER_VERTICAL);
  PlaceToolbar(outputRow, kCtlPlaceholder2,
               Toolbar(kTbLanguage, {kIdDefaultOutputFile, kIdSelectOutputFile}),
               wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  top->Add(outputRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
  top->Add(MakeButtons(), 0, wxEXPAND | wxALL, 10);
  SetSizer(top);

  FillChoices();
  combo_->Bind(wxEVT_COMBOBOX,
               [this](wxCommandEvent&) { SelectLanguage(FromWx(combo_->GetStringSelection())); });
  OnCommand(kIdNewLanguage, [this] { NewLanguage(); });
  OnCommand(kIdDefaultOutputFile, [this] { DefaultOutput(); });
  OnCommand(kIdSelectOutputFile, [this] { SelectOutput(); });
  SetShortcuts({{'N', kIdNewLanguage}, {'D', kIdDefaultOutputFile}, {'S', kIdSelectOutputFile}});

  FitToContents();
  SetMaxTrackSize(-1, GetSize().y);
  output_->SelectAll();
  combo_->SetFocus();
}

void CLanguagePropertiesDlg::FillChoices() {
  combo_->Clear();
  bool opened = false;
  const std::vector<std::string> user = ReadUserLanguages(opened);
  // Without the settings nothing can be offered, not even the current name.
  if (!opened) return;
  for (const std::string& name :
       TargetLanguageChoices(module_, copy_.name, user, SystemLanguageNames())) {
    combo_->Append(ToWx(name));
  }
  if (!copy_.name.empty()) combo_->SetStringSelection(ToWx(copy_.name));
}

void CLanguagePropertiesDlg::SelectLanguage(const std::string& name) {
  // Only what the combo offers can be chosen.
  if (name.empty() || !combo_->SetStringSelection(ToWx(name))) return;
  copy_.name = name;
  // A language that had no output file gets the default one as it changes.
  if (!hadOutput_) DefaultOutput();
}

void CLanguagePropertiesDlg::DefaultOutput() {
  const std::string name = FromWx(combo_->GetStringSelection());
  const std::string output = DefaultOutputFile(module_.path, name);
  if (output.empty()) return;
  output_->ChangeValue(ToWx(output));
  output_->SelectAll();
}

void CLanguagePropertiesDlg::SelectOutput() {
  if (const auto chosen = ChooseOutputFile(this, FromWx(output_->GetValue()), Ui())) {
    output_->ChangeValue(ToWx(*chosen));
  }
}

void CLanguagePropertiesDlg::NewLanguage() {
  const std::string name = RunNewLanguage(this);
  if (name.empty()) return;
  FillChoices();
  SelectLanguage(name);
}

bool CLanguagePropertiesDlg::Accept() {
  ModuleLanguage checked = copy_;
  checked.outputFile = FromWx(output_->GetValue());
  if (checked.Validate()) {
    copy_ = std::move(checked);
    return true;
  }
  Ui().ShowMessage(MessageText(LanguageValidationMessage(checked.errorCode)),
                   MessageIcon::kExclamation);
  if (checked.errorCode == kLanguageNameEmpty) {
    combo_->SetFocus();
  } else {
    output_->SetFocus();
  }
  return false;
}

}  // namespace ulk
