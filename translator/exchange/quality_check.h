// Checks of the translations of a project, a module or one language: what
// a reviewer would otherwise find in the translated module (a lost format
// specifier, a hotkey twice on one menu level, a text too wide for its
// control, ...). Nothing changes; the findings are for a list or a report.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "translator/model/operation_ui.h"
#include "translator/model/project.h"

namespace ulk {

enum class CheckKind {
  kFormat,        // format specifiers missing, added or reordered
  kHotkeyCount,   // a different number of "&" hotkeys
  kHotkeyClash,   // two items of one menu level, or two controls of a dialog, share a hotkey
  kBlanks,        // leading or trailing blanks differ
  kPunctuation,   // the final punctuation differs
  kUntranslated,  // no translation (the original has letters)
  kIdentical,     // the translation equals the original (which has letters)
  kWidth,         // wider than its dialog control in the dialog's font
  kShortcut,      // a menu item's shortcut is not the key its accelerator binds
  kOverlap,       // the language's layout makes two controls overlap that did not
};

// The check's name for machines ("format", ...) and for people ("formato", ...).
const char* CheckId(CheckKind kind);
const char* CheckLabel(CheckKind kind);

struct Finding {
  std::int32_t moduleId = 0;  // to find the module and the row again
  std::string moduleFile;     // the module's file name
  std::string language;
  std::string key;
  CheckKind check = CheckKind::kFormat;
  std::string original;     // stored (escaped) texts
  std::string translation;  // "" when untranslated
  std::string detail;       // what exactly, in Spanish
};

struct CheckResult {
  std::vector<Finding> findings;  // by module, language and entry order
  std::size_t checked = 0;        // texts looked at (entries x target languages)
  // What could not be checked and why (a module file that cannot be read
  // leaves its widths and menu levels unchecked; no font for the widths).
  std::vector<std::string> notes;
};

// Checks every module of the project, or only `module`; every target
// language, or only the one named `language` (when not null). Progress
// and the status text go through `ui`.
CheckResult CheckTranslations(const Project& project, const Module* module,
                              const std::string* language, OperationUi& ui);

}  // namespace ulk
