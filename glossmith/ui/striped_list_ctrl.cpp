// The administrator's striped lists.
#include "glossmith/ui/striped_list_ctrl.h"

#include "platform/text.h"
#include "uikit/wx_text.h"

namespace ulk::glossmith {

const wxColour& CStripedListCtrl::PaleYellow() {
  static const wxColour colour(255, 255, 240);
  return colour;
}

const wxColour& CStripedListCtrl::LightBlue() {
  static const wxColour colour(224, 224, 255);
  return colour;
}

CStripedListCtrl::CStripedListCtrl(wxWindow* parent, wxWindowID id, const wxColour& evenRows)
    : StripedListCtrl(parent, id, wxLC_SINGLE_SEL | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN),
      evenRows_(evenRows) {}

void CStripedListCtrl::ShowRowCount(long count) {
  if (GetItemCount() != count) SetItemCount(count);
  Refresh();
}

long CStripedListCtrl::SelectedRow() const {
  return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}

void CStripedListCtrl::SetSelectedRow(long row) {
  const long current = SelectedRow();
  if (current == row) return;
  if (current >= 0) SetItemState(current, 0, wxLIST_STATE_SELECTED);
  if (row >= 0 && row < GetItemCount()) {
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }
}

wxString CStripedListCtrl::OnGetItemText(long item, long column) const {
  if (!source_.text || item < 0 || item >= GetItemCount()) return wxString();
  // A cell shows one line; the rest of a very long text would only cost
  // time to lay out.
  constexpr std::size_t kShownChars = 1024;
  return ToWx(FirstChars(source_.text(item, column), kShownChars));
}

int CStripedListCtrl::OnGetItemImage(long item) const {
  return OnGetItemColumnImage(item, 0);
}

int CStripedListCtrl::OnGetItemColumnImage(long item, long column) const {
  if (column != 0 || !source_.image || item < 0 || item >= GetItemCount()) return -1;
  return source_.image(item);
}

wxListItemAttr* CStripedListCtrl::OnGetItemAttr(long item) const {
  attr_ = wxListItemAttr();
  attr_.SetBackgroundColour(item % 2 == 0 ? evenRows_ : *wxWHITE);
  return &attr_;
}

}  // namespace ulk::glossmith
