// Normalising a menu for the preview.
#include "translator/ui/preview/preview_menu.h"

namespace ulk {
namespace {

void NormaliseLevel(std::vector<MenuNode>& items, bool topLevel) {
  for (MenuNode& item : items) {
    if (item.IsSeparator()) {
      if (!topLevel) {
        item.id = kPreviewMenuCommand;
        continue;
      }
      item.type &= ~static_cast<std::uint32_t>(kMftSeparator);
      item.text.clear();
    }
    if (item.text.empty()) {
      item.text = kEmptyMenuItemText;
      item.state = 0;
    }
    item.id = kPreviewMenuCommand;
    NormaliseLevel(item.children, false);
  }
}

}  // namespace

MenuTemplate NormalisePreviewMenu(MenuTemplate menu) {
  NormaliseLevel(menu.items, true);
  return menu;
}

}  // namespace ulk
