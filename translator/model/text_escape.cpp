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
  // Runs without an escape compare in one go.
  while (true) {
    std::size_t run = 0;
    while (run < text.size() && !NeedsEscape(text[run])) ++run;
    if (stored.substr(0, run) != text.substr(0, run)) return false;
    stored.remove_prefix(run);
    text.remove_prefix(run);
    if (text.empty()) return stored.empty();
    const char c = text.front();
    const char letter = c == '\n' ? 'n' : c == '\r' ? 'r' : 't';
    if (stored.size() < 2 || stored[0] != '\\' || stored[1] != letter) return false;
    stored.remove_prefix(2);
    text.remove_prefix(1);
  }
}

std::string UnescapeText(std::string_view text) {
  std::string out;
  UnescapeTextTo(out, text);
  return out;
}

void UnescapeTextTo(std::string& out, std::string_view text) {
  out.clear();
  std::size_t slash = text.find('\\');
  // One pass that gives what the three replacements in turn (line feeds,
  // then carriage returns, then tabs) give: a backslash before "n", "r" or
  // "t" is always an escape, whatever stands before it.
  while (slash != std::string_view::npos) {
    out.append(text.substr(0, slash));
    const char next = slash + 1 < text.size() ? text[slash + 1] : '\0';
    if (next == 'n' || next == 'r' || next == 't') {
      out.push_back(next == 'n' ? '\n' : next == 'r' ? '\r' : '\t');
      text.remove_prefix(slash + 2);
    } else {
      out.push_back('\\');
      text.remove_prefix(slash + 1);
    }
    slash = text.find('\\');
  }
  out.append(text);
}

}  // namespace ulk
