// The translator's images: the theme's icons for the standard commands, our
// own small drawings (compiled in) for the rest, the tree's image list and
// the program's icons.
#pragma once

#include <cstdint>

#include <wx/bmpbndl.h>

class wxImageList;

namespace ulk {

// The image of a command's toolbar button and menu item; an invalid bundle
// for a command without one.
wxBitmapBundle CommandImage(int id);

// The 16x16 images of the tree and the resource list, indexed by
// TreeImage. The caller owns the list.
wxImageList* CreateTreeImages();

// The image of a list cell with a review state (kNoReviewState for none)
// and with a note or none; -1 for a cell that has neither mark.
int CellMarkImage(std::int32_t review, bool hasNote);

wxBitmapBundle ProgramIcon();  // the program's own (32x32)
wxBitmapBundle MakerIcon();    // the maker's (32x32)
wxBitmapBundle ModuleIcon();   // a module file's (16x16)

}  // namespace ulk
