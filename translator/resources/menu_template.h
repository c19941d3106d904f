// A menu template (normal or extended) read whole, as a tree: every item
// with its type, state, identifier and text, pop-ups with their children.
// Read by the menu codec's own walk.
// Ref: Microsoft documentation, "MENUITEMTEMPLATE", "MENUEX_TEMPLATE_ITEM",
// "MENUITEMINFO".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace ulk {

// Item types and states as the extended format stores them; a normal
// template's flags are mapped onto them when read.
enum MenuItemBits : std::uint32_t {
  kMftBitmap = 0x4,
  kMftMenuBarBreak = 0x20,
  kMftMenuBreak = 0x40,
  kMftOwnerDraw = 0x100,
  kMftRadioCheck = 0x200,
  kMftSeparator = 0x800,
  kMftRightJustify = 0x4000,
  kMfsGrayed = 0x3,
  kMfsChecked = 0x8,
  kMfsHilite = 0x80,
  kMfsDefault = 0x1000,
};

struct MenuNode {
  std::uint32_t type = 0;
  std::uint32_t state = 0;
  std::uint32_t id = 0;
  std::string text;
  bool popup = false;
  std::vector<MenuNode> children;

  bool IsSeparator() const { return (type & kMftSeparator) != 0; }
};

struct MenuTemplate {
  bool extended = false;
  std::vector<MenuNode> items;  // the top level
};

// Reads the whole menu. A normal item that is not a pop-up and has no text
// is a separator, as the platform's loader makes it; an extended menu's
// items start where its header offset points. Fails with kErrorBadTemplate
// for an unknown version, a template that ends early, or pop-ups nested too
// deep.
Status ReadMenuTemplate(std::string_view bytes, MenuTemplate& out);

}  // namespace ulk
