// Parsing, building and querying VS_VERSIONINFO blocks.
#include "platform/version_info.h"

#include <unistd.h>

#include <cstring>
#include <functional>
#include <optional>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/locales.h"
#include "platform/pe_image.h"
#include "platform/system_error.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::size_t kFixedSize = 52;
constexpr std::size_t kHeadSize = 6;

char16_t Lower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
}

bool SameKey(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// Where a block stands decides how it reads, as the version codec reads
// and rewrites it (keeping each block's wType and wValueLength): the root
// holds its fixed information, then blocks; the file information and its
// string tables hold blocks only (their wValueLength is 0 by the format);
// the strings of a table are texts whatever their wType says. Elsewhere
// wType 1 with a value marks a text.
enum class Place { kRoot, kFileInfo, kTable, kString, kOther };

Place PlaceOfChild(Place parent, std::u16string_view key) {
  switch (parent) {
    case Place::kRoot:
      return SameKey(key, u"StringFileInfo") ? Place::kFileInfo : Place::kOther;
    case Place::kFileInfo:
      return Place::kTable;
    case Place::kTable:
      return Place::kString;
    default:
      return Place::kOther;
  }
}

// `parent` is where the block's parent stands; none for the root.
Status ParseNode(ByteReader block, VersionNode& node, int depth, std::optional<Place> parent) {
  if (depth > 8) return Status::Fail(kErrorBadTemplate, "version blocks nest too deep");
  std::uint16_t length = 0;
  std::uint16_t valueLength = 0;
  if (!block.U16(length) || !block.U16(valueLength) || !block.U16(node.type)) {
    return Status::Fail(kErrorBadTemplate, "version block head runs past the end");
  }
  if (length < kHeadSize || length > block.Size()) {
    return Status::Fail(kErrorBadTemplate, "version block length out of range");
  }
  ByteReader r = *block.Sub(0, length);
  r.Seek(kHeadSize);
  if (!r.Utf16z(node.key)) return Status::Fail(kErrorBadTemplate, "unterminated version key");
  const Place place = parent ? PlaceOfChild(*parent, node.key) : Place::kRoot;
  if (!r.AlignTo4()) return {};  // a block that ends with its key
  if (place == Place::kString || (place == Place::kOther && valueLength != 0 && node.type == 1)) {
    // A text (a String block, which has no children). Its length counts
    // characters and is often wrong: the value runs to the end of the block
    // and ends at its terminating zero.
    if (valueLength != 0) r.Bytes(r.Remaining(), node.value);
    return {};
  }
  const bool blocksOnly = place == Place::kFileInfo || place == Place::kTable;
  const std::uint64_t declared = blocksOnly ? 0 : valueLength;
  if (!r.Bytes(std::min<std::uint64_t>(declared, r.Remaining()), node.value)) return {};
  while (r.AlignTo4() && r.Remaining() >= kHeadSize) {
    std::uint16_t childLength = 0;
    r.PeekU16(r.Offset(), childLength);
    if (childLength == 0) break;  // trailing padding
    const auto child = r.Sub(r.Offset(), std::min<std::uint64_t>(childLength, r.Remaining()));
    VersionNode parsed;
    Status status = ParseNode(*child, parsed, depth + 1, place);
    if (!status) return status;
    node.children.push_back(std::move(parsed));
    if (!r.Skip(std::min<std::uint64_t>(childLength, r.Remaining()))) break;
  }
  return {};
}

// Writes one block and its children; `fits` turns false when a length does
// not fit its 16 bits.
void WriteNode(ByteWriter& out, std::u16string_view key, std::uint16_t type, std::string_view value,
               std::uint64_t valueLength, bool& fits,
               const std::function<void(ByteWriter&)>& children) {
  const std::size_t start = out.Offset();
  out.U16(0);
  out.U16(static_cast<std::uint16_t>(valueLength));
  out.U16(type);
  out.Utf16z(key);
  out.AlignTo4();
  out.Bytes(value);
  if (children) {
    out.AlignTo4();
    children(out);
  }
  const std::uint64_t length = out.Offset() - start;
  if (length > 0xFFFF || valueLength > 0xFFFF) fits = false;
  out.PatchU16(start, static_cast<std::uint16_t>(length));
}

std::string ElfSection(const std::string& bytes, std::string_view wanted) {
  ByteReader r(bytes);
  const bool is64 = bytes.size() > 4 && bytes[4] == 2;
  std::uint64_t sectionOffset = 0;
  std::uint16_t entrySize = 0;
  std::uint16_t count = 0;
  std::uint16_t namesIndex = 0;
  std::uint32_t offset32 = 0;
  if (is64) {
    if (!r.Seek(0x28) || !r.U64(sectionOffset) || !r.Seek(0x3A) || !r.U16(entrySize) ||
        !r.U16(count) || !r.U16(namesIndex)) {
      return {};
    }
  } else {
    if (!r.Seek(0x20) || !r.U32(offset32) || !r.Seek(0x2E) || !r.U16(entrySize) || !r.U16(count) ||
        !r.U16(namesIndex)) {
      return {};
    }
    sectionOffset = offset32;
  }
  const auto sectionAt = [&](std::uint16_t index, std::uint32_t& name, std::uint64_t& at,
                             std::uint64_t& size) {
    const std::uint64_t header = sectionOffset + std::uint64_t{index} * entrySize;
    ByteReader s(bytes);
    if (!s.Seek(header) || !s.U32(name)) return false;
    if (is64) {
      return s.Seek(header + 0x18) && s.U64(at) && s.U64(size);
    }
    std::uint32_t at32 = 0;
    std::uint32_t size32 = 0;
    if (!s.Seek(header + 0x10) || !s.U32(at32) || !s.U32(size32)) return false;
    at = at32;
    size = size32;
    return true;
  };
  std::uint32_t ignored = 0;
  std::uint64_t namesAt = 0;
  std::uint64_t namesSize = 0;
  if (namesIndex >= count || !sectionAt(namesIndex, ignored, namesAt, namesSize)) return {};
  const auto names = r.Sub(namesAt, namesSize);
  if (!names) return {};
  for (std::uint16_t i = 0; i < count; ++i) {
    std::uint32_t name = 0;
    std::uint64_t at = 0;
    std::uint64_t size = 0;
    if (!sectionAt(i, name, at, size) || name >= names->Size()) continue;
    const std::string_view table = names->Data().substr(name);
    if (table.substr(0, table.find('\0')) != wanted) continue;
    const auto section = r.Sub(at, size);
    return section ? std::string(section->Data()) : std::string();
  }
  return {};
}

std::string Hex(std::uint32_t value) {
  return Format("0x%x", value);
}

}  // namespace

const VersionNode* VersionNode::Child(std::u16string_view childKey) const {
  for (const auto& child : children) {
    if (SameKey(child.key, childKey)) return &child;
  }
  return nullptr;
}

std::u16string VersionNode::Text() const {
  std::u16string text;
  ByteReader r(value);
  std::uint16_t unit = 0;
  while (r.U16(unit) && unit != 0) text.push_back(static_cast<char16_t>(unit));
  return text;
}

Status ParseVersionTree(std::string_view block, VersionNode& root) {
  root = {};
  return ParseNode(ByteReader(block), root, 0, std::nullopt);
}

std::string BuildVersionBlock(const FixedFileInfo& fixed, std::uint32_t translation,
                              const std::vector<std::pair<std::string, std::string>>& strings) {
  ByteWriter fixedBytes;
  for (const std::uint32_t value :
       {fixed.signature, fixed.structVersion, fixed.fileVersionMS, fixed.fileVersionLS,
        fixed.productVersionMS, fixed.productVersionLS, fixed.fileFlagsMask, fixed.fileFlags,
        fixed.fileOS, fixed.fileType, fixed.fileSubtype, fixed.fileDateMS, fixed.fileDateLS}) {
    fixedBytes.U32(value);
  }
  const std::u16string tableKey =
      Utf8ToUtf16(Format("%04x%04x", translation & 0xFFFF, translation >> 16));
  ByteWriter translationBytes;
  translationBytes.U16(static_cast<std::uint16_t>(translation & 0xFFFF));
  translationBytes.U16(static_cast<std::uint16_t>(translation >> 16));

  ByteWriter out;
  bool fits = true;
  WriteNode(out, u"VS_VERSION_INFO", 0, fixedBytes.Data(), kFixedSize, fits, [&](ByteWriter& w) {
    WriteNode(w, u"StringFileInfo", 1, {}, 0, fits, [&](ByteWriter& sfi) {
      WriteNode(sfi, tableKey, 1, {}, 0, fits, [&](ByteWriter& table) {
        for (const auto& [name, text] : strings) {
          table.AlignTo4();
          ByteWriter value;
          const std::u16string wide = Utf8ToUtf16(text);
          value.Utf16z(wide);
          WriteNode(table, Utf8ToUtf16(name), 1, value.Data(), wide.size() + 1, fits, nullptr);
        }
      });
    });
    w.AlignTo4();
    WriteNode(w, u"VarFileInfo", 1, {}, 0, fits, [&](ByteWriter& vfi) {
      WriteNode(vfi, u"Translation", 0, translationBytes.Data(), 4, fits, nullptr);
    });
  });
  // A length cut to 16 bits would make a block that reads as another.
  if (!fits) return {};
  return out.Take();
}

std::string ReadVersionBlock(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != 0) return {};
  if (bytes.compare(0, 4,
                    "\x7f"
                    "ELF") == 0)
    return ElfSection(bytes, ".vsinfo");
  if (bytes.compare(0, 2, "MZ") != 0) return {};
  ModuleImage image;
  if (image.Load(std::move(bytes), path) != 0) return {};
  const ResourceTypeNode* versions = image.FindType(ResourceId::Number(16));
  if (!versions || versions->names.empty()) return {};
  // Resource 1 when there is one, else the first.
  const ResourceName* chosen = &versions->names.front();
  for (const auto& name : versions->names) {
    if (name.id == ResourceId::Number(1)) chosen = &name;
  }
  const ResourceData* data = ChooseLanguage(chosen->languages);
  return data ? std::string(data->bytes) : std::string();
}

void FileVersionInfo::Load(const std::string& path) {
  path_ = path;
  std::string file = path;
  if (file.empty()) {
    char self[4096] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length > 0) file.assign(self, static_cast<std::size_t>(length));
  }
  std::string block = ReadVersionBlock(file);
  if (block.empty()) return;
  LoadBlock(std::move(block));
}

void FileVersionInfo::LoadBlock(std::string block) {
  VersionNode root;
  block_ = std::move(block);
  if (!ParseVersionTree(block_, root)) {
    block_.clear();
    root_ = {};
    translation_ = 0;
    return;
  }
  root_ = std::move(root);
  translation_ = 0;
  SelectTranslation(0);
}

bool FileVersionInfo::SelectTranslation(int index) {
  if (block_.empty() || index < 0) return false;
  const VersionNode* vars = root_.Child(u"VarFileInfo");
  const VersionNode* list = vars ? vars->Child(u"Translation") : nullptr;
  if (!list || list->value.size() / 4 <= static_cast<std::size_t>(index)) return false;
  translation_ = LoadU32(list->value, static_cast<std::size_t>(index) * 4);
  // Stored as language then code page, each a 16-bit word.
  translation_ = (translation_ & 0xFFFF) | (translation_ & 0xFFFF0000u);
  return true;
}

std::string FileVersionInfo::LanguageName() const {
  return LanguageNameOf(translation_);
}

std::string FileVersionInfo::GetString(std::string_view name) const {
  if (block_.empty() || translation_ == 0) return {};
  const VersionNode* files = root_.Child(u"StringFileInfo");
  const std::u16string tableKey =
      Utf8ToUtf16(Format("%04x%04x", translation_ & 0xFFFF, translation_ >> 16));
  const VersionNode* table = files ? files->Child(tableKey) : nullptr;
  const VersionNode* value = table ? table->Child(Utf8ToUtf16(name)) : nullptr;
  return value ? Utf16ToUtf8(value->Text()) : std::string();
}

bool FileVersionInfo::Fixed(FixedFileInfo& fixed) const {
  if (root_.value.size() < kFixedSize || LoadU32(root_.value, 0) != kFixedSignature) return false;
  std::uint32_t* fields[] = {&fixed.signature,     &fixed.structVersion,    &fixed.fileVersionMS,
                             &fixed.fileVersionLS, &fixed.productVersionMS, &fixed.productVersionLS,
                             &fixed.fileFlagsMask, &fixed.fileFlags,        &fixed.fileOS,
                             &fixed.fileType,      &fixed.fileSubtype,      &fixed.fileDateMS,
                             &fixed.fileDateLS};
  for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = LoadU32(root_.value, 4 * i);
  return true;
}

std::string FileVersionInfo::GetField(int number) const {
  static const char* const kNames[] = {"ProductName",      "ProductVersion",  "InternalName",
                                       "OriginalFilename", "FileDescription", "FileVersion",
                                       "Comments",         "CompanyName",     "LegalCopyright",
                                       "LegalTrademarks",  "PrivateBuild",    "SpecialBuild"};
  if (block_.empty() || translation_ == 0) return {};
  if (number >= 0 && number <= 11) return GetString(kNames[number]);
  FixedFileInfo f;
  if (number < kFieldFileVersionNumber || number > kFieldDate || !Fixed(f)) return {};
  const auto version = [](std::uint32_t ms, std::uint32_t ls) {
    return Format("v%u.%u.%u.%u", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
  };
  switch (number) {
    case kFieldFileVersionNumber:
      return version(f.fileVersionMS, f.fileVersionLS);
    case kFieldProductVersionNumber:
      return version(f.productVersionMS, f.productVersionLS);
    case kFieldFlagsMask:
      return Hex(f.fileFlagsMask);
    case kFieldFlags:
      return Hex(f.fileFlags);
    case kFieldOs:
      return FileOsName(f.fileOS);
    case kFieldType:
      return FileTypeName(f.fileType);
    case kFieldSubtype:
      return FileSubtypeName(f.fileType, f.fileSubtype);
    default:
      return FileDateText(f.fileDateMS, f.fileDateLS);
  }
}

std::string FileOsName(std::uint32_t os) {
  struct Name {
    std::uint32_t value;
    const char* name;
  };
  static constexpr Name kOs[] = {
      {0x00000001, "VOS__WINDOWS16"},    {0x00000002, "VOS__PM16"},
      {0x00000003, "VOS__PM32"},         {0x00000004, "VOS__WINDOWS32"},
      {0x00010000, "VOS_DOS"},           {0x00010001, "VOS_DOS_WINDOWS16"},
      {0x00010004, "VOS_DOS_WINDOWS32"}, {0x00020000, "VOS_OS216"},
      {0x00020002, "VOS_OS216_PM16"},    {0x00030000, "VOS_OS232"},
      {0x00030003, "VOS_OS232_PM32"},    {0x00040000, "VOS_NT"},
      {0x00040004, "VOS_NT_WINDOWS32"}};
  for (const auto& entry : kOs) {
    if (entry.value == os) return entry.name;
  }
  return Format("VOS_UNKNOWN [0x%08x]", os);
}

std::string FileTypeName(std::uint32_t type) {
  switch (type) {
    case 1:
      return "VFT_APP";
    case 2:
      return "VFT_DLL";
    case 3:
      return "VFT_DRV";
    case 4:
      return "VFT_FONT";
    case 5:
      return "VFT_VXD";
    case 7:
      return "VFT_STATIC_LIB";
    default:
      return Format("VFT_UNKNOWN [0x%08x]", type);
  }
}

std::string FileSubtypeName(std::uint32_t type, std::uint32_t subtype) {
  static const char* const kDrivers[] = {
      "VFT2_DRV_PRINTER", "VFT2_DRV_KEYBOARD", "VFT2_DRV_LANGUAGE", "VFT2_DRV_DISPLAY",
      "VFT2_DRV_MOUSE",   "VFT2_DRV_NETWORK",  "VFT2_DRV_SYSTEM",   "VFT2_DRV_INSTALLABLE",
      "VFT2_DRV_SOUND",   "VFT2_DRV_COMM"};
  static const char* const kFonts[] = {"VFT2_FONT_RASTER", "VFT2_FONT_VECTOR",
                                       "VFT2_FONT_TRUETYPE"};
  if (type == 3 && subtype >= 1 && subtype <= 10) return kDrivers[subtype - 1];
  if (type == 4 && subtype >= 1 && subtype <= 3) return kFonts[subtype - 1];
  return Format("VFT2_UNKNOWN [0x%08x]", subtype);
}

std::string FileDateText(std::uint32_t high, std::uint32_t low) {
  if (high == 0 && low == 0) return "null";
  const std::uint64_t ticks = (std::uint64_t{high} << 32) | low;
  const std::uint64_t seconds = ticks / 10000000ULL;
  std::uint64_t days = seconds / 86400;  // since 1601-01-01
  const std::uint64_t secondOfDay = seconds % 86400;
  // Civil date from a day count, years of 400-year cycles from 1601.
  std::uint64_t year = 1601 + 400 * (days / 146097);
  days %= 146097;
  const auto isLeap = [](std::uint64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; };
  while (days >= (isLeap(year) ? 366u : 365u)) {
    days -= isLeap(year) ? 366u : 365u;
    ++year;
  }
  static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int month = 0;
  while (true) {
    const std::uint64_t length =
        static_cast<std::uint64_t>(kMonthDays[month]) + (month == 1 && isLeap(year) ? 1 : 0);
    if (days < length) break;
    days -= length;
    ++month;
  }
  if (year < 100 || year > 9999) return {};
  return Format("%02u/%02d/%04u %02u:%02u:%02u", static_cast<unsigned>(days + 1), month + 1,
                static_cast<unsigned>(year), static_cast<unsigned>(secondOfDay / 3600),
                static_cast<unsigned>(secondOfDay / 60 % 60),
                static_cast<unsigned>(secondOfDay % 60));
}

}  // namespace ulk
