// Sorting, column sizing and selection operations for one report list (an
// ordinary one or a StripedListCtrl, whose own row table is then sorted).
#pragma once

#include <map>
#include <string>

#include <wx/listctrl.h>

#include "uikit/list_logic.h"

class wxImageList;

namespace ulk {

class ListCtrlHelper {
 public:
  explicit ListCtrlHelper(wxListCtrl* list = nullptr) : list_(list) {}
  void Attach(wxListCtrl* list) { list_ = list; }
  wxListCtrl* list() const { return list_; }

  // Columns without a type compare as text.
  void SetColumnType(int column, ColumnType type) { columnTypes_[column] = type; }

  // Sorts every row by the column's texts; all cells, item data, image and
  // state travel with the row.
  void SortByColumn(int column, bool ascending);
  // The column fitted to its texts and header, starting from 25 pixels (or
  // from its current width); a hidden column (width 0) is left alone. In
  // lists of many rows only the longest texts are measured.
  void FitColumn(int column, bool fromMinimum = true);
  // The last `count` columns share the client width right of the first of
  // them; the remainder goes to the last.
  void ShareWidth(int count);

  void DeleteAllColumns();
  int ColumnCount() const;
  std::string ColumnText(int column) const;
  // The column under a point in the list's client coordinates, or -1.
  int HitTestColumn(const wxPoint& point) const;

  long FirstSelected() const;
  long FindRowByText(const std::string& text, int column) const;
  // Selected, focused, scrolled into view.
  void SelectRow(long row);
  void SelectAll();
  void DeselectAll();

  // Header sort marks, drawn from the list's small image list.
  void SetHeaderImages(wxImageList* images);
  void SetHeaderImage(int column, int image);
  void ClearHeaderImage(int column) { SetHeaderImage(column, -1); }
  int HeaderImage(int column) const;

 private:
  ColumnType TypeOf(int column) const;
  std::string CellText(long row, int column) const;

  wxListCtrl* list_;
  std::map<int, ColumnType> columnTypes_;
};

}  // namespace ulk
