// Texts of a version resource (RT_VERSION): the non-empty values of its
// first string table; the resource rebuilt with translated values and,
// given a target locale, moved to that locale.
// Ref: Microsoft documentation, "VS_VERSIONINFO", "StringFileInfo",
// "StringTable", "String", "VarFileInfo", "Var".
#pragma once

#include "translator/resources/template_codec.h"

namespace ulk {

// Reads hexadecimal as the version code does: 1 to 8 characters, upper-cased,
// each digit shifts in 4 bits, other characters are skipped. False when the
// length is out of range.
bool ReadHex(std::string_view text, std::uint32_t& value);

// A locale code counts only when it has exactly 8 characters.
bool IsLocaleCode(std::string_view localeCode);

class VersionCodec : public TemplateCodec {
 public:
  // Items are numbered 0, 1, ... among the non-empty values of the first
  // string table of "StringFileInfo", wherever that block stands. False (no
  // items) when the block's lengths do not fit each other.
  bool Parse(std::string_view bytes);
  // The rebuilt resource; none when Parse did not succeed or when a rebuilt
  // length would not fit its 16-bit field. `localeCode` (8 hexadecimal
  // digits, else ignored) renames the string table and rewrites the first
  // language/code-page pair of every Var. A translated or moved resource
  // keeps only its first string table; every string without a translation
  // (an empty value included) and every other block keep their bytes. With
  // no translation and no locale the resource comes back exactly as parsed.
  std::optional<std::string> Build(std::string_view localeCode = {}) const;

 private:
  bool parsed_ = false;
  std::size_t childrenStart_ = 0;
};

}  // namespace ulk
