// The one gate that every text from outside passes before the project or a
// dictionary keeps it (a translation from a PO, XLIFF or TMX file, a
// dictionary, the clipboard or the keyboard): valid UTF-8, no NUL or other
// control character, line feeds, carriage returns and tabs in their stored
// form "\n", "\r", "\t", so that every stored text is one line of the
// project file.
#pragma once

#include <string>
#include <string_view>

namespace ulk {

// What is wrong with a text that may not be stored; empty `what` when
// nothing is.
struct TextProblem {
  std::string what;        // for the user, in Spanish: "contiene un carácter nulo"
  std::size_t offset = 0;  // byte offset of the first offending byte
  explicit operator bool() const { return !what.empty(); }
};

// The stored form of `text` in `out`: line feed, carriage return and tab
// escaped, everything else as it is. `text` may be in its real form (an
// exchange file's) or already stored (a dictionary's, typed): a stored
// text comes out unchanged. Fails, `out` unspecified, on invalid UTF-8, a
// NUL, or any other C0 or C1 control character or DEL.
TextProblem ToStoredText(std::string_view text, std::string& out);

// The check of ToStoredText alone, for a text that must not change: fails
// also on a raw line feed, carriage return or tab (a stored text holds
// them escaped).
TextProblem CheckStoredText(std::string_view stored);

}  // namespace ulk
