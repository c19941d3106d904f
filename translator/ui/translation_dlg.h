// The translation dialog ("Traducción de recursos"): the texts of one
// entry key in every language of the module, three at a time, the
// original read-only, each with its note and, for a target language, its
// review state. Return accepts, Ctrl+Return makes a line break; Tab past
// the last slot and Shift+Tab before the first scroll on to the next
// language when there is one.
#pragma once

#include <array>

#include "translator/model/translation_rows.h"
#include "translator/ui/ulk_dialog.h"

class wxChoice;
class wxScrollBar;
class wxScrollEvent;
class wxSizer;
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
  wxTextCtrl* SlotNote(int slot) const { return notes_[static_cast<std::size_t>(slot)]; }
  // "traducido", "por revisar", "revisado" (ReviewState order); hidden on
  // the original's slot, empty and disabled while the text is.
  wxChoice* SlotReview(int slot) const { return reviews_[static_cast<std::size_t>(slot)]; }
  wxScrollBar* ScrollBar() const { return scrollBar_; }

  // A scroll request as the scroll bar sends it: the edits are taken back,
  // the rows move and are shown again.
  void Scroll(TranslationScroll request, int thumb = 0);

 private:
  // One slot's label, text, note and state, in `box`, appended to `slots`.
  void MakeSlot(int slot, wxWindow* box, wxSizer* slots);
  void ShowRows();
  void TakeEditsBack();
  void ShowReview(int slot);
  // The slot one of whose controls `window` is, or -1.
  int SlotOf(const wxObject* window) const;
  // The slot's last control that Tab reaches.
  wxWindow* LastOfSlot(int slot) const;
  void OnScroll(wxScrollEvent& event);
  void OnKey(wxKeyEvent& event);

  TranslationRows rows_;
  std::array<wxStaticText*, kTranslationSlots> labels_{};
  std::array<wxTextCtrl*, kTranslationSlots> edits_{};
  std::array<wxStaticText*, kTranslationSlots> noteLabels_{};
  std::array<wxTextCtrl*, kTranslationSlots> notes_{};
  std::array<wxStaticText*, kTranslationSlots> reviewLabels_{};
  std::array<wxChoice*, kTranslationSlots> reviews_{};
  wxScrollBar* scrollBar_ = nullptr;
};

// Runs the dialog on `module`'s entry `key`; on OK writes the edits into
// the module and returns true.
bool RunTranslation(Module& module, const std::string& key, wxWindow* parent);

}  // namespace ulk
