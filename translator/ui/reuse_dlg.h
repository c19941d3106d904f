// Reusing the translations of another project: the options asked once the
// project is chosen, and the report shown when it is done.
#pragma once

#include <string>

#include "translator/model/leverage.h"
#include "translator/ui/ulk_dialog.h"

class wxCheckBox;
class wxSpinCtrl;

namespace ulk {

class CReuseTranslationsDlg : public UlkDialog {
 public:
  // `otherName` is the chosen project's file name, shown at the top.
  CReuseTranslationsDlg(wxWindow* parent, const std::string& otherName);

  LeverageOptions Options() const;

  wxSpinCtrl* MinimumScore() const { return minimum_; }
  wxCheckBox* Overwrite() const { return overwrite_; }
  wxCheckBox* AllModules() const { return allModules_; }

 private:
  wxSpinCtrl* minimum_ = nullptr;
  wxCheckBox* overwrite_ = nullptr;
  wxCheckBox* allModules_ = nullptr;
};

// One line per language: how many texts each kind of match gave; then the
// total.
std::string LeverageReport(const LeverageResult& result);

}  // namespace ulk
