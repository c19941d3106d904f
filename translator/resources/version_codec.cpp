// Walking and rebuilding version resources.
#include "translator/resources/version_codec.h"

#include <algorithm>

#include "platform/byte_stream.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr std::size_t kHead = 6;  // wLength, wValueLength, wType

std::uint64_t Round4(std::uint64_t x) {
  return AlignUp(x, 4);
}

// A block as found in the source: where it starts, its declared length
// (bounded by its parent), its key and where its value or children begin.
struct Block {
  std::size_t start = 0;
  std::size_t length = 0;
  std::uint16_t valueLength = 0;
  std::uint16_t type = 0;
  std::u16string key;
  std::size_t bodyStart = 0;  // HeadSize(key) from the start
};

bool ReadBlock(std::string_view data, std::size_t start, std::size_t end, Block& block) {
  ByteReader r(data);
  block = {};
  block.start = start;
  std::uint16_t length = 0;
  if (!r.Seek(start) || !r.U16(length) || !r.U16(block.valueLength) || !r.U16(block.type)) {
    return false;
  }
  if (length < kHead || start + length > end) return false;
  block.length = length;
  const auto inside = r.Sub(start, length);
  ByteReader k = *inside;
  k.Seek(kHead);
  if (!k.Utf16z(block.key)) return false;
  block.bodyStart = start + static_cast<std::size_t>(Round4(k.Offset()));
  return true;
}

// The blocks that follow each other from `from` up to `end`, each starting at
// a multiple of 4; stops at zero padding.
bool ReadChildren(std::string_view data, std::size_t from, std::size_t end,
                  std::vector<Block>& children) {
  children.clear();
  std::size_t at = static_cast<std::size_t>(Round4(from));
  while (at + kHead <= end) {
    if (LoadU16(data, at) == 0) break;
    Block child;
    if (!ReadBlock(data, at, end, child)) return false;
    children.push_back(child);
    at = static_cast<std::size_t>(Round4(at + child.length));
  }
  return true;
}

// A String block's value: the code units from its body to the end of the
// block, up to the first zero. Its wValueLength is not trusted.
std::u16string StringValue(std::string_view data, const Block& s) {
  std::u16string value;
  for (std::size_t at = s.bodyStart; at + 2 <= s.start + s.length; at += 2) {
    const std::uint16_t unit = LoadU16(data, at);
    if (unit == 0) break;
    value.push_back(static_cast<char16_t>(unit));
  }
  return value;
}

const Block* FindChild(const std::vector<Block>& blocks, std::u16string_view key) {
  for (const auto& block : blocks) {
    if (block.key == key) return &block;
  }
  return nullptr;
}

}  // namespace

bool ReadHex(std::string_view text, std::uint32_t& value) {
  if (text.empty() || text.size() > 8) return false;
  value = 0;
  for (const char c : text) {
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    if (upper >= '0' && upper <= '9') {
      value = (value << 4) | static_cast<std::uint32_t>(upper - '0');
    } else if (upper >= 'A' && upper <= 'F') {
      value = (value << 4) | static_cast<std::uint32_t>(upper - 'A' + 10);
    }
  }
  return true;
}

bool IsLocaleCode(std::string_view localeCode) {
  return localeCode.size() == 8;
}

bool VersionCodec::Parse(std::string_view bytes) {
  Reset(bytes);
  parsed_ = false;
  Block root;
  if (!ReadBlock(data_, 0, data_.size(), root)) return Fail("version root block is damaged");
  childrenStart_ = static_cast<std::size_t>(Round4(root.bodyStart + root.valueLength));
  if (childrenStart_ > root.length) return Fail("version fixed information runs past the end");
  std::vector<Block> children;
  if (!ReadChildren(data_, childrenStart_, root.length, children)) {
    return Fail("version block lengths do not fit");
  }
  if (const Block* files = FindChild(children, u"StringFileInfo")) {
    std::vector<Block> tables;
    if (!ReadChildren(data_, files->bodyStart, files->start + files->length, tables)) {
      return Fail("StringFileInfo lengths do not fit");
    }
    if (!tables.empty()) {
      std::vector<Block> strings;
      const Block& table = tables.front();
      if (!ReadChildren(data_, table.bodyStart, table.start + table.length, strings)) {
        return Fail("string table lengths do not fit");
      }
      std::uint32_t item = 0;
      for (const Block& s : strings) {
        if (s.valueLength == 0) continue;
        const std::u16string value = StringValue(data_, s);
        if (value.empty()) continue;
        AddItem(0, value, item++);
      }
    }
  }
  parsed_ = true;
  return true;
}

std::optional<std::string> VersionCodec::Build(std::string_view localeCode) const {
  if (!parsed_) return std::nullopt;
  const std::string_view data = data_;
  const bool relocate = IsLocaleCode(localeCode);
  Block root;
  ReadBlock(data, 0, data.size(), root);
  std::vector<Block> children;
  ReadChildren(data, childrenStart_, root.length, children);

  // The first string table's strings, each with the text it is written with
  // when that differs from its own value; a translation equal to the value
  // changes nothing.
  std::vector<Block> strings;
  std::vector<std::optional<std::u16string>> rewritten;
  const Block* files = FindChild(children, u"StringFileInfo");
  std::vector<Block> tables;
  if (files) ReadChildren(data, files->bodyStart, files->start + files->length, tables);
  if (!tables.empty()) {
    const Block& table = tables.front();
    ReadChildren(data, table.bodyStart, table.start + table.length, strings);
    std::uint32_t valueNumber = 0;
    for (const Block& s : strings) {
      rewritten.emplace_back();
      const std::u16string own = s.valueLength == 0 ? std::u16string() : StringValue(data, s);
      if (own.empty()) continue;
      if (const std::string* translation = TranslationOf(valueNumber)) {
        std::u16string text = Utf8ToUtf16(*translation);
        if (text != own) rewritten.back() = std::move(text);
      }
      ++valueNumber;
    }
  }
  const bool translated =
      std::any_of(rewritten.begin(), rewritten.end(), [](const auto& r) { return r.has_value(); });
  // Nothing to change: the resource as it came, further string tables, odd
  // lengths and all.
  if (!translated && !relocate) return data_;

  std::uint32_t language = 0;
  std::uint32_t codePage = 0;
  if (relocate) {
    ReadHex(localeCode.substr(4, 4), language);
    ReadHex(localeCode.substr(0, 4), codePage);
  }
  ByteWriter out;
  out.Reserve(data.size() + 256);
  out.Bytes(data.substr(0, childrenStart_));
  bool tooLong = false;
  const auto patchLength = [&](std::size_t at, std::uint64_t length) {
    if (length > 0xFFFF) tooLong = true;
    out.PatchU16(at, static_cast<std::uint16_t>(length));
  };
  // A block's length ends with its last child: the padding that follows a
  // child belongs to the parent only when another child comes after it.
  for (const Block& child : children) {
    out.AlignTo4();
    const std::size_t childOut = out.Offset();
    if (&child == files && !tables.empty()) {
      out.Bytes(data.substr(child.start, child.bodyStart - child.start));
      // Only the first table is kept: the texts are those of one language.
      const Block& table = tables.front();
      const std::size_t tableOut = out.Offset();
      out.Bytes(data.substr(table.start, table.bodyStart - table.start));
      if (relocate && table.key.size() == 8) {
        for (std::size_t i = 0; i < 8; ++i) {
          const char c = i < 4 ? localeCode[4 + i] : localeCode[i - 4];
          out.PatchU16(tableOut + kHead + 2 * i, static_cast<unsigned char>(c));
        }
      }
      for (std::size_t i = 0; i < strings.size(); ++i) {
        const Block& s = strings[i];
        out.AlignTo4();
        if (!rewritten[i]) {
          // Untranslated, an empty value included: its bytes and its
          // wValueLength as they stand.
          out.Bytes(data.substr(s.start, s.length));
          continue;
        }
        const std::size_t stringOut = out.Offset();
        out.Bytes(data.substr(s.start, s.bodyStart - s.start));  // header and key
        out.Utf16z(*rewritten[i]);
        out.AlignTo4();
        patchLength(stringOut + 2, rewritten[i]->size() + 1);
        patchLength(stringOut, out.Offset() - stringOut);
      }
      patchLength(tableOut, out.Offset() - tableOut);
      patchLength(childOut, out.Offset() - childOut);
    } else {
      // Copied as it stands, its own length included.
      out.Bytes(data.substr(child.start, child.length));
      if (relocate && child.key == u"VarFileInfo") {
        std::vector<Block> vars;
        ReadChildren(data, child.bodyStart, child.start + child.length, vars);
        for (const Block& var : vars) {
          // The first language/code-page pair; further pairs stay.
          if (var.bodyStart + 4 > var.start + var.length) continue;
          const std::size_t at = childOut + (var.bodyStart - child.start);
          out.PatchU16(at, static_cast<std::uint16_t>(language & 0xFFFF));
          out.PatchU16(at + 2, static_cast<std::uint16_t>(codePage & 0xFFFF));
        }
      }
    }
  }
  patchLength(0, out.Offset());
  if (tooLong) return std::nullopt;
  return out.Take();
}

}  // namespace ulk
