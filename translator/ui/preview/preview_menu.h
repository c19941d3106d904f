// The menu as the menu host shows it: a read-only copy of the module's menu
// in which nothing can be chosen and every item can be seen.
#pragma once

#include <cstdint>

#include "translator/resources/menu_template.h"

namespace ulk {

// The command every previewed item carries; the host ignores it.
inline constexpr std::uint32_t kPreviewMenuCommand = 33333;
// The text of an item that has none.
inline constexpr const char* kEmptyMenuItemText = "[  ]";

// At the top level a separator becomes a text item (a menu bar cannot show
// a separator); at any level an item without text gets kEmptyMenuItemText
// and a cleared state, except separators inside pop-ups, which stay; every
// item gets kPreviewMenuCommand. Pop-ups at any depth.
MenuTemplate NormalisePreviewMenu(MenuTemplate menu);

}  // namespace ulk
