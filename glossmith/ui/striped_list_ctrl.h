// The administrator's lists: the toolkit's striped virtual list, with even
// rows in a colour of the window's choosing (pale yellow in the main
// window, light blue in the languages dialog) and odd rows white, showing
// rows that another object holds (the browser's text rows, the languages
// dialog's languages) without copying them.
#pragma once

#include <functional>
#include <string_view>

#include "uikit/striped_list.h"

namespace ulk::glossmith {

class CStripedListCtrl : public StripedListCtrl {
 public:
  static const wxColour& PaleYellow();
  static const wxColour& LightBlue();

  // The cell texts of a row (text) and the image of its first column
  // (image; -1 for none).
  struct Source {
    std::function<std::string_view(long row, long column)> text;
    std::function<int(long row)> image;
  };

  // A single-selection report list with grid lines.
  CStripedListCtrl(wxWindow* parent, wxWindowID id, const wxColour& evenRows);

  void SetSource(Source source) { source_ = std::move(source); }
  // Shows `count` rows of the source and repaints them.
  void ShowRowCount(long count);

  // The first selected row, or -1.
  long SelectedRow() const;
  // Selects and focuses one row (-1: none) without scrolling.
  void SetSelectedRow(long row);

  // What the list shows of a row: its own callbacks, open to the window
  // tests.
  wxString OnGetItemText(long item, long column) const override;
  int OnGetItemImage(long item) const override;
  int OnGetItemColumnImage(long item, long column) const override;
  wxListItemAttr* OnGetItemAttr(long item) const override;

 private:
  Source source_;
  wxColour evenRows_;
  mutable wxListItemAttr attr_;
};

}  // namespace ulk::glossmith
