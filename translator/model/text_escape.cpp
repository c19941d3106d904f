// Escaping of stored texts.
#include "translator/model/text_escape.h"

#include "platform/text.h"

namespace ulk {

std::string EscapeText(std::string_view text) {
  if (text.find_first_of("\n\r\t") == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  for (const char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string UnescapeText(std::string_view text) {
  if (text.find('\\') == std::string_view::npos) return std::string(text);
  // Three passes in the stored order: "\\n" written by the user as backslash
  // plus "n" has no escape of its own and comes back as a line feed.
  std::string out = ReplaceAll(text, "\\n", "\n");
  out = ReplaceAll(out, "\\r", "\r");
  return ReplaceAll(out, "\\t", "\t");
}

}  // namespace ulk
