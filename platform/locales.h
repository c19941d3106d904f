// The system's languages: Windows language and locale identifiers mapped to
// locales and named in Spanish, through ICU.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ulk {

// The display name of the language identifier in the low 16 bits of `lcid`
// (the high bits, a code page or sort order, are ignored), in Spanish with an
// upper-case first letter: 0x0C0A -> "Español (España)". Language 0 is
// "Idioma neutro"; an identifier no locale has is "Idioma desconocido".
std::string LanguageNameOf(std::uint32_t lcid);

// The BCP 47 tag of the language identifier in the low 16 bits of `lcid`
// (0x0C0A -> "es-ES"); "" for language 0 and for an identifier no locale has.
std::string LanguageTagOf(std::uint32_t lcid);

// The locale identifier of every locale the system knows, once each, in
// ascending order.
const std::vector<std::uint32_t>& SystemLocaleIds();

}  // namespace ulk
