// Pseudo-translation: a target language filled with the original texts
// made strange on purpose (accented look-alike letters, lengthened, in
// brackets), so that cut-off texts, hard-coded strings and encoding faults
// show at a glance in the generated module. Hotkeys, format specifiers and
// escape sequences stay as they are, so the module still works.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "translator/model/project.h"
#include "translator/model/undo_history.h"

namespace ulk {

inline constexpr int kDefaultPseudoExpansion = 30;
inline constexpr int kMaxPseudoExpansion = 1000;

// The pseudo-translation of a stored text, at least `expandPercent` per
// cent longer (in characters) than the original, brackets included. In a
// menu item the shortcut after the escaped tab stays outside the brackets.
std::string PseudoText(std::string_view stored, int expandPercent, bool menuItem);

struct PseudoResult {
  bool ok = false;
  std::string message;     // why nothing was done, when not ok
  std::size_t filled = 0;  // entries written
  std::vector<std::string> changedKeys;
};

// Fills `language` (a target language of the module) with the pseudo-
// translation of every original entry. With a history, one undo step.
PseudoResult PseudoTranslate(Module& module, std::string_view language, int expandPercent,
                             UndoHistory* history);

}  // namespace ulk
