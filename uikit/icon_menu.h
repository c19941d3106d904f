// Icon menus: every menu item shows the image its command has on one of the
// window's toolbars. The text and image maps and the mnemonic rules live in
// menu_logic.h; the toolkit draws the items. GTK builds a menu item's image
// when the item is appended, so items are given their image as they are
// made (Append) rather than when the menu opens.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <wx/bmpbndl.h>
#include <wx/menu.h>

#include "uikit/menu_logic.h"

class wxToolBar;

namespace ulk {

// Every id here is a command id of the program (see command_id.h); the
// menus and toolbars made carry its wx id.

// A table of images by command id: stands in for a hidden toolbar whose only
// use is to lend its images to the menus.
class MenuImageTable {
 public:
  void Add(int id, const wxBitmapBundle& image);
  // The image's index, or -1.
  int IndexOf(int id) const;
  const wxBitmapBundle& Image(int index) const { return images_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<int> ids_;
  std::vector<wxBitmapBundle> images_;
};

// The prompt string of a command ("status-bar text\ntooltip"), process-wide:
// each program gives its string table here at start.
using CommandPromptLookup = std::function<std::string(int id)>;
void SetCommandPrompts(CommandPromptLookup lookup);
std::string CommandPrompt(int id);

class IconMenus {
 public:
  IconMenus() = default;
  ~IconMenus();
  IconMenus(const IconMenus&) = delete;
  IconMenus& operator=(const IconMenus&) = delete;

  // The window's image sources, in the order they were added; they must
  // outlive the menus made with this object.
  void AddSource(wxToolBar* toolbar);
  void AddSource(const MenuImageTable* table);

  // Toolbars every window asks first (the most recently registered first);
  // they stay registered for the program's lifetime.
  static void RegisterMenuToolbar(wxToolBar* toolbar);
  // Takes a registered toolbar back before it is destroyed (a window that
  // closes while the program goes on).
  static void UnregisterMenuToolbar(wxToolBar* toolbar);

  // Makes an item with `text` ("label\tshortcut", "&" marking the mnemonic)
  // and the status-bar prompt of its command, gives it its command's image
  // and appends it. Records the text in MenuTexts().
  wxMenuItem* Append(wxMenu* menu, int id, const std::string& text,
                     wxItemKind kind = wxITEM_NORMAL);
  wxMenuItem* AppendSubMenu(wxMenu* menu, wxMenu* subMenu, const std::string& text);
  // The image of a command: first source that has it; null bundle if none.
  wxBitmapBundle ImageFor(int id);

 private:
  struct Source {
    const void* key;
    wxToolBar* toolbar;
    const MenuImageTable* table;
  };
  std::vector<Source> sources_;
};

}  // namespace ulk
