// Escaping of stored texts.
#include "translator/model/text_escape.h"

namespace ulk {

namespace {

bool NeedsEscape(char c) {
  return c == '\n' || c == '\r' || c == '\t';
}

}  // namespace

std::string EscapeText(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && !NeedsEscape(text[first])) ++first;
  if (first == text.size()) return std::string(text);
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

bool IsEscapedFormOf(std::string_view stored, std::string_view text) {
  std::size_t at = 0;
  for (const char c : text) {
    if (NeedsEscape(c)) {
      const char letter = c == '\n' ? 'n' : c == '\r' ? 'r' : 't';
      if (stored.size() - at < 2 || stored[at] != '\\' || stored[at + 1] != letter) return false;
      at += 2;
    } else {
      if (at >= stored.size() || stored[at] != c) return false;
      ++at;
    }
  }
  return at == stored.size();
}

std::string UnescapeText(std::string_view text) {
  if (text.find('\\') == std::string_view::npos) return std::string(text);
  // One pass that gives what the three replacements in turn (line feeds,
  // then carriage returns, then tabs) give: a backslash before "n", "r" or
  // "t" is always an escape, whatever stands before it.
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == 'n' || next == 'r' || next == 't') {
        out.push_back(next == 'n' ? '\n' : next == 'r' ? '\r' : '\t');
        ++i;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace ulk
