// The findings of a translation check, one row each. The window stays open
// beside the main window (not modal), so that the translator can mend a
// text and come back to the list: a double click, Return or "Ir al
// recurso" selects the finding's row in the resource list.
#pragma once

#include <functional>

#include "translator/exchange/quality_check.h"
#include "translator/ui/ulk_dialog.h"

class wxStaticText;
class wxTextCtrl;

namespace ulk {

class CFindingsDlg : public UlkDialog {
 public:
  using GoTo = std::function<void(const Finding&)>;
  CFindingsDlg(wxWindow* parent, GoTo goTo);

  // Shows the findings of a new check in place of the old ones.
  void SetResult(CheckResult result);
  const CheckResult& Result() const { return result_; }

  // Goes to the selected finding; the window stays open.
  bool Accept() override;
  // Goes to the finding of `row` (what a double click does).
  void GoToRow(long row);

  wxListCtrl* List() const { return list_; }
  wxTextCtrl* CountLine() const { return count_; }
  wxStaticText* NotesLine() const { return notes_; }
  // The selected finding whole.
  wxTextCtrl* WholeText() const { return whole_; }

 private:
  void FitColumns();
  // The finding a list row shows; none for a row out of range.
  const Finding* FindingAt(long row) const;
  void ShowWhole(long row);

  GoTo goTo_;
  CheckResult result_;
  wxListCtrl* list_ = nullptr;
  wxTextCtrl* count_ = nullptr;
  wxTextCtrl* whole_ = nullptr;
  wxStaticText* notes_ = nullptr;
};

}  // namespace ulk
