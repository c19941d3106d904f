// The gate of stored texts.
#include "platform/stored_text.h"

#include <cstdio>

#include "platform/utf8.h"

namespace ulk {
namespace {

bool IsControl(char32_t cp) {
  return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F);
}

TextProblem ProblemAt(std::string what, std::size_t offset) {
  return {std::move(what), offset};
}

TextProblem ControlProblem(char32_t cp, std::size_t offset) {
  if (cp == 0) return ProblemAt("contiene un carácter nulo", offset);
  char text[64];
  std::snprintf(text, sizeof text, "contiene el carácter de control U+%04X",
                static_cast<unsigned>(cp));
  return ProblemAt(text, offset);
}

// Walks `text`, calling escaped(c) for each line feed, carriage return
// and tab and plain(run) for the bytes between; stops at the first
// problem. `allowEscapable`: whether the three may stand raw.
template <typename Escaped, typename Plain>
TextProblem Walk(std::string_view text, bool allowEscapable, Escaped escaped, Plain plain) {
  std::size_t runStart = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t at = pos;
    char32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) return ProblemAt("no es UTF-8 válido", at);
    if (!IsControl(cp)) continue;
    if (!allowEscapable || (cp != '\n' && cp != '\r' && cp != '\t')) {
      return ControlProblem(cp, at);
    }
    plain(text.substr(runStart, at - runStart));
    escaped(static_cast<char>(cp));
    runStart = pos;
  }
  plain(text.substr(runStart));
  return {};
}

}  // namespace

TextProblem ToStoredText(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  return Walk(
      text, true,
      [&out](char c) {
        out.push_back('\\');
        out.push_back(c == '\n' ? 'n' : c == '\r' ? 'r' : 't');
      },
      [&out](std::string_view run) { out.append(run); });
}

TextProblem CheckStoredText(std::string_view stored) {
  return Walk(
      stored, false, [](char) {}, [](std::string_view) {});
}

}  // namespace ulk
