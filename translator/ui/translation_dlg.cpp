// The translation dialog.
#include "translator/ui/translation_dlg.h"

#include <wx/scrolbar.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "translator/ui/dialog_ids.h"
#include "uikit/message_box.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

constexpr const char* kCaption = "Traducción de recursos";
constexpr int kLabelIds[kTranslationSlots] = {kCtlSlot1Label, kCtlSlot2Label, kCtlSlot3Label};
constexpr int kEditIds[kTranslationSlots] = {kCtlSlot1Edit, kCtlSlot2Edit, kCtlSlot3Edit};

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
  for (int slot = 0; slot < kTranslationSlots; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    labels_[index] = new wxStaticText(box, kLabelIds[slot], wxString());
    edits_[index] = new wxTextCtrl(box, kEditIds[slot], wxString(), wxDefaultPosition,
                                   wxSize(480, 66), wxTE_MULTILINE);
    slots->Add(labels_[index], 0, wxTOP | wxBOTTOM, 3);
    slots->Add(edits_[index], 1, wxEXPAND | wxBOTTOM, 6);
  }
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

void CTranslationDlg::ShowRows() {
  const TranslationScrollBar bar = rows_.ScrollBar();
  // The toolkit counts the positions the thumb covers: range n with a
  // thumb of 3 ends at n - 3, as the rows are clamped.
  scrollBar_->SetScrollbar(bar.position, bar.page, bar.shown ? bar.range + 1 : 0, bar.page);
  GetSizer()->Show(scrollBar_, bar.shown, true);
  for (int slot = 0; slot < kTranslationSlots; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    const TranslationRow* row = rows_.RowInSlot(slot);
    labels_[index]->Show(row != nullptr);
    edits_[index]->Show(row != nullptr);
    if (!row) continue;
    labels_[index]->SetLabel(ToWx(row->language + ":"));
    edits_[index]->ChangeValue(ToWx(row->text));
    edits_[index]->SetEditable(!row->readOnly);
  }
  Layout();
}

void CTranslationDlg::TakeEditsBack() {
  for (int slot = 0; slot < rows_.VisibleSlots(); ++slot) {
    rows_.SetSlotText(slot, FromWx(edits_[static_cast<std::size_t>(slot)]->GetValue()));
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
    if (window == edits_[static_cast<std::size_t>(slot)]) return slot;
  }
  return -1;
}

void CTranslationDlg::OnScroll(wxScrollEvent& event) {
  Scroll(RequestOf(event.GetEventType()), event.GetPosition());
}

void CTranslationDlg::OnKey(wxKeyEvent& event) {
  const int key = event.GetKeyCode();
  const int slot = SlotOf(event.GetEventObject());
  const int last = rows_.VisibleSlots() - 1;
  const int rowCount = static_cast<int>(rows_.Rows().size());
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    if (event.ControlDown()) {
      wxTextCtrl* edit = slot >= 0 ? edits_[static_cast<std::size_t>(slot)] : nullptr;
      if (edit && edit->IsEditable()) edit->WriteText("\n");
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
    if (!back && slot == last && first + last + 1 < rowCount) {
      Scroll(TranslationScroll::kLineDown);
      edits_[static_cast<std::size_t>(slot)]->SetFocus();
      return;
    }
    if (back && slot == 0 && first > 0) {
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
