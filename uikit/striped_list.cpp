// The striped virtual list.
#include "uikit/striped_list.h"

#include <algorithm>
#include <numeric>

#include "platform/text.h"
#include "uikit/wx_text.h"

namespace ulk {

StripedListCtrl::StripedListCtrl(wxWindow* parent, wxWindowID id, long style)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, style | wxLC_REPORT | wxLC_VIRTUAL) {
}

const wxColour& StripedListCtrl::StripeColour() {
  static const wxColour stripe(240, 240, 240);
  return stripe;
}

void StripedListCtrl::SetRows(std::vector<ListRow> rows) {
  rows_ = std::move(rows);
  SetItemCount(static_cast<long>(rows_.size()));
  Refresh();
}

void StripedListCtrl::RefreshRowAt(long row) {
  if (row >= 0 && row < RowCount()) RefreshItem(row);
}

void StripedListCtrl::SetTextColourOf(std::function<wxColour(long data)> colourOf) {
  colourOf_ = std::move(colourOf);
}

ColumnType StripedListCtrl::ColumnTypeOf(int column) const {
  const auto found = columnTypes_.find(column);
  return found == columnTypes_.end() ? ColumnType::kText : found->second;
}

void StripedListCtrl::SortRows(int column, bool ascending) {
  if (column < 0) return;
  const auto col = static_cast<std::size_t>(column);
  const ColumnType type = ColumnTypeOf(column);
  std::vector<std::size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  auto cell = [&](std::size_t row) -> const std::string& {
    static const std::string empty;
    const auto& cells = rows_[row].cells;
    return col < cells.size() ? cells[col] : empty;
  };
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int compared = CompareCells(type, cell(a), cell(b));
    return ascending ? compared < 0 : compared > 0;
  });

  std::vector<std::size_t> selected;
  for (long item = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
       item = GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    selected.push_back(static_cast<std::size_t>(item));
  }
  const long focused = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);

  std::vector<ListRow> sorted;
  sorted.reserve(rows_.size());
  std::vector<long> newIndex(rows_.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    sorted.push_back(std::move(rows_[order[i]]));
    newIndex[order[i]] = static_cast<long>(i);
  }
  rows_ = std::move(sorted);

  for (std::size_t old : selected) SetItemState(static_cast<long>(old), 0, wxLIST_STATE_SELECTED);
  for (std::size_t old : selected) {
    SetItemState(newIndex[old], wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
  if (focused >= 0) {
    SetItemState(newIndex[static_cast<std::size_t>(focused)], wxLIST_STATE_FOCUSED,
                 wxLIST_STATE_FOCUSED);
  }
  RowsReordered(order);
  Refresh();
}

void StripedListCtrl::ShowRowCount(long count) {
  if (GetItemCount() != count) SetItemCount(count);
  Refresh();
}

void StripedListCtrl::SetRowColours(const wxColour& even, const wxColour& odd) {
  evenRows_ = even;
  oddRows_ = odd;
  Refresh();
}

long StripedListCtrl::SelectedRow() const {
  return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
}

void StripedListCtrl::SetSelectedRow(long row) {
  const long current = SelectedRow();
  if (current == row) return;
  if (current >= 0) SetItemState(current, 0, wxLIST_STATE_SELECTED);
  if (row >= 0 && row < GetItemCount()) {
    SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                 wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }
}

wxString StripedListCtrl::OnGetItemText(long item, long column) const {
  if (source_.text) {
    if (item < 0 || item >= GetItemCount()) return wxString();
    // A cell shows one line; the rest of a very long text would only cost
    // time to lay out.
    constexpr std::size_t kShownChars = 1024;
    return ToWx(FirstChars(source_.text(item, column), kShownChars));
  }
  if (item < 0 || item >= RowCount() || column < 0) return wxString();
  const auto& cells = rows_[static_cast<std::size_t>(item)].cells;
  const auto col = static_cast<std::size_t>(column);
  return col < cells.size() ? ToWx(cells[col]) : wxString();
}

int StripedListCtrl::OnGetItemImage(long item) const {
  return OnGetItemColumnImage(item, 0);
}

int StripedListCtrl::OnGetItemColumnImage(long item, long column) const {
  if (source_.text) {
    if (column != 0 || !source_.image || item < 0 || item >= GetItemCount()) return -1;
    return source_.image(item);
  }
  if (item < 0 || item >= RowCount() || column < 0) return -1;
  const auto& images = rows_[static_cast<std::size_t>(item)].images;
  const auto col = static_cast<std::size_t>(column);
  return col < images.size() ? images[col] : -1;
}

wxListItemAttr* StripedListCtrl::OnGetItemAttr(long item) const {
  attr_ = wxListItemAttr();
  const wxColour& background = item % 2 == 0 ? evenRows_ : oddRows_;
  if (background.IsOk()) attr_.SetBackgroundColour(background);
  if (colourOf_ && item >= 0 && item < RowCount()) {
    const wxColour colour = colourOf_(rows_[static_cast<std::size_t>(item)].data);
    if (colour.IsOk()) attr_.SetTextColour(colour);
  }
  return &attr_;
}

}  // namespace ulk
