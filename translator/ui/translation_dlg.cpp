// The translation dialog.
#include "translator/ui/translation_dlg.h"

#include <wx/choice.h>
#include <wx/scrolbar.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "translator/model/resource_rows.h"
#include "translator/ui/dialog_ids.h"
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

CTranslationDlg::CTranslationDlg(wxWindow* parent, const Module& module, const std::string& key)
    : UlkDialog(parent, kDlgTranslation, kCaption), rows_(module, key) {
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
      break;
    }
  }
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
  CTranslationDlg dialog(parent, module, key);
  if (dialog.ShowModal() != wxID_OK) return false;
  dialog.Rows().ApplyTo(module);
  return true;
}

}  // namespace ulk
