// Language names and locale identifiers from ICU.
#include "platform/locales.h"

#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <set>

#include "platform/text.h"

namespace ulk {
namespace {

constexpr const char* kNeutralName = "Idioma neutro";
constexpr const char* kUnknownName = "Idioma desconocido";

std::string CapitaliseFirst(const std::string& text) {
  std::u16string wide = Utf8ToUtf16(text);
  // Display names start with a letter of the basic plane.
  if (wide.empty() || (wide[0] >= 0xD800 && wide[0] <= 0xDFFF)) return text;
  wide[0] = static_cast<char16_t>(u_toupper(wide[0]));
  return Utf16ToUtf8(wide);
}

std::string DisplayNameOfLocale(const char* locale) {
  UErrorCode status = U_ZERO_ERROR;
  UChar buffer[256];
  const std::int32_t length = uloc_getDisplayName(locale, "es", buffer, 256, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return CapitaliseFirst(Utf16ToUtf8(std::u16string_view(
      reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(std::min(length, 255)))));
}

std::string LocaleForId(std::uint32_t lcid) {
  UErrorCode status = U_ZERO_ERROR;
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  const std::int32_t length = uloc_getLocaleForLCID(lcid, locale, sizeof locale, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return locale;
}

}  // namespace

std::string LanguageNameOf(std::uint32_t lcid) {
  const std::uint32_t language = lcid & 0xFFFF;
  if (language == 0) return kNeutralName;
  const std::string locale = LocaleForId(language);
  if (locale.empty()) return kUnknownName;
  const std::string name = DisplayNameOfLocale(locale.c_str());
  return name.empty() ? kUnknownName : name;
}

std::string LanguageTagOf(std::uint32_t lcid) {
  const std::uint32_t language = lcid & 0xFFFF;
  if (language == 0) return {};
  const std::string locale = LocaleForId(language);
  if (locale.empty()) return {};
  UErrorCode status = U_ZERO_ERROR;
  char tag[ULOC_FULLNAME_CAPACITY] = {};
  const std::int32_t length = uloc_toLanguageTag(locale.c_str(), tag, sizeof tag, true, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return tag;
}

const std::vector<std::uint32_t>& SystemLocaleIds() {
  static const std::vector<std::uint32_t> ids = [] {
    std::set<std::uint32_t> found;
    const std::int32_t count = uloc_countAvailable();
    for (std::int32_t i = 0; i < count; ++i) {
      const std::uint32_t lcid = uloc_getLCID(uloc_getAvailable(i));
      // Identifiers with a sort order above the low 16 bits are variants of
      // a language the list already names.
      if (lcid != 0 && lcid <= 0xFFFF) found.insert(lcid);
    }
    return std::vector<std::uint32_t>(found.begin(), found.end());
  }();
  return ids;
}

}  // namespace ulk
