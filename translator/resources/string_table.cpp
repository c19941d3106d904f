// Decoding and encoding string-table blocks.
#include "translator/resources/string_table.h"

#include "platform/byte_stream.h"
#include "platform/text.h"
#include "translator/resources/resource_kind.h"

namespace ulk {
namespace {

// The raw code units of the 16 strings, as views into the block.
bool SplitBlock(std::string_view bytes, std::array<std::string_view, 16>& units) {
  ByteReader r(bytes);
  for (auto& string : units) {
    std::uint16_t length = 0;
    if (!r.U16(length) || !r.Bytes(2u * length, string)) return false;
  }
  return true;
}

// A string's code units up to its first zero unit, where its text ends.
std::string_view TextUnits(std::string_view raw) {
  std::size_t length = 0;
  while (length < raw.size() && (raw[length] != 0 || raw[length + 1] != 0)) length += 2;
  return raw.substr(0, length);
}

}  // namespace

bool DecodeStringBlock(std::uint32_t blockNumber, std::string_view bytes,
                       std::vector<StringTableText>& texts) {
  std::array<std::string_view, 16> units;
  if (!SplitBlock(bytes, units)) return false;
  for (std::uint32_t position = 0; position < kStringsPerBlock; ++position) {
    const std::string_view raw = units[position];
    if (raw.empty()) continue;
    texts.push_back({StringIdOf(blockNumber, position), Utf16LeToUtf8(TextUnits(raw))});
  }
  return true;
}

std::optional<std::string> EncodeStringBlock(
    std::string_view original, const std::array<const std::string*, 16>& translations) {
  std::array<std::string_view, 16> units;
  if (!SplitBlock(original, units)) return std::nullopt;
  bool translated = false;
  for (const std::string* translation : translations) {
    translated = translated || (translation && !translation->empty());
  }
  if (!translated) return std::string(original);
  ByteWriter out;
  for (std::size_t position = 0; position < units.size(); ++position) {
    const std::string* translation = translations[position];
    if (translation && !translation->empty()) {
      const std::size_t lengthAt = out.Offset();
      out.U16(0);
      const std::size_t written = out.Utf8AsUtf16(*translation);
      if (written > 0xFFFF) return std::nullopt;
      out.PatchU16(lengthAt, static_cast<std::uint16_t>(written));
    } else {
      out.U16(static_cast<std::uint16_t>(units[position].size() / 2));
      out.Bytes(units[position]);
    }
  }
  return out.Take();
}

StringBlockWriter::Result StringBlockWriter::Append(std::string_view block,
                                                    TextTranslator& translator, std::string& out) {
  std::array<std::string_view, 16> units;
  if (!SplitBlock(block, units)) {
    out.append(block);
    return kUnreadable;
  }
  const std::size_t start = out.size();
  bool translated = false;
  for (std::uint32_t position = 0; position < kStringsPerBlock; ++position) {
    const std::string_view raw = units[position];
    const std::size_t lengthAt = out.size();
    out.append(2, '\0');
    if (!raw.empty()) {
      text_.clear();
      AppendUtf16LeAsUtf8(text_, TextUnits(raw));
      translation_.clear();
      if (translator.Translate(position, text_, translation_) && !translation_.empty()) {
        const std::size_t written = AppendUtf16Le(out, translation_);
        if (written > 0xFFFF) {
          out.resize(start);
          return kTooLong;
        }
        StoreU16(out, lengthAt, static_cast<std::uint16_t>(written));
        translated = true;
        continue;
      }
    }
    StoreU16(out, lengthAt, static_cast<std::uint16_t>(raw.size() / 2));
    out.append(raw);
  }
  // Untranslated, the block keeps its own bytes, whatever follows its
  // sixteenth string included.
  if (!translated) {
    out.resize(start);
    out.append(block);
  }
  return kWritten;
}

}  // namespace ulk
