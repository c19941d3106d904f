// A report list over a table of rows (virtual: the control asks for the
// texts of the rows it paints, so a table of tens of thousands of rows shows
// at once), held by the control itself or by another object that it shows
// without copying: rows striped, text colours from each row's data, sorting
// that keeps the selection on its rows.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <wx/listctrl.h>

#include "uikit/list_logic.h"

namespace ulk {

struct ListRow {
  std::vector<std::string> cells;  // UTF-8, one per column
  long data = 0;
  // Per column, an image of the list's small image list drawn before the
  // cell's text (-1, or no entry: none).
  std::vector<int> images;
};

class StripedListCtrl : public wxListCtrl {
 public:
  // `style` gets wxLC_REPORT and wxLC_VIRTUAL added.
  StripedListCtrl(wxWindow* parent, wxWindowID id,
                  long style = wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN);

  // Replaces the rows; the control shows them at once.
  void SetRows(std::vector<ListRow> rows);

  // Rows that another object holds: the cell texts of a row and the image
  // of its first column (-1 for none). While a source is set, it is what the
  // control shows, ShowRowCount rows of it.
  struct Source {
    std::function<std::string_view(long row, long column)> text;
    std::function<int(long row)> image;
  };
  void SetSource(Source source) { source_ = std::move(source); }
  // Shows `count` rows of the source and repaints them.
  void ShowRowCount(long count);

  // The background of even and odd rows; an invalid colour keeps the
  // control's own. At first: even rows the control's, odd rows
  // StripeColour().
  void SetRowColours(const wxColour& even, const wxColour& odd);

  // The first selected row, or -1.
  long SelectedRow() const;
  // Selects and focuses one row (-1: none) without scrolling.
  void SetSelectedRow(long row);
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

  // What the list shows of a row: its own callbacks, open to the window
  // tests.
  wxString OnGetItemText(long item, long column) const override;
  wxListItemAttr* OnGetItemAttr(long item) const override;
  // The images of the rows' cells (ListRow::images), or of a source's first
  // column.
  int OnGetItemImage(long item) const override;
  int OnGetItemColumnImage(long item, long column) const override;

 protected:
  // After a sort: `order[i]` is the old index of the row now at i.
  virtual void RowsReordered(const std::vector<std::size_t>& order) { (void)order; }

 private:
  std::vector<ListRow> rows_;
  Source source_;
  wxColour evenRows_;
  wxColour oddRows_ = StripeColour();
  std::function<wxColour(long)> colourOf_;
  std::map<int, ColumnType> columnTypes_;
  mutable wxListItemAttr attr_;
};

}  // namespace ulk
