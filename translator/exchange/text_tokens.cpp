// Finding format specifiers and hotkeys in stored texts.
#include "translator/exchange/text_tokens.h"

#include <cstring>
#include <map>

#include "platform/text.h"

namespace ulk {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// printf's conversion letters, and the length modifiers before them
// (with the Windows runtime's "I", "I32", "I64" and "w").
constexpr const char* kConversions = "diouxXeEfFgGaAcCsSpnZ";

// After "%" and any argument number: flags, width, precision, length and
// conversion; the offset past the conversion, or 0 when there is none.
std::size_t PrintfTail(std::string_view text, std::size_t at, std::string& identity) {
  // No blank among the flags: "50% of" is prose, not "% o".
  while (at < text.size() && std::strchr("-+#0'", text[at]) && text[at] != '\0') ++at;
  while (at < text.size() && (IsDigit(text[at]) || text[at] == '*')) ++at;
  if (at < text.size() && text[at] == '.') {
    ++at;
    while (at < text.size() && (IsDigit(text[at]) || text[at] == '*')) ++at;
  }
  const std::size_t lengthStart = at;
  for (const char* modifier :
       {"I64", "I32", "hh", "ll", "h", "l", "L", "q", "j", "z", "t", "I", "w"}) {
    const std::size_t size = std::strlen(modifier);
    if (text.compare(at, size, modifier) == 0) {
      at += size;
      break;
    }
  }
  if (at >= text.size() || text[at] == '\0' || !std::strchr(kConversions, text[at])) return 0;
  identity += text.substr(lengthStart, at + 1 - lengthStart);
  return at + 1;
}

// A specifier starting at the "%" at `at`; false when it is none.
bool PercentSpecifier(std::string_view text, std::size_t at, FormatSpecifier& found) {
  std::size_t digitsEnd = at + 1;
  while (digitsEnd < text.size() && IsDigit(text[digitsEnd])) ++digitsEnd;
  const bool numbered = digitsEnd > at + 1 && text[at + 1] != '0';
  found.offset = at;
  if (numbered && digitsEnd < text.size() && text[digitsEnd] == '$') {
    // POSIX's numbered printf argument.
    found.identity = std::string(text.substr(at + 1, digitsEnd - at));
    const std::size_t end = PrintfTail(text, digitsEnd + 1, found.identity);
    if (end == 0) return false;
    found.positional = true;
    found.length = end - at;
    return true;
  }
  if (numbered && digitsEnd < text.size() && text[digitsEnd] == '!') {
    // The message formatter's "%1!d!".
    const std::size_t close = text.find('!', digitsEnd + 1);
    if (close != std::string_view::npos) {
      found.positional = true;
      found.length = close + 1 - at;
      found.identity = std::string(text.substr(at, found.length));
      return true;
    }
  }
  std::string identity;
  if (const std::size_t end = PrintfTail(text, at + 1, identity)) {
    found.positional = false;
    found.length = end - at;
    found.identity = "%" + identity;
    return true;
  }
  if (numbered) {
    // "%1" .. "%99".
    const std::size_t end = std::min(digitsEnd, at + 3);
    found.positional = true;
    found.length = end - at;
    found.identity = std::string(text.substr(at, found.length));
    return true;
  }
  return false;
}

bool BraceSpecifier(std::string_view text, std::size_t at, FormatSpecifier& found) {
  std::size_t end = at + 1;
  while (end < text.size() && IsDigit(text[end])) ++end;
  if (end == at + 1) return false;
  const std::size_t number = end;
  if (end < text.size() && (text[end] == ',' || text[end] == ':')) {
    const std::size_t close = text.find('}', end);
    if (close == std::string_view::npos ||
        text.substr(end, close - end).find('{') != std::string_view::npos)
      return false;
    end = close;
  }
  if (end >= text.size() || text[end] != '}') return false;
  found.offset = at;
  found.length = end + 1 - at;
  found.positional = true;
  found.identity = "{" + std::string(text.substr(at + 1, number - at - 1)) +
                   std::string(text.substr(number, end - number)) + "}";
  return true;
}

// One conversion of a C format string as gettext's checker reads it, in
// the strict form IsCFormatText accepts.
struct CConversion {
  std::size_t end = 0;       // past the conversion letter
  std::size_t argument = 0;  // the number before "$"; 0 for none
  std::string type;          // length and letter: "ld", "s"
  bool star = false;         // a width or precision taken from an argument
};

bool IsOneOf(std::string_view text, std::size_t at, const char* set) {
  return at < text.size() && text[at] != '\0' && std::strchr(set, text[at]);
}

bool ReadCConversion(std::string_view text, std::size_t at, CConversion& out) {
  std::size_t i = at + 1;
  std::size_t digits = i;
  while (digits < text.size() && IsDigit(text[digits])) ++digits;
  if (digits < text.size() && text[digits] == '$') {
    // Four digits are plenty; a leading zero would be a flag.
    if (digits == i || digits - i > 4 || text[i] == '0') return false;
    for (; i < digits; ++i) {
      out.argument = out.argument * 10 + static_cast<std::size_t>(text[i] - '0');
    }
    ++i;
  }
  while (IsOneOf(text, i, "-+#0")) ++i;
  if (IsOneOf(text, i, "*")) {
    out.star = true;
    ++i;
  } else {
    while (i < text.size() && IsDigit(text[i])) ++i;
  }
  if (IsOneOf(text, i, ".")) {
    ++i;
    if (IsOneOf(text, i, "*")) {
      out.star = true;
      ++i;
    } else {
      while (i < text.size() && IsDigit(text[i])) ++i;
    }
  }
  const std::size_t lengthStart = i;
  for (const char* modifier : {"hh", "ll", "h", "l", "L", "j", "z", "t"}) {
    if (text.compare(i, std::strlen(modifier), modifier) == 0) {
      i += std::strlen(modifier);
      break;
    }
  }
  if (!IsOneOf(text, i, "diouxXeEfFgGaAcsp")) return false;
  const std::string_view length = text.substr(lengthStart, i - lengthStart);
  const char letter = text[i];
  // The lengths each kind of conversion takes in C99, no more.
  bool fits = false;
  if (std::strchr("diouxX", letter)) {
    fits = length != "L";
  } else if (std::strchr("eEfFgGaA", letter)) {
    fits = length.empty() || length == "l" || length == "L";
  } else if (letter == 'c' || letter == 's') {
    fits = length.empty() || length == "l";
  } else {
    fits = length.empty();
  }
  if (!fits) return false;
  out.type = text.substr(lengthStart, i + 1 - lengthStart);
  out.end = i + 1;
  return true;
}

}  // namespace

bool IsCFormatText(std::string_view text) {
  std::size_t conversions = 0;
  bool plain = false;
  std::map<std::size_t, std::string> numbered;  // argument -> type
  for (std::size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at)) {
    if (at + 1 < text.size() && text[at + 1] == '%') {
      at += 2;
      continue;
    }
    CConversion conversion;
    if (!ReadCConversion(text, at, conversion)) return false;
    if (conversion.argument == 0) {
      plain = true;
    } else {
      // "*" would need its own argument number: not worth telling apart.
      if (conversion.star) return false;
      const auto [known, added] = numbered.emplace(conversion.argument, conversion.type);
      if (!added && known->second != conversion.type) return false;
    }
    if (plain && !numbered.empty()) return false;
    ++conversions;
    at = conversion.end;
  }
  // Numbered arguments 1..n, none left out.
  if (!numbered.empty() && numbered.rbegin()->first != numbered.size()) return false;
  return conversions > 0;
}

std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (lead >= 0x80 && lead < 0xC0) length = 1;
  return std::min(length, text.size() - at);
}

std::vector<FormatSpecifier> FindFormatSpecifiers(std::string_view text) {
  std::vector<FormatSpecifier> specifiers;
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    if ((c == '%' || c == '{' || c == '}') && at + 1 < text.size() && text[at + 1] == c) {
      at += 2;  // "%%", "{{", "}}"
      continue;
    }
    FormatSpecifier found;
    if ((c == '%' && PercentSpecifier(text, at, found)) ||
        (c == '{' && BraceSpecifier(text, at, found))) {
      at += found.length;
      specifiers.push_back(std::move(found));
      continue;
    }
    ++at;
  }
  return specifiers;
}

std::vector<FormatSpecifier> FindMessageSpecifiers(std::string_view text) {
  std::vector<FormatSpecifier> specifiers;
  for (std::size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at)) {
    FormatSpecifier found;
    if (at + 1 < text.size() && std::strchr("n%rtb0.! ", text[at + 1]) && text[at + 1] != '\0') {
      found.offset = at;
      found.length = 2;
      found.positional = true;
      found.identity = std::string(text.substr(at, 2));
    } else if (at + 1 < text.size() && text[at + 1] >= '1' && text[at + 1] <= '9' &&
               PercentSpecifier(text, at, found)) {
      found.positional = true;
    } else {
      ++at;
      continue;
    }
    at += found.length;
    specifiers.push_back(std::move(found));
  }
  return specifiers;
}

std::vector<std::string> HotkeysOf(std::string_view text) {
  std::vector<std::string> keys;
  const std::size_t tab = text.find("\\t");
  if (tab != std::string_view::npos) text = text.substr(0, tab);
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != '&') continue;
    if (at + 1 >= text.size()) break;
    if (text[at + 1] == '&') {
      ++at;
      continue;
    }
    const char next = text[at + 1];
    if (IsBlank(next) ||
        (next == '\\' && at + 2 < text.size() && (text[at + 2] == 'n' || text[at + 2] == 'r'))) {
      continue;
    }
    keys.push_back(ToUpperUtf8(text.substr(at + 1, Utf8Length(text, at + 1))));
  }
  return keys;
}

}  // namespace ulk
