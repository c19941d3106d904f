// Report-list helpers.
#include "uikit/list_ctrl_helper.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include <wx/imaglist.h>

#include "uikit/striped_list.h"
#include "uikit/wx_text.h"

namespace ulk {
namespace {

// Measuring every text of a long list would take longer than filling it;
// above this many rows only the longest texts are measured.
constexpr long kMeasureAllRows = 2000;
constexpr std::size_t kMeasuredTexts = 200;

}  // namespace

ColumnType ListCtrlHelper::TypeOf(int column) const {
  const auto found = columnTypes_.find(column);
  return found == columnTypes_.end() ? ColumnType::kText : found->second;
}

std::string ListCtrlHelper::CellText(long row, int column) const {
  if (auto* striped = dynamic_cast<StripedListCtrl*>(list_)) {
    const auto& cells = striped->RowAt(row).cells;
    const auto col = static_cast<std::size_t>(column);
    return col < cells.size() ? cells[col] : std::string();
  }
  return FromWx(list_->GetItemText(row, column));
}

void ListCtrlHelper::SortByColumn(int column, bool ascending) {
  if (!list_ || column < 0 || column >= list_->GetColumnCount()) return;
  if (auto* striped = dynamic_cast<StripedListCtrl*>(list_)) {
    striped->SetColumnType(column, TypeOf(column));
    striped->SortRows(column, ascending);
    return;
  }
  struct Row {
    std::vector<wxString> cells;
    wxUIntPtr data;
    int image;
    long state;
  };
  const long count = list_->GetItemCount();
  const int columns = list_->GetColumnCount();
  std::vector<Row> rows;
  rows.reserve(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i) {
    Row row;
    for (int c = 0; c < columns; ++c) row.cells.push_back(list_->GetItemText(i, c));
    row.data = list_->GetItemData(i);
    wxListItem info;
    info.SetId(i);
    info.SetMask(wxLIST_MASK_IMAGE);
    list_->GetItem(info);
    row.image = info.GetImage();
    row.state = list_->GetItemState(i, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    rows.push_back(std::move(row));
  }
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (const Row& row : rows) keys.push_back(FromWx(row.cells[static_cast<std::size_t>(column)]));
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  const ColumnType type = TypeOf(column);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const int compared = CompareCells(type, keys[a], keys[b]);
    return ascending ? compared < 0 : compared > 0;
  });
  list_->Freeze();
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Row& row = rows[order[i]];
    const long item = static_cast<long>(i);
    for (int c = 0; c < columns; ++c)
      list_->SetItem(item, c, row.cells[static_cast<std::size_t>(c)]);
    list_->SetItemImage(item, row.image);
    list_->SetItemPtrData(item, row.data);
    list_->SetItemState(item, row.state, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  }
  list_->Thaw();
}

void ListCtrlHelper::FitColumn(int column, bool fromMinimum) {
  if (!list_ || column < 0 || column >= list_->GetColumnCount()) return;
  const int current = list_->GetColumnWidth(column);
  if (current <= 0) return;
  const long count = list_->GetItemCount();
  std::vector<std::string> texts;
  texts.reserve(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i) texts.push_back(CellText(i, column));
  if (count > kMeasureAllRows) {
    std::partial_sort(
        texts.begin(), texts.begin() + static_cast<long>(std::min(kMeasuredTexts, texts.size())),
        texts.end(),
        [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    texts.resize(std::min(kMeasuredTexts, texts.size()));
  }
  std::vector<int> widths;
  widths.reserve(texts.size());
  for (const std::string& text : texts) widths.push_back(list_->GetTextExtent(ToWx(text)).x);
  const int header = list_->GetTextExtent(ToWx(ColumnText(column))).x;
  list_->SetColumnWidth(column,
                        FitColumnWidth(fromMinimum ? kColumnMargin : current, header, widths));
}

void ListCtrlHelper::ShareWidth(int count) {
  if (!list_) return;
  const int columns = list_->GetColumnCount();
  if (columns == 0 || count <= 0) return;
  const int first = std::max(0, columns - count);
  int left = 0;
  for (int c = 0; c < first; ++c) left += list_->GetColumnWidth(c);
  const std::vector<int> widths = ShareWidths(list_->GetClientSize().x - left, columns - first);
  for (int c = first; c < columns; ++c) {
    list_->SetColumnWidth(c, widths[static_cast<std::size_t>(c - first)]);
  }
}

void ListCtrlHelper::DeleteAllColumns() {
  if (list_) list_->DeleteAllColumns();
}

int ListCtrlHelper::ColumnCount() const {
  return list_ ? list_->GetColumnCount() : 0;
}

std::string ListCtrlHelper::ColumnText(int column) const {
  if (!list_ || column < 0 || column >= list_->GetColumnCount()) return {};
  wxListItem info;
  info.SetMask(wxLIST_MASK_TEXT);
  list_->GetColumn(column, info);
  return FromWx(info.GetText());
}

int ListCtrlHelper::HitTestColumn(const wxPoint& point) const {
  if (!list_) return -1;
  // The rows scroll sideways under the header; columns lie at unscrolled
  // positions.
  const int x = list_->CalcUnscrolledPosition(point).x;
  int left = 0;
  for (int c = 0; c < list_->GetColumnCount(); ++c) {
    const int width = list_->GetColumnWidth(c);
    if (x >= left && x < left + width) return c;
    left += width;
  }
  return -1;
}

long ListCtrlHelper::FirstSelected() const {
  return list_ ? list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED) : -1;
}

long ListCtrlHelper::FindRowByText(const std::string& text, int column) const {
  if (!list_) return -1;
  for (long i = 0; i < list_->GetItemCount(); ++i) {
    if (CellText(i, column) == text) return i;
  }
  return -1;
}

void ListCtrlHelper::SelectRow(long row) {
  if (!list_ || row < 0 || row >= list_->GetItemCount()) return;
  list_->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                      wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  list_->EnsureVisible(row);
}

void ListCtrlHelper::SelectAll() {
  if (!list_) return;
  for (long i = 0; i < list_->GetItemCount(); ++i) {
    list_->SetItemState(i, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
}

void ListCtrlHelper::DeselectAll() {
  if (!list_) return;
  for (long i = list_->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
       i = list_->GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) {
    list_->SetItemState(i, 0, wxLIST_STATE_SELECTED);
  }
}

void ListCtrlHelper::SetHeaderImages(wxImageList* images) {
  if (list_) list_->SetImageList(images, wxIMAGE_LIST_SMALL);
}

void ListCtrlHelper::SetHeaderImage(int column, int image) {
  if (!list_ || column < 0 || column >= list_->GetColumnCount()) return;
  wxListItem info;
  info.SetMask(wxLIST_MASK_IMAGE);
  list_->GetColumn(column, info);
  info.SetMask(wxLIST_MASK_IMAGE);
  info.SetImage(image);
  list_->SetColumn(column, info);
}

int ListCtrlHelper::HeaderImage(int column) const {
  if (!list_ || column < 0 || column >= list_->GetColumnCount()) return -1;
  wxListItem info;
  info.SetMask(wxLIST_MASK_IMAGE);
  list_->GetColumn(column, info);
  return info.GetImage();
}

}  // namespace ulk
