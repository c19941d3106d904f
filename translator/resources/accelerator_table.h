// Accelerator tables (RT_ACCELERATOR), which are not translated but bind
// keys to the command ids of menu items; and the shortcut a menu item names
// after its tab ("&Speichern\tStrg+S"), read in the usual translations of
// the modifier and key names.
// Ref: Microsoft documentation, "ACCELTABLEENTRY", "Virtual-Key Codes".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ulk {

struct KeyChord {
  std::uint16_t key = 0;  // virtual-key code ('A'..'Z', '0'..'9', 0x70 F1, ...)
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  // A character accelerator: the character's case, not the Shift key,
  // tells it apart, so Shift is not compared.
  bool anyShift = false;

  bool Matches(const KeyChord& other) const;
};

struct Accelerator {
  std::uint16_t command = 0;
  KeyChord chord;
};

// The entries of a table up to the one marked last; false, with what was
// read so far, when the table ends before that entry.
bool ParseAcceleratorTable(std::string_view bytes, std::vector<Accelerator>& accelerators);

// The chord a shortcut text names ("Ctrl+S", "Strg+Umschalt+F5",
// "Mayús+Supr"); false for a text whose modifiers or key we do not know
// (which is then not compared with anything).
bool ParseShortcut(std::string_view text, KeyChord& chord);

// The shortcut of a stored menu text: what follows its first escaped tab;
// empty when there is none.
std::string_view ShortcutOfMenuText(std::string_view stored);

// "Ctrl+Shift+F5", for messages.
std::string DescribeChord(const KeyChord& chord);

}  // namespace ulk
