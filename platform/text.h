// Text helpers shared by every layer: UTF-16 <-> UTF-8 conversion, the
// Windows-1252 decoding of projects written on Windows, trimming, case
// mapping and character-aware cutting of our UTF-8 strings.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ulk {

// UTF-16 code units to UTF-8. A lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Little-endian UTF-16 bytes (an odd last byte is ignored) to UTF-8.
std::string Utf16LeToUtf8(std::string_view bytes);
// The same two, appended to `out`: for converting many texts through one
// buffer.
void AppendUtf16AsUtf8(std::string& out, std::u16string_view text);
void AppendUtf16LeAsUtf8(std::string& out, std::string_view bytes);

// UTF-8 to UTF-16 code units. An invalid byte sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);

// Appends the text as little-endian UTF-16 bytes; returns the number of
// code units appended.
std::size_t AppendUtf16Le(std::string& out, std::string_view text);

bool IsValidUtf8(std::string_view text);

// Whether `text` holds at least one valid multi-byte UTF-8 sequence; the
// offset of its first byte that is not valid UTF-8 in `firstInvalid` (npos
// when there is none).
bool HoldsMultiByteUtf8(std::string_view text, std::size_t& firstInvalid);

// Windows-1252 bytes to UTF-8 (the five unassigned bytes map to the C1
// control of the same value, as Windows itself converts them).
std::string Windows1252ToUtf8(std::string_view text);

// Upper case by the simple (one code point to one code point) mapping, so
// that the result is as long in characters as the input.
std::string ToUpperUtf8(std::string_view text);

bool IsBlank(char c);
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// Number of characters (code points) of a UTF-8 text; an invalid byte
// counts as one character.
std::size_t CountChars(std::string_view text);

// The first `maxChars` characters of `text`, never splitting a sequence.
std::string_view FirstChars(std::string_view text, std::size_t maxChars);

// Replaces every occurrence of `from` (not empty) by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// printf-style formatting into a growable string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ulk
