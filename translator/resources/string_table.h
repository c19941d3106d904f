// String-table blocks (RT_STRING): 16 strings in a row, each a 16-bit
// length in code units and that many UTF-16 code units.
// Ref: Microsoft documentation, "STRINGTABLE resource", "LoadString".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "translator/resources/text_translator.h"

namespace ulk {

struct StringTableText {
  std::uint32_t id = 0;  // (block - 1) * 16 + position
  std::string text;
};

// Appends (identifier, text) for each string of non-zero stored length, even
// when its text comes out empty (a text ends at its first zero code unit).
// False, appending nothing, when the block ends before its 16th string.
bool DecodeStringBlock(std::uint32_t blockNumber, std::string_view bytes,
                       std::vector<StringTableText>& texts);

// The block with each position's translation where one is given and not
// empty, and the block's own code units everywhere else; the block as it is
// when nothing is translated. None when the block cannot be read or a
// translation is longer than a string may be.
std::optional<std::string> EncodeStringBlock(
    std::string_view original, const std::array<const std::string*, 16>& translations);

// EncodeStringBlock with the translations asked for as the block is written:
// each string DecodeStringBlock lists is asked for (its item is its
// position), and the block goes to the end of `out`. A block that cannot be
// read goes there as it stands, no string asked for; nothing is appended
// when a translation is too long.
class StringBlockWriter {
 public:
  enum Result { kWritten, kUnreadable, kTooLong };
  Result Append(std::string_view block, TextTranslator& translator, std::string& out);

 private:
  std::string text_;
  std::string translation_;
};

}  // namespace ulk
