// The striped virtual list.
#include "uikit/striped_list.h"

#include <algorithm>
#include <numeric>

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

wxString StripedListCtrl::OnGetItemText(long item, long column) const {
  if (item < 0 || item >= RowCount() || column < 0) return wxString();
  const auto& cells = rows_[static_cast<std::size_t>(item)].cells;
  const auto col = static_cast<std::size_t>(column);
  return col < cells.size() ? ToWx(cells[col]) : wxString();
}

wxListItemAttr* StripedListCtrl::OnGetItemAttr(long item) const {
  attr_ = wxListItemAttr();
  if (item % 2 == 1) attr_.SetBackgroundColour(StripeColour());
  if (colourOf_ && item >= 0 && item < RowCount()) {
    const wxColour colour = colourOf_(rows_[static_cast<std::size_t>(item)].data);
    if (colour.IsOk()) attr_.SetTextColour(colour);
  }
  return &attr_;
}

}  // namespace ulk
