// Stored texts hold line feeds, carriage returns and tabs as "\n", "\r" and
// "\t", so that every entry is one line of the project file.
#pragma once

#include <string>
#include <string_view>

namespace ulk {

std::string EscapeText(std::string_view text);
// Whether `stored` is the escaped form of `text`, without building it.
bool IsEscapedFormOf(std::string_view stored, std::string_view text);

// The reverse replacements, in the same order: a stored backslash followed
// by "n" always reads back as a line feed; no other escape exists.
std::string UnescapeText(std::string_view text);
// The same, into `out` (emptied first).
void UnescapeTextTo(std::string& out, std::string_view text);

}  // namespace ulk
