// Where the texts of a module stand: the font and the control sizes of its
// dialogs and the levels of its menus, read from the module file, for the
// checks and the exchange formats that warn about length and hotkeys.
// Ref: Microsoft documentation, "DLGTEMPLATE", "DLGITEMTEMPLATE",
// "DLGTEMPLATEEX", "DLGITEMTEMPLATEEX", "MENUITEMTEMPLATE",
// "MENUEX_TEMPLATE_ITEM", "ACCELTABLEENTRY".
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "translator/resources/accelerator_table.h"
#include "translator/resources/dialog_template.h"

namespace ulk {

// What the checks need of a control: where it stands and what it is.
struct ControlBox {
  std::uint32_t item = 0;                     // the control's position, from 1 (its entry's item)
  std::uint32_t id = 0;                       // its identifier (low 16 bits in a DLGTEMPLATEEX)
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::uint32_t style = 0;
  bool classIsOrdinal = false;
  std::uint16_t classOrdinal = 0;  // 0x80 button, 0x82 static, ...
};

struct DialogBox {
  bool hasFont = false;  // DS_SETFONT: else the system font
  DialogFont font;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::vector<ControlBox> controls;  // every control, in template order

  const ControlBox* Control(std::uint32_t item) const;
};

// For every item of a menu (numbered as its entries are), the item number
// of the pop-up that holds it, or -1 on the top level.
struct MenuLayout {
  std::vector<std::int32_t> parents;
  std::vector<std::uint32_t> commands;  // each item's command id (0 for a pop-up of a normal menu)
};

struct ModuleLayouts {
  std::map<std::string, DialogBox, std::less<>> dialogs;  // by upper-case resource key
  std::map<std::string, MenuLayout, std::less<>> menus;
  // The component path of each interface text of every form stream, by
  // upper-case resource key and string ordinal.
  std::map<std::string, std::map<std::uint32_t, std::string>, std::less<>> formPaths;
  // The keys of every accelerator table, by command id.
  std::multimap<std::uint32_t, KeyChord> accelerators;

  // The dialog of an entry key ("DL_..."), and its control; null when the
  // module has no such dialog or control.
  const DialogBox* DialogOf(std::string_view entryKey) const;
  const ControlBox* ControlOf(std::string_view entryKey) const;
  // The level of a menu entry: the pop-up item that holds it (-1 on top);
  // false when the module has no such menu item.
  bool MenuParentOf(std::string_view entryKey, std::int32_t& parent) const;
  // The component path of a form entry ("Form1.Button1.Caption"); null
  // when the module has no such form text.
  const std::string* FormPathOf(std::string_view entryKey) const;
  // The command id of a menu entry; false when the module has no such item.
  bool MenuCommandOf(std::string_view entryKey, std::uint32_t& command) const;
};

// False for a template that ends before its declared controls or items.
bool ParseDialogBox(std::string_view bytes, DialogBox& layout);
bool ParseMenuLayout(std::string_view bytes, MenuLayout& layout);

// Reads the dialogs, menus, form streams and accelerator tables of a module file (in the language
// the reader takes); a damaged template is left out. Returns 0 or an error code for SystemErrorText
// with the path.
int ReadModuleLayouts(const std::string& path, ModuleLayouts& layouts);

}  // namespace ulk
