// The translation dialog ("Traducción de recursos"): the texts of one
// entry key in every language of the module, three at a time, the
// original read-only, each with its note and, for a target language, its
// review state. Return accepts, Ctrl+Return makes a line break; Tab past
// the last slot and Shift+Tab before the first scroll on to the next
// language when there is one. With a dictionary that finds similar texts,
// the similar texts of the original and their translations into the
// language being edited are listed under the slots, best first, the parts
// of each that the original lacks marked; Ctrl+1 ... Ctrl+9 (or a double
// click, or Return in the list) put one into that language's text.
#pragma once

#include <array>

#include "translator/dictionary/dictionary_translation.h"
#include "translator/model/translation_rows.h"
#include "translator/ui/ulk_dialog.h"

class wxChoice;
class wxScrollBar;
class wxScrollEvent;
class wxSizer;
class wxStaticText;
class wxTextCtrl;

namespace ulk {

class CMatchList;

class CTranslationDlg : public UlkDialog {
 public:
  // `dictionary` may be null: no similar texts then.
  CTranslationDlg(wxWindow* parent, const Module& module, const std::string& key,
                  DictionaryComponent* dictionary = nullptr);

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
  // The similar texts shown, for the language of the active slot (null
  // without a dictionary that finds them).
  CMatchList* Matches() const { return matches_; }
  const std::vector<SimilarMatch>& ShownMatches() const { return shown_; }
  int ActiveSlot() const { return activeSlot_; }
  // Puts the match `index` (0 for the best) into the active slot's text; a
  // text below 100 is marked for review. False when there is no such match.
  bool UseMatch(std::size_t index);

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
  // The slot being edited: the one that last had the focus, if it shows a
  // target language, else the first that does; -1 when none does.
  void SetActiveSlot(int slot);
  void ShowMatches();

  TranslationRows rows_;
  std::array<wxStaticText*, kTranslationSlots> labels_{};
  std::array<wxTextCtrl*, kTranslationSlots> edits_{};
  std::array<wxStaticText*, kTranslationSlots> noteLabels_{};
  std::array<wxTextCtrl*, kTranslationSlots> notes_{};
  std::array<wxStaticText*, kTranslationSlots> reviewLabels_{};
  std::array<wxChoice*, kTranslationSlots> reviews_{};
  wxScrollBar* scrollBar_ = nullptr;

  const Module& module_;
  std::string key_;
  DictionaryComponent* dictionary_ = nullptr;
  CMatchList* matches_ = nullptr;
  wxStaticText* matchesHint_ = nullptr;
  std::vector<SimilarMatch> shown_;
  std::string shownLanguage_;
  int activeSlot_ = -1;
};

// Runs the dialog on `module`'s entry `key`; on OK writes the edits into
// the module and returns true.
bool RunTranslation(Module& module, const std::string& key, wxWindow* parent);

}  // namespace ulk
