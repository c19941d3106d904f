// UTF-8 / UTF-16 conversion and the small string helpers of text.h.
#include "platform/text.h"

#include "platform/utf8.h"

#include <unicode/uchar.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace ulk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Whether any of the eight bytes at `p` is 0x80 or above.
bool HasHighBit(const char* p) {
  std::uint64_t word = 0;
  std::memcpy(&word, p, sizeof word);
  return (word & 0x8080808080808080ULL) != 0;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Windows-1252 bytes 0x80..0x9F; zero marks the unassigned ones.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

namespace {

// Appends the UTF-8 of code units fetched by `unitAt` (0 ..< count) to
// `out`, grown for the worst case, then trimmed.
template <typename UnitAt>
void ConvertUtf16(std::string& out, std::size_t count, UnitAt unitAt) {
  // Plain ASCII, the common case, goes in at one byte a unit.
  std::size_t ascii = 0;
  while (ascii < count && unitAt(ascii) < 0x80) ++ascii;
  const std::size_t start = out.size();
  out.resize(start + ascii + (count - ascii) * 3);
  char* p = out.data() + start;
  for (std::size_t i = 0; i < ascii; ++i) *p++ = static_cast<char>(unitAt(i));
  for (std::size_t i = ascii; i < count; ++i) {
    const char32_t unit = unitAt(i);
    if (unit < 0x80) {
      *p++ = static_cast<char>(unit);
      continue;
    }
    char32_t cp = unit;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
      const char32_t next = unitAt(i + 1);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        cp = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        ++i;
      } else {
        cp = kReplacement;
      }
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x800) {
      *p++ = static_cast<char>(0xC0 | (cp >> 6));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (cp >> 12));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      // Four bytes for two units: within the three bytes a unit is given.
      *p++ = static_cast<char>(0xF0 | (cp >> 18));
      *p++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
}

}  // namespace

void AppendUtf16AsUtf8(std::string& out, std::u16string_view text) {
  ConvertUtf16(out, text.size(), [&](std::size_t i) { return static_cast<char32_t>(text[i]); });
}

void AppendUtf16LeAsUtf8(std::string& out, std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  ConvertUtf16(out, bytes.size() / 2, [&](std::size_t i) {
    return static_cast<char32_t>(data[2 * i] | (data[2 * i + 1] << 8));
  });
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  AppendUtf16AsUtf8(out, text);
  return out;
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  AppendUtf16LeAsUtf8(out, bytes);
  return out;
}

namespace {

// Calls `emit` with the UTF-16 code units of a UTF-8 text.
template <typename Emit>
void ForEachUtf16Unit(std::string_view text, Emit emit) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      emit(static_cast<char16_t>(text[pos++]));
      continue;
    }
    char32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) cp = kReplacement;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      emit(static_cast<char16_t>(0xD800 + (cp >> 10)));
      emit(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      emit(static_cast<char16_t>(cp));
    }
  }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
  // At most one code unit per byte.
  std::u16string out(text.size(), u'\0');
  char16_t* p = out.data();
  ForEachUtf16Unit(text, [&](char16_t unit) { *p++ = unit; });
  out.resize(static_cast<std::size_t>(p - out.data()));
  return out;
}

std::size_t AppendUtf16Le(std::string& out, std::string_view text) {
  const std::size_t start = out.size();
  out.resize(start + 2 * text.size());
  char* p = out.data() + start;
  ForEachUtf16Unit(text, [&](char16_t unit) {
    *p++ = static_cast<char>(unit & 0xFF);
    *p++ = static_cast<char>(unit >> 8);
  });
  const std::size_t bytes = static_cast<std::size_t>(p - (out.data() + start));
  out.resize(start + bytes);
  return bytes / 2;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    // Plain ASCII runs are the common case in project files: eight bytes
    // at a time while they last.
    while (text.size() - pos >= 8 && !HasHighBit(text.data() + pos)) pos += 8;
    if (pos == text.size()) break;
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    char32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) return false;
  }
  return true;
}

bool HoldsMultiByteUtf8(std::string_view text, std::size_t& firstInvalid) {
  firstInvalid = std::string_view::npos;
  bool holds = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      ++pos;
      continue;
    }
    const std::size_t at = pos;
    char32_t cp = 0;
    if (DecodeUtf8(text, pos, cp)) {
      holds = true;
    } else if (firstInvalid == std::string_view::npos) {
      firstInvalid = at;
    }
  }
  return holds;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    char32_t cp = byte;
    if (byte >= 0x80 && byte <= 0x9F && kCp1252High[byte - 0x80] != 0) {
      cp = kCp1252High[byte - 0x80];
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::string ToUpperUtf8(std::string_view text) {
  std::string out;
  // Keys and paths are mostly plain ASCII: upper-cased in place.
  std::size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  out.assign(text.substr(0, ascii));
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (ascii == text.size()) return out;
  out.reserve(text.size());
  std::size_t pos = ascii;
  while (pos < text.size()) {
    const char c = text[pos];
    if (static_cast<unsigned char>(c) < 0x80) {
      out.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    char32_t cp = 0;
    if (!DecodeUtf8(text, pos, cp)) {
      out.push_back(text[start]);  // keep undecodable bytes as they are
      continue;
    }
    AppendUtf8(out, static_cast<char32_t>(u_toupper(static_cast<UChar32>(cp))));
  }
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view TrimView(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) {
  return std::string(TrimView(text));
}

std::size_t CountChars(std::string_view text) {
  std::size_t count = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    char32_t cp = 0;
    DecodeUtf8(text, pos, cp);
    ++count;
  }
  return count;
}

std::string_view FirstChars(std::string_view text, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < maxChars && pos < text.size(); ++n) {
    char32_t cp = 0;
    DecodeUtf8(text, pos, cp);
  }
  return text.substr(0, pos);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos || from.empty()) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (length > 0) {
    out.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return out;
}

}  // namespace ulk
