// Decoding and rebuilding message tables.
#include "translator/resources/message_table_codec.h"

#include <algorithm>

#include "platform/byte_stream.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr std::uint16_t kAnsiEntry = 0;
constexpr std::uint16_t kUnicodeEntry = 1;
constexpr std::uint16_t kUtf8Entry = 2;
constexpr std::size_t kEntryHeader = 4;  // length, flags
constexpr std::size_t kBlockSize = 12;   // low id, high id, offset of the entries

// One message as it stands in the table.
struct RawEntry {
  std::uint32_t id = 0;
  std::uint16_t flags = 0;
  std::string_view bytes;  // the whole entry, header included
};

struct Block {
  std::uint32_t low = 0;
  std::uint32_t high = 0;
  std::uint32_t offset = 0;
};

bool Refuse(std::string& problem, std::string text) {
  problem = std::move(text);
  return false;
}

// Every entry of every block, blocks in ascending id order; false, with the
// reason, for a table that cannot be trusted.
bool SplitTable(std::string_view bytes, std::vector<RawEntry>& entries, std::string& problem) {
  entries.clear();
  ByteReader r(bytes);
  std::uint32_t count = 0;
  if (!r.U32(count)) return Refuse(problem, "la tabla acaba antes de su número de bloques");
  if (static_cast<std::uint64_t>(count) * kBlockSize > r.Remaining())
    return Refuse(problem, Format("%u bloques no caben en la tabla", count));
  std::vector<Block> blocks(count);
  for (Block& block : blocks) {
    r.U32(block.low);
    r.U32(block.high);
    r.U32(block.offset);
    if (block.high < block.low)
      return Refuse(problem,
                    Format("el bloque %u-%u acaba antes de empezar", block.low, block.high));
  }
  std::stable_sort(blocks.begin(), blocks.end(),
                   [](const Block& a, const Block& b) { return a.low < b.low; });
  for (std::size_t i = 1; i < blocks.size(); ++i) {
    if (blocks[i].low <= blocks[i - 1].high)
      return Refuse(problem, Format("los bloques %u-%u y %u-%u se solapan", blocks[i - 1].low,
                                    blocks[i - 1].high, blocks[i].low, blocks[i].high));
  }
  // Every message takes at least its header, and no two messages share
  // bytes: a table whose blocks all point at the same few entries would
  // otherwise list far more messages than it holds.
  std::uint64_t total = 0;
  for (const Block& block : blocks) {
    total += static_cast<std::uint64_t>(block.high) - block.low + 1;
    if (total * kEntryHeader > bytes.size())
      return Refuse(problem, Format("%llu mensajes no caben en la tabla",
                                    static_cast<unsigned long long>(total)));
  }
  for (const Block& block : blocks) {
    const std::uint64_t messages = static_cast<std::uint64_t>(block.high) - block.low + 1;
    // Each entry takes at least its header: a count that cannot fit is
    // refused before anything is reserved for it.
    if (block.offset > bytes.size() || messages * kEntryHeader > bytes.size() - block.offset)
      return Refuse(problem,
                    Format("los mensajes %u-%u quedan fuera de la tabla", block.low, block.high));
    ByteReader at(bytes);
    at.Seek(block.offset);
    for (std::uint64_t n = 0; n < messages; ++n) {
      const auto id = static_cast<std::uint32_t>(block.low + n);
      const std::size_t start = at.Offset();
      std::uint16_t length = 0;
      std::uint16_t flags = 0;
      std::string_view whole;
      if (!at.U16(length) || !at.U16(flags) || length < kEntryHeader || !at.Seek(start) ||
          !at.Bytes(length, whole))
        return Refuse(problem, Format("el mensaje %u no cabe en la tabla", id));
      if (flags != kAnsiEntry && flags != kUnicodeEntry && flags != kUtf8Entry)
        return Refuse(problem, Format("el mensaje %u es de un tipo desconocido (%u)", id, flags));
      entries.push_back({id, flags, whole});
    }
  }
  return true;
}

// The text of an entry, up to its first NUL.
std::string TextOf(const RawEntry& entry) {
  std::string_view body = entry.bytes.substr(kEntryHeader);
  if (entry.flags == kUnicodeEntry) {
    std::size_t units = 0;
    while (2 * units + 1 < body.size() && (body[2 * units] != 0 || body[2 * units + 1] != 0))
      ++units;
    return Utf16LeToUtf8(body.substr(0, 2 * units));
  }
  body = body.substr(0, std::min(body.find('\0'), body.size()));
  if (entry.flags == kUtf8Entry)
    return IsValidUtf8(body) ? std::string(body) : Windows1252ToUtf8(body);
  return Windows1252ToUtf8(body);
}

}  // namespace

bool DecodeMessageTable(std::string_view bytes, std::vector<MessageText>& messages,
                        std::string& problem) {
  messages.clear();
  std::vector<RawEntry> entries;
  if (!SplitTable(bytes, entries, problem)) return false;
  messages.reserve(entries.size());
  for (const RawEntry& entry : entries) {
    messages.push_back({entry.id, TextOf(entry), entry.flags == kUnicodeEntry});
  }
  return true;
}

MessageTableWriter::Result MessageTableWriter::Append(std::string_view table,
                                                      TextTranslator& translator,
                                                      std::string& out) {
  std::vector<RawEntry> entries;
  std::string problem;
  if (!SplitTable(table, entries, problem)) {
    out.append(table);
    return kUnreadable;
  }
  // Consecutive ids make one block.
  std::vector<Block> blocks;
  for (const RawEntry& entry : entries) {
    if (blocks.empty() || blocks.back().high + 1 != entry.id || blocks.back().high == UINT32_MAX) {
      blocks.push_back({entry.id, entry.id, 0});
    } else {
      blocks.back().high = entry.id;
    }
  }
  ByteWriter w;
  w.Reserve(table.size() * 2);
  w.U32(static_cast<std::uint32_t>(blocks.size()));
  const std::size_t blocksAt = w.Offset();
  w.Zeros(blocks.size() * kBlockSize);
  bool translated = false;
  std::string translation;
  std::string unicode;
  std::size_t next = 0;
  for (std::size_t b = 0; b < blocks.size(); ++b) {
    const std::size_t offset = w.Offset();
    if (offset > UINT32_MAX) return kTooLong;
    w.PatchU32(blocksAt + b * kBlockSize, blocks[b].low);
    w.PatchU32(blocksAt + b * kBlockSize + 4, blocks[b].high);
    w.PatchU32(blocksAt + b * kBlockSize + 8, static_cast<std::uint32_t>(offset));
    for (; next < entries.size() && entries[next].id <= blocks[b].high; ++next) {
      const RawEntry& entry = entries[next];
      translation.clear();
      if (!translator.Translate(entry.id, TextOf(entry), translation) || translation.empty()) {
        w.Bytes(entry.bytes);
        continue;
      }
      unicode.clear();
      AppendUtf16Le(unicode, translation);
      unicode.append(2, '\0');
      // Entries are padded to 4 bytes, as the message compiler writes them.
      unicode.append(AlignUp(unicode.size(), 4) - unicode.size(), '\0');
      const std::size_t length = kEntryHeader + unicode.size();
      if (length > 0xFFFF) return kTooLong;
      w.U16(static_cast<std::uint16_t>(length));
      w.U16(kUnicodeEntry);
      w.Bytes(unicode);
      translated = true;
    }
  }
  if (!translated) {
    out.append(table);
  } else {
    out.append(w.Data());
  }
  return kWritten;
}

}  // namespace ulk
