// The administrator's own images: the program icon, the four text types and
// the buttons that have no standard image. Drawn from small SVGs compiled
// into the program; the standard commands (open, find, exit) take the
// theme's images.
#pragma once

#include <wx/bmpbndl.h>

namespace ulk::glossmith {

enum class Art {
  kProgram,
  kMaker,
  kStringType,
  kDialogType,
  kMenuType,
  kVersionType,
  kFilter,
  kLanguages,
  kAddText,
  kEditText,
  kDeleteText,
  kAddTranslation,
  kEditTranslation,
  kDeleteTranslation,
  kCreateLanguage,
  kRenameLanguage,
  kDeleteLanguage,
};

// The image at `size` pixels (square); it scales for larger screens.
wxBitmapBundle ArtImage(Art art, int size = 16);

// The image of a command as its buttons and menu items show it; a null
// bundle for a command without one.
wxBitmapBundle CommandImage(int commandId, int size = 16);

}  // namespace ulk::glossmith
