// The types of text as the text dialog offers them, and the line
// breaks of stored texts.
#pragma once

#include <string>
#include <string_view>

namespace ulk {

struct TextTypeEntry {
  int nameId;        // string-table id of the name shown ("Cadena", ...)
  const char* code;  // the stored type
};

// In the order of the text dialog's picker; the lists show the same
// images in the same order.
inline constexpr TextTypeEntry kTextTypes[] = {
    {110, "ST"}, {111, "DL"}, {112, "MN"}, {113, "VS"}, {120, "MT"}, {121, "FM"},
};
inline constexpr int kTextTypeCount = 6;

// The entry of a type code, or -1 for a type the dialog does not offer.
int TextTypeIndex(std::string_view code);

// Stored types are at most two characters long.
bool IsValidTypeCode(std::string_view code);

// A stored text as the multi-line edit box shows it: each two-character
// "\n" becomes a line break.
std::string EditorTextOf(std::string_view stored);
// What the edit box holds as it is stored: every line break (LF, CR LF or a
// lone CR) becomes the two characters "\n".
std::string StoredTextOf(std::string_view edited);

}  // namespace ulk
