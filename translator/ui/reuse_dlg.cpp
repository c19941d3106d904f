// The options of a reuse of another project's translations, and its report.
#include "translator/ui/reuse_dlg.h"

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "translator/ui/dialog_ids.h"
#include "uikit/wx_text.h"

namespace ulk {

CReuseTranslationsDlg::CReuseTranslationsDlg(wxWindow* parent, const std::string& otherName)
    : UlkDialog(parent, kDlgReuseTranslations, "Reutilizar traducciones de otro proyecto") {
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(new wxStaticText(this, kCtlReuseSource, ToWx("Proyecto de origen: " + otherName)), 0,
           wxLEFT | wxRIGHT | wxTOP, 12);

  auto* scoreRow = new wxBoxSizer(wxHORIZONTAL);
  scoreRow->Add(
      new wxStaticText(this, wxID_ANY, ToWx("&Puntuación mínima de los textos parecidos")), 0,
      wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  // Return in the number presses "Aceptar", as in the rest of the dialog.
  minimum_ = new wxSpinCtrl(this, kCtlMinimumScore, wxString(), wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS | wxTE_PROCESS_ENTER, 1, 100, 100);
  scoreRow->Add(minimum_, 0, wxALIGN_CENTER_VERTICAL);
  top->Add(scoreRow, 0, wxLEFT | wxRIGHT | wxTOP, 12);
  top->Add(new wxStaticText(this, wxID_ANY,
                            ToWx("Con 100 solo se toman textos iguales; por debajo, los parecidos "
                                 "quedan por revisar.")),
           0, wxLEFT | wxRIGHT | wxTOP, 12);

  overwrite_ = new wxCheckBox(this, kCtlOverwrite, ToWx("&Reemplazar las traducciones que ya hay"));
  top->Add(overwrite_, 0, wxLEFT | wxRIGHT | wxTOP, 12);
  allModules_ =
      new wxCheckBox(this, kCtlAllModules, ToWx("&Buscar en todos los módulos del otro proyecto"));
  top->Add(allModules_, 0, wxLEFT | wxRIGHT | wxTOP, 12);

  top->Add(MakeButtons(), 0, wxEXPAND | wxALL, 12);
  SetSizer(top);
  FitToContents();
  minimum_->Bind(wxEVT_TEXT_ENTER, [this](wxCommandEvent&) {
    wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
    ok.SetEventObject(this);
    ProcessWindowEvent(ok);
  });
  minimum_->SetFocus();
}

LeverageOptions CReuseTranslationsDlg::Options() const {
  LeverageOptions options;
  options.minimum = minimum_->GetValue();
  options.overwrite = overwrite_->GetValue();
  options.allModules = allModules_->GetValue();
  return options;
}

std::string LeverageReport(const LeverageResult& result) {
  std::string report;
  for (const LanguageLeverage& line : result.languages) {
    report += line.language + ": " + std::to_string(line.Total()) +
              " (contexto: " + std::to_string(line.filled[kLeverageContext]) +
              ", 100 %: " + std::to_string(line.filled[kLeverageExact]) +
              ", parecidos por revisar: " + std::to_string(line.filled[kLeverageSimilar]) + ")\n";
  }
  if (result.languages.empty()) {
    report +=
        "Ningún módulo de este proyecto tiene en el otro uno del mismo nombre de archivo "
        "(se puede buscar en todos sus módulos).\n";
  }
  report += "\nTextos reutilizados: " + std::to_string(result.Total());
  return report;
}

}  // namespace ulk
