// The parts of a stored text that a translation must carry over as they
// are: format specifiers (printf's "%d", "%1$s"; the message formatter's
// "%1", "%1!d!"; braces "{0}"), escape sequences ("\n", "\r", "\t") and
// hotkey markers ("&", "&&").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ulk {

struct FormatSpecifier {
  std::size_t offset = 0;
  std::size_t length = 0;
  // Numbered specifiers ("%1", "%2$s", "{0}") may change places in a
  // translation; printf's plain ones are taken in order.
  bool positional = false;
  // What must match: the argument's number and type, not its width.
  std::string identity;
};

// The specifiers of a text, in order. "%%", "{{" and "}}" are literal.
std::vector<FormatSpecifier> FindFormatSpecifiers(std::string_view text);

// The specifiers of a message-table text as the message formatter reads
// it: the inserts "%1" .. "%99" and "%1!s!", and the escapes "%n", "%%",
// "%r", "%t", "%b", "%0", "%.", "%!" and "% ", all of which a translation
// must keep (in any order: a language may put an insert elsewhere).
std::vector<FormatSpecifier> FindMessageSpecifiers(std::string_view text);

// Whether gettext's checker takes `text` for a C format string with at
// least one conversion ("%s", "%-5.2f", "%2$s %1$s"; "%%" alone is not
// one). Strict where a mark would be wrong: any "%" that is not a plain
// conversion ("50% off", "100%", "%1", "%1!d!", the Windows runtime's
// "%I64d", a blank flag) leaves the whole text unmarked, and so do
// numbered arguments that skip a number, mix with plain ones or change
// type.
bool IsCFormatText(std::string_view text);

// The hotkey letters of a stored text: the character after each single
// "&" ("&&" is a literal ampersand), upper-cased; a marker before a blank
// or at the end marks nothing. Only the part before an escaped tab (the
// shortcut of a menu item) counts.
std::vector<std::string> HotkeysOf(std::string_view text);

// The length in bytes of the UTF-8 sequence that starts at `text[at]`.
std::size_t Utf8Length(std::string_view text, std::size_t at);

}  // namespace ulk
