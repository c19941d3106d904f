// The minimum score for translating the selected texts with the dictionary's
// similar texts ("Traducir con textos parecidos...").
#pragma once

#include "translator/ui/ulk_dialog.h"

class wxSpinCtrl;

namespace ulk {

class CSimilarTranslationDlg : public UlkDialog {
 public:
  CSimilarTranslationDlg(wxWindow* parent, int minimum);
  int Minimum() const;
  wxSpinCtrl* MinimumField() const { return minimum_; }

 private:
  wxSpinCtrl* minimum_ = nullptr;
};

// Asks for the minimum score, starting from `minimum`; false when the user
// cancels.
bool AskSimilarMinimum(wxWindow* parent, int& minimum);

}  // namespace ulk
