// The dialog of the minimum score of similar texts.
#include "translator/ui/similar_translation_dlg.h"

#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "translator/ui/dialog_ids.h"
#include "uikit/wx_text.h"

namespace ulk {

CSimilarTranslationDlg::CSimilarTranslationDlg(wxWindow* parent, int minimum)
    : UlkDialog(parent, kDlgSimilarTranslation, "Traducir con textos parecidos") {
  auto* explanation = new wxStaticText(
      this, wxID_ANY,
      ToWx("Un texto sin traducción en el diccionario toma la del texto más parecido\n"
           "con al menos esta puntuación; si no es idéntico, queda por revisar."));
  auto* label = new wxStaticText(this, wxID_ANY, ToWx("&Puntuación mínima (50 a 100):"));
  minimum_ = new wxSpinCtrl(this, kCtlSimilarMinimum, wxString(), wxDefaultPosition,
                            wxDefaultSize, wxSP_ARROW_KEYS, 50, 100, minimum);
  auto* line = new wxBoxSizer(wxHORIZONTAL);
  line->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
  line->Add(minimum_, 0, wxALIGN_CENTER_VERTICAL);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(explanation, 0, wxALL, 10);
  top->Add(line, 0, wxLEFT | wxRIGHT | wxBOTTOM, 10);
  top->Add(MakeButtons(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizer(top);
  FitToContents();
  minimum_->SetFocus();
  minimum_->SetSelection(-1, -1);
}

int CSimilarTranslationDlg::Minimum() const {
  return minimum_->GetValue();
}

bool AskSimilarMinimum(wxWindow* parent, int& minimum) {
  CSimilarTranslationDlg dialog(parent, minimum);
  if (dialog.ShowModal() != wxID_OK) return false;
  minimum = dialog.Minimum();
  return true;
}

}  // namespace ulk
