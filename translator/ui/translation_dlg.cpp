// The translation dialog.
#include "translator/ui/translation_dlg.h"

#include <wx/choice.h>
#include <wx/scrolbar.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/vlbox.h>

#include "translator/model/resource_rows.h"
#include "translator/ui/dialog_ids.h"
#include "translator/ui/translator_app.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kCaption = "Traducción de recursos";
constexpr int kLabelIds[kTranslationSlots] = {kCtlSlot1Label, kCtlSlot2Label, kCtlSlot3Label};
constexpr int kEditIds[kTranslationSlots] = {kCtlSlot1Edit, kCtlSlot2Edit, kCtlSlot3Edit};
constexpr int kNoteIds[kTranslationSlots] = {kCtlSlot1Note, kCtlSlot2Note, kCtlSlot3Note};
constexpr int kReviewIds[kTranslationSlots] = {kCtlSlot1Review, kCtlSlot2Review, kCtlSlot3Review};

TranslationScroll RequestOf(wxEventType type) {
  if (type == wxEVT_SCROLL_LINEUP) return TranslationScroll::kLineUp;
  if (type == wxEVT_SCROLL_LINEDOWN) return TranslationScroll::kLineDown;
  if (type == wxEVT_SCROLL_PAGEUP) return TranslationScroll::kPageUp;
  if (type == wxEVT_SCROLL_PAGEDOWN) return TranslationScroll::kPageDown;
  if (type == wxEVT_SCROLL_THUMBTRACK || type == wxEVT_SCROLL_THUMBRELEASE) {
    return TranslationScroll::kThumb;
  }
  return TranslationScroll::kOther;
}

}  // namespace

// The similar texts: two lines each, the score and the similar original
// (what the entry's original lacks in red, underlined), then its
// translation.
class CMatchList : public wxVListBox {
 public:
  CMatchList(wxWindow* parent, int id)
      : wxVListBox(parent, id, wxDefaultPosition, wxDefaultSize, wxBORDER_THEME) {
    const int line = GetCharHeight();
    SetMinSize(wxSize(FromDIP(480), 4 * (2 * line + 6) + 4));
  }
  void SetMatches(const std::vector<SimilarMatch>* matches) {
    matches_ = matches;
    SetItemCount(matches ? matches->size() : 0);
    if (GetItemCount() > 0) SetSelection(0);
    Refresh();
  }

 protected:
  wxCoord OnMeasureItem(size_t) const override { return 2 * GetCharHeight() + 6; }

  void OnDrawItem(wxDC& dc, const wxRect& rect, size_t n) const override {
    if (!matches_ || n >= matches_->size()) return;
    const SimilarMatch& match = (*matches_)[n];
    const bool selected = IsSelected(n);
    const wxColour text = wxSystemSettings::GetColour(selected ? wxSYS_COLOUR_HIGHLIGHTTEXT
                                                               : wxSYS_COLOUR_LISTBOXTEXT);
    const wxColour marked = selected ? text : wxColour(190, 0, 0);
    wxFont font = GetFont();
    wxFont bold = font.Bold();
    wxFont underlined = font.Underlined();
    const int x0 = rect.x + 4;
    const int y0 = rect.y + 3;
    // The number Ctrl takes, greyed, then the score.
    dc.SetFont(font);
    dc.SetTextForeground(selected ? text : wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
    dc.DrawText(wxString::Format("%zu.", n + 1), x0, y0);
    dc.SetFont(bold);
    dc.SetTextForeground(text);
    const int scoreX = x0 + dc.GetTextExtent("9.  ").x;
    dc.DrawText(wxString::Format("%d %%", match.score), scoreX, y0);
    const int textX = scoreX + dc.GetTextExtent("100 %  ").x;
    // The original in pieces: as they are, and marked.
    int x = textX;
    std::size_t at = 0;
    const auto piece = [&](std::size_t from, std::size_t to, bool isMarked) {
      if (to <= from) return;
      const wxString part = ToWx(match.source.substr(from, to - from));
      dc.SetFont(isMarked ? underlined : font);
      dc.SetTextForeground(isMarked ? marked : text);
      dc.DrawText(part, x, y0);
      x += dc.GetTextExtent(part).x;
    };
    for (const TextRange& range : match.differences) {
      piece(at, range.offset, false);
      piece(range.offset, range.offset + range.length, true);
      at = range.offset + range.length;
    }
    piece(at, match.source.size(), false);
    dc.SetFont(font);
    dc.SetTextForeground(text);
    dc.DrawText(ToWx("→ " + match.translation), textX, y0 + GetCharHeight() + 1);
  }

 private:
  const std::vector<SimilarMatch>* matches_ = nullptr;
};

CTranslationDlg::CTranslationDlg(wxWindow* parent, const Module& module, const std::string& key,
                                 DictionaryComponent* dictionary)
    : UlkDialog(parent, kDlgTranslation, kCaption),
      rows_(module, key),
      module_(module),
      key_(key),
      dictionary_(dictionary && dictionary->IsOpened() && dictionary->HasSimilarTexts()
                      ? dictionary
                      : nullptr) {
  auto* frame = new wxStaticBoxSizer(wxHORIZONTAL, this);
  auto* slots = new wxBoxSizer(wxVERTICAL);
  wxWindow* box = frame->GetStaticBox();
  for (int slot = 0; slot < kTranslationSlots; ++slot) MakeSlot(slot, box, slots);
  scrollBar_ =
      new wxScrollBar(box, kCtlTranslationScroll, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);
  frame->Add(slots, 1, wxEXPAND | wxALL, 6);
  frame->Add(scrollBar_, 0, wxEXPAND | wxTOP | wxBOTTOM | wxRIGHT, 6);

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(frame, 1, wxEXPAND | wxALL, 10);
  if (dictionary_) {
    auto* similar = new wxStaticBoxSizer(wxVERTICAL, this, ToWx("Textos parecidos del diccionario"));
    matches_ = new CMatchList(similar->GetStaticBox(), kCtlSimilarMatches);
    matchesHint_ = new wxStaticText(similar->GetStaticBox(), wxID_ANY, wxString());
    similar->Add(matches_, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
    similar->Add(matchesHint_, 0, wxEXPAND | wxALL, 6);
    top->Add(similar, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    matches_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent& event) {
      if (event.GetSelection() >= 0) UseMatch(static_cast<std::size_t>(event.GetSelection()));
    });
  }
  top->Add(MakeButtons(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizer(top);

  scrollBar_->Bind(wxEVT_SCROLL_LINEUP, &CTranslationDlg::OnScroll, this);
  scrollBar_->Bind(wxEVT_SCROLL_LINEDOWN, &CTranslationDlg::OnScroll, this);
  scrollBar_->Bind(wxEVT_SCROLL_PAGEUP, &CTranslationDlg::OnScroll, this);
  scrollBar_->Bind(wxEVT_SCROLL_PAGEDOWN, &CTranslationDlg::OnScroll, this);
  scrollBar_->Bind(wxEVT_SCROLL_THUMBTRACK, &CTranslationDlg::OnScroll, this);
  scrollBar_->Bind(wxEVT_SCROLL_THUMBRELEASE, &CTranslationDlg::OnScroll, this);
  Bind(wxEVT_CHAR_HOOK, &CTranslationDlg::OnKey, this);

  ShowRows();
  FitToContents();
  // The first text that can be edited: the original's is only to read.
  for (int slot = 0; slot < rows_.VisibleSlots(); ++slot) {
    if (!rows_.RowInSlot(slot)->readOnly) {
      edits_[static_cast<std::size_t>(slot)]->SetFocus();
      SetActiveSlot(slot);
      break;
    }
  }
}

void CTranslationDlg::SetActiveSlot(int slot) {
  const auto isTarget = [&](int s) {
    const TranslationRow* row = s >= 0 ? rows_.RowInSlot(s) : nullptr;
    return row && !row->readOnly;
  };
  if (!isTarget(slot)) {
    slot = -1;
    for (int s = 0; s < rows_.VisibleSlots() && slot < 0; ++s) {
      if (isTarget(s)) slot = s;
    }
  }
  activeSlot_ = slot;
  ShowMatches();
}

void CTranslationDlg::ShowMatches() {
  if (!matches_) return;
  const TranslationRow* row = activeSlot_ >= 0 ? rows_.RowInSlot(activeSlot_) : nullptr;
  const std::string language = row ? row->language : std::string();
  if (language != shownLanguage_) {
    shownLanguage_ = language;
    shown_ = language.empty() ? std::vector<SimilarMatch>()
                              : MatchesFor(module_, key_, language, *dictionary_);
    matches_->SetMatches(&shown_);
  }
  matchesHint_->SetLabel(ToWx(
      shown_.empty() ? "Ningún texto parecido en el diccionario para " + language + "."
                     : "Ctrl+1 ... Ctrl+9 ponen el texto parecido en " + language + "."));
}

bool CTranslationDlg::UseMatch(std::size_t index) {
  if (activeSlot_ < 0 || index >= shown_.size()) return false;
  const SimilarMatch& match = shown_[index];
  const auto slot = static_cast<std::size_t>(activeSlot_);
  rows_.SetSlotText(activeSlot_, match.translation);
  if (match.score < 100) rows_.SetSlotReview(activeSlot_, kReviewNeeded);
  edits_[slot]->ChangeValue(ToWx(match.translation));
  ShowReview(activeSlot_);
  edits_[slot]->SetFocus();
  edits_[slot]->SetInsertionPointEnd();
  return true;
}

void CTranslationDlg::MakeSlot(int slot, wxWindow* box, wxSizer* slots) {
  const auto index = static_cast<std::size_t>(slot);
  wxArrayString states;
  for (std::int32_t review = 0; review < kReviewStateCount; ++review) {
    states.Add(ToWx(std::string(ReviewStateLabel(review))));
  }
  // Made in the order Tab goes: the text, its note, its state.
  labels_[index] = new wxStaticText(box, kLabelIds[slot], wxString());
  edits_[index] = new wxTextCtrl(box, kEditIds[slot], wxString(), wxDefaultPosition,
                                 wxSize(480, 66), wxTE_MULTILINE);
  noteLabels_[index] = new wxStaticText(box, wxID_ANY, ToWx("Nota:"));
  notes_[index] = new wxTextCtrl(box, kNoteIds[slot], wxString());
  reviewLabels_[index] = new wxStaticText(box, wxID_ANY, ToWx("Estado:"));
  reviews_[index] = new wxChoice(box, kReviewIds[slot], wxDefaultPosition, wxDefaultSize, states);

  auto* heading = new wxBoxSizer(wxHORIZONTAL);
  heading->Add(labels_[index], 1, wxALIGN_CENTER_VERTICAL);
  heading->Add(reviewLabels_[index], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  heading->Add(reviews_[index], 0, wxALIGN_CENTER_VERTICAL);
  // The original's slot has no state; its heading keeps the height of the
  // others so that the slots stay put while they scroll.
  heading->SetMinSize(wxSize(-1, reviews_[index]->GetBestSize().y));
  auto* noteLine = new wxBoxSizer(wxHORIZONTAL);
  noteLine->Add(noteLabels_[index], 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  noteLine->Add(notes_[index], 1, wxALIGN_CENTER_VERTICAL);
  auto* slotSizer = new wxBoxSizer(wxVERTICAL);
  slotSizer->Add(heading, 0, wxEXPAND | wxBOTTOM, 3);
  slotSizer->Add(edits_[index], 1, wxEXPAND | wxBOTTOM, 4);
  slotSizer->Add(noteLine, 0, wxEXPAND);
  slots->Add(slotSizer, 1, wxEXPAND | wxBOTTOM, slot + 1 < kTranslationSlots ? 12 : 0);

  edits_[index]->Bind(wxEVT_TEXT, [this, slot](wxCommandEvent&) { ShowReview(slot); });
  for (wxWindow* window : {static_cast<wxWindow*>(edits_[index]),
                           static_cast<wxWindow*>(notes_[index]),
                           static_cast<wxWindow*>(reviews_[index])}) {
    window->Bind(wxEVT_SET_FOCUS, [this, slot](wxFocusEvent& event) {
      if (slot != activeSlot_) SetActiveSlot(slot);
      event.Skip();
    });
  }
  reviews_[index]->Bind(wxEVT_CHOICE, [this, slot](wxCommandEvent& event) {
    if (event.GetSelection() >= 0) rows_.SetSlotReview(slot, event.GetSelection());
  });
}

void CTranslationDlg::ShowRows() {
  const TranslationScrollBar bar = rows_.ScrollBar();
  // The toolkit counts the positions the thumb covers: range n with a
  // thumb of 3 ends at n - 3, as the rows are clamped.
  scrollBar_->SetScrollbar(bar.position, bar.page, bar.shown ? bar.range + 1 : 0, bar.page);
  GetSizer()->Show(scrollBar_, bar.shown, true);
  for (int slot = 0; slot < kTranslationSlots; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    const TranslationRow* row = rows_.RowInSlot(slot);
    for (wxWindow* window :
         {static_cast<wxWindow*>(labels_[index]), static_cast<wxWindow*>(edits_[index]),
          static_cast<wxWindow*>(noteLabels_[index]), static_cast<wxWindow*>(notes_[index])}) {
      window->Show(row != nullptr);
    }
    if (!row) {
      reviewLabels_[index]->Hide();
      reviews_[index]->Hide();
      continue;
    }
    labels_[index]->SetLabel(ToWx(row->language + ":"));
    edits_[index]->ChangeValue(ToWx(row->text));
    edits_[index]->SetEditable(!row->readOnly);
    notes_[index]->ChangeValue(ToWx(row->note));
    reviewLabels_[index]->Show(!row->readOnly);
    reviews_[index]->Show(!row->readOnly);
    ShowReview(slot);
  }
  if (matches_) SetActiveSlot(activeSlot_);
  Layout();
}

void CTranslationDlg::ShowReview(int slot) {
  const auto index = static_cast<std::size_t>(slot);
  const TranslationRow* row = rows_.RowInSlot(slot);
  if (!row || row->readOnly) return;
  // A text not yet there has no state to show.
  const bool hasText = !edits_[index]->IsEmpty();
  reviews_[index]->Enable(hasText);
  reviews_[index]->SetSelection(hasText ? row->review : wxNOT_FOUND);
}

void CTranslationDlg::TakeEditsBack() {
  for (int slot = 0; slot < rows_.VisibleSlots(); ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    rows_.SetSlotText(slot, FromWx(edits_[index]->GetValue()));
    rows_.SetSlotNote(slot, FromWx(notes_[index]->GetValue()));
  }
}

void CTranslationDlg::Scroll(TranslationScroll request, int thumb) {
  TakeEditsBack();
  rows_.Scroll(request, thumb);
  ShowRows();
}

bool CTranslationDlg::Accept() {
  TakeEditsBack();
  if (const std::string problem = rows_.Problem(); !problem.empty()) {
    ShowMessageBox(this, problem, MessageKind::kExclamation);
    return false;
  }
  return true;
}

int CTranslationDlg::SlotOf(const wxObject* window) const {
  for (int slot = 0; slot < kTranslationSlots; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    if (window == edits_[index] || window == notes_[index] || window == reviews_[index]) {
      return slot;
    }
  }
  return -1;
}

wxWindow* CTranslationDlg::LastOfSlot(int slot) const {
  const auto index = static_cast<std::size_t>(slot);
  wxChoice* review = reviews_[index];
  if (review->IsShown() && review->IsEnabled()) return review;
  return notes_[index];
}

void CTranslationDlg::OnScroll(wxScrollEvent& event) {
  Scroll(RequestOf(event.GetEventType()), event.GetPosition());
}

void CTranslationDlg::OnKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const wxObject* from = event.GetEventObject();
  const int slot = SlotOf(from);
  const int last = rows_.VisibleSlots() - 1;
  const int rowCount = static_cast<int>(rows_.Rows().size());
  if (matches_ && event.GetModifiers() == wxMOD_CONTROL && key >= '1' && key <= '9') {
    UseMatch(static_cast<std::size_t>(key - '1'));
    return;
  }
  if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && matches_ && from == matches_ &&
      !event.HasAnyModifiers() && matches_->GetSelection() >= 0) {
    UseMatch(static_cast<std::size_t>(matches_->GetSelection()));
    return;
  }
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    if (event.ControlDown()) {
      // Only a text takes a line break; a note is one line.
      wxTextCtrl* edit = slot >= 0 ? edits_[static_cast<std::size_t>(slot)] : nullptr;
      if (edit && edit == from && edit->IsEditable()) edit->WriteText("\n");
      return;
    }
    if (!event.HasAnyModifiers()) {
      // The edit boxes do not take Return: it presses "Aceptar".
      wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
      ok.SetEventObject(this);
      ProcessWindowEvent(ok);
      return;
    }
  }
  // Tab goes on through the languages before it leaves the slots.
  if (key == WXK_TAB && !event.ControlDown() && !event.AltDown()) {
    const bool back = event.ShiftDown();
    const int first = rows_.FirstVisible();
    if (!back && slot == last && from == LastOfSlot(slot) && first + last + 1 < rowCount) {
      Scroll(TranslationScroll::kLineDown);
      edits_[static_cast<std::size_t>(slot)]->SetFocus();
      return;
    }
    if (back && slot == 0 && from == edits_[0] && first > 0) {
      Scroll(TranslationScroll::kLineUp);
      edits_[0]->SetFocus();
      return;
    }
  }
  if ((key == WXK_PAGEDOWN || key == WXK_PAGEUP) && event.ControlDown() && rowCount > 0) {
    Scroll(key == WXK_PAGEDOWN ? TranslationScroll::kPageDown : TranslationScroll::kPageUp);
    return;
  }
  event.Skip();
}

bool RunTranslation(Module& module, const std::string& key, wxWindow* parent) {
  CTranslationDlg dialog(parent, module, key, TheApp().Dictionary());
  if (dialog.ShowModal() != wxID_OK) return false;
  dialog.Rows().ApplyTo(module);
  return true;
}

}  // namespace ulk
