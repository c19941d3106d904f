// The translation dialog ("Traducción de recursos"): the texts of one
// entry key in every language of the module, three at a time, the
// original read-only. Return accepts, Ctrl+Return makes a line break; Tab
// past the last slot and Shift+Tab before the first scroll on to the next
// language when there is one.
#pragma once

#include <array>

#include "translator/model/translation_rows.h"
#include "translator/ui/ulk_dialog.h"

class wxScrollBar;
class wxScrollEvent;
class wxStaticText;
class wxTextCtrl;

namespace ulk {

class CTranslationDlg : public UlkDialog {
 public:
  CTranslationDlg(wxWindow* parent, const Module& module, const std::string& key);

  // Takes the edits back; the caller then writes Rows() into the module.
  bool Accept() override;
  const TranslationRows& Rows() const { return rows_; }

  // The slots' windows, for tests.
  wxStaticText* SlotLabel(int slot) const { return labels_[static_cast<std::size_t>(slot)]; }
  wxTextCtrl* SlotEdit(int slot) const { return edits_[static_cast<std::size_t>(slot)]; }
  wxScrollBar* ScrollBar() const { return scrollBar_; }

  // A scroll request as the scroll bar sends it: the edits are taken back,
  // the rows move and are shown again.
  void Scroll(TranslationScroll request, int thumb = 0);

 private:
  void ShowRows();
  void TakeEditsBack();
  int SlotOf(const wxObject* window) const;
  void OnScroll(wxScrollEvent& event);
  void OnKey(wxKeyEvent& event);

  TranslationRows rows_;
  std::array<wxStaticText*, kTranslationSlots> labels_{};
  std::array<wxTextCtrl*, kTranslationSlots> edits_{};
  wxScrollBar* scrollBar_ = nullptr;
};

// Runs the dialog on `module`'s entry `key`; on OK writes the edits into
// the module and returns true.
bool RunTranslation(Module& module, const std::string& key, wxWindow* parent);

}  // namespace ulk
