// The about box of both programs: two icons and the lines of the program's
// own version block, the last one a web link.
#pragma once

#include <string>

#include <wx/bmpbndl.h>
#include <wx/dialog.h>

#include "uikit/about_text.h"

class wxStaticText;

namespace ulk {

class AboutBox : public wxDialog {
 public:
  static constexpr int kTemplateId = 100;
  static constexpr int kGroupId = 1023;
  static constexpr int kText1Id = 1021;
  static constexpr int kText2Id = 1022;
  static constexpr int kText3Id = 1024;
  static constexpr int kText4Id = 1025;
  static constexpr int kLinkId = 1026;

  struct Options {
    std::string caption;        // "Acerca de ULK"
    wxBitmapBundle icon;        // the program's icon, also the window's
    wxBitmapBundle secondIcon;  // the maker's
    bool releaseWhenNoSpecialBuild = false;
    std::string programPath;  // "" = the running program
  };

  AboutBox(wxWindow* parent, const Options& options);

  const AboutText& text() const { return text_; }
  bool linkHovered() const { return hovered_; }
  // What a click on the link does: opens it when it is a web address.
  bool OpenLink();

 private:
  void SetHovered(bool hovered);

  AboutText text_;
  wxStaticText* link_ = nullptr;
  bool hovered_ = false;
};

}  // namespace ulk
