// A report list over a table of rows held by the control itself (virtual:
// the control asks for the texts of the rows it paints, so a table of tens
// of thousands of rows shows at once): odd rows striped, text colours from
// each row's data, sorting that keeps the selection on its rows.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <wx/listctrl.h>

#include "uikit/list_logic.h"

namespace ulk {

struct ListRow {
  std::vector<std::string> cells;  // UTF-8, one per column
  long data = 0;
};

class StripedListCtrl : public wxListCtrl {
 public:
  // `style` gets wxLC_REPORT and wxLC_VIRTUAL added.
  StripedListCtrl(wxWindow* parent, wxWindowID id,
                  long style = wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN);

  // Replaces the rows; the control shows them at once.
  void SetRows(std::vector<ListRow> rows);
  const std::vector<ListRow>& Rows() const { return rows_; }
  ListRow& RowAt(long row) { return rows_[static_cast<std::size_t>(row)]; }
  long RowCount() const { return static_cast<long>(rows_.size()); }
  // Repaints a row after its cells or data changed.
  void RefreshRowAt(long row);

  // A row's text colour from its data; an invalid colour keeps the
  // control's own.
  void SetTextColourOf(std::function<wxColour(long data)> colourOf);
  void SetColumnType(int column, ColumnType type) { columnTypes_[column] = type; }
  ColumnType ColumnTypeOf(int column) const;

  // Sorts the rows by a column's texts (stable); the selected and focused
  // rows stay selected and focused. Calls RowsReordered.
  void SortRows(int column, bool ascending);

  static const wxColour& StripeColour();

 protected:
  wxString OnGetItemText(long item, long column) const override;
  wxListItemAttr* OnGetItemAttr(long item) const override;
  // Rows have no images; an image list serves the header's sort marks.
  int OnGetItemImage(long) const override { return -1; }
  int OnGetItemColumnImage(long, long) const override { return -1; }
  // After a sort: `order[i]` is the old index of the row now at i.
  virtual void RowsReordered(const std::vector<std::size_t>& order) { (void)order; }

 private:
  std::vector<ListRow> rows_;
  std::function<wxColour(long)> colourOf_;
  std::map<int, ColumnType> columnTypes_;
  mutable wxListItemAttr attr_;
};

}  // namespace ulk
