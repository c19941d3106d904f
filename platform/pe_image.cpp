// Reading a module's headers and resource tree.
// Ref: Microsoft, "PE Format", "The .rsrc Section".
#include "platform/pe_image.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/system_error.h"
#include "platform/text.h"

namespace ulk {
namespace {

constexpr std::uint16_t kMagicPe32 = 0x10b;
constexpr std::uint16_t kMagicPe32Plus = 0x20b;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint64_t kDirectoryHeaderSize = 16;
constexpr std::uint64_t kDirectoryEntrySize = 8;
constexpr std::uint64_t kDataEntrySize = 16;
constexpr int kResourceLevels = 3;  // type, name, language

Status Malformed(int code, std::string message) {
  return Status::Fail(code, std::move(message));
}

}  // namespace

ResourceId ResourceId::Name(std::string_view utf8) {
  return Name(Utf8ToUtf16(utf8));
}

std::string ResourceId::NameUtf8() const {
  return Utf16ToUtf8(name);
}

std::string ResourceId::Describe() const {
  if (named) return NameUtf8();
  std::string text = "#";
  text.append(std::to_string(number));
  return text;
}

const ResourceData* ChooseLanguage(const std::vector<ResourceData>& languages) {
  if (languages.empty()) return nullptr;
  for (const auto& data : languages) {
    if (data.language == kLanguageNeutral) return &data;
  }
  for (const auto& data : languages) {
    if (data.language == kLanguageEnglishUs) return &data;
  }
  for (const auto& data : languages) {
    if ((data.language & 0x3FF) == kPrimaryLanguageEnglish) return &data;
  }
  return &languages.front();
}

int ModuleImage::Open(const std::string& path) {
  Close();
  std::string bytes;
  if (const int error = ReadWholeFile(path, bytes)) {
    detail_ = SystemErrorMessage(error);
    return ErrorOfFileOpen(error == EISDIR ? ENOENT : error);
  }
  return Load(std::move(bytes), path);
}

int ModuleImage::Load(std::string bytes, std::string path) {
  Close();
  bytes_ = std::move(bytes);
  path_ = std::move(path);
  Status status = ReadHeaders();
  if (status) status = ReadResources();
  if (!status) {
    detail_ = status.message();
    const int code = status.code();
    bytes_.clear();
    bytes_.shrink_to_fit();
    headers_ = {};
    types_.clear();
    return code;
  }
  open_ = true;
  return 0;
}

void ModuleImage::Close() {
  open_ = false;
  path_.clear();
  bytes_.clear();
  headers_ = {};
  types_.clear();
  detail_.clear();
}

Status ModuleImage::ReadHeaders() {
  ByteReader file(bytes_);
  std::uint16_t mz = 0;
  std::uint32_t peOffset = 0;
  if (!file.PeekU16(0, mz) || mz != 0x5A4D) return Malformed(kErrorNotAModule, "no MZ header");
  if (!file.PeekU32(0x3C, peOffset)) return Malformed(kErrorNotAModule, "no PE header offset");
  std::uint32_t signature = 0;
  if (!file.PeekU32(peOffset, signature) || signature != 0x00004550) {
    return Malformed(kErrorNotAModule, "no PE signature");
  }
  PeHeaders& h = headers_;
  h.coffOffset = std::uint64_t{peOffset} + 4;
  ByteReader r(bytes_);
  std::uint16_t machine = 0;
  std::uint32_t timeDateStamp = 0;
  std::uint16_t characteristics = 0;
  if (!r.Seek(h.coffOffset) || !r.U16(machine) || !r.U16(h.numberOfSections) ||
      !r.U32(timeDateStamp) || !r.U32(h.pointerToSymbolTable) || !r.U32(h.numberOfSymbols) ||
      !r.U16(h.sizeOfOptionalHeader) || !r.U16(characteristics)) {
    return Malformed(kErrorModuleTruncated, "file header runs past the end");
  }
  h.optionalOffset = r.Offset();
  const auto optional = file.Sub(h.optionalOffset, h.sizeOfOptionalHeader);
  if (!optional) return Malformed(kErrorModuleTruncated, "optional header runs past the end");
  std::uint16_t magic = 0;
  if (!optional->PeekU16(0, magic) || (magic != kMagicPe32 && magic != kMagicPe32Plus)) {
    return Malformed(kErrorNotAModule, "optional header magic is neither PE32 nor PE32+");
  }
  h.is64 = magic == kMagicPe32Plus;
  const std::uint64_t directoryCountAt = h.is64 ? 108 : 92;
  std::uint32_t directoryCount = 0;
  if (!optional->PeekU32(PeHeaders::kSizeOfInitializedData, h.sizeOfInitializedData) ||
      !optional->PeekU32(32, h.sectionAlignment) || !optional->PeekU32(36, h.fileAlignment) ||
      !optional->PeekU32(PeHeaders::kSizeOfImage, h.sizeOfImage) ||
      !optional->PeekU32(60, h.sizeOfHeaders) ||
      !optional->PeekU32(PeHeaders::kCheckSum, h.checkSum) ||
      !optional->PeekU32(directoryCountAt, directoryCount)) {
    return Malformed(kErrorModuleTruncated, "optional header is too short");
  }
  h.dataDirectoryOffset = h.optionalOffset + directoryCountAt + 4;
  // Only the directories that fit in the optional header count.
  const std::uint64_t room = (h.sizeOfOptionalHeader - (directoryCountAt + 4)) / 8;
  const std::uint64_t count =
      std::min<std::uint64_t>({std::uint64_t{directoryCount}, room, std::uint64_t{16}});
  ByteReader d(bytes_);
  if (!d.Seek(h.dataDirectoryOffset)) return Malformed(kErrorModuleTruncated, "no data directory");
  for (std::uint64_t i = 0; i < count; ++i) {
    DataDirectory dir;
    if (!d.U32(dir.rva) || !d.U32(dir.size)) {
      return Malformed(kErrorModuleTruncated, "data directory runs past the end");
    }
    h.directories.push_back(dir);
  }
  h.sectionTableOffset = h.optionalOffset + h.sizeOfOptionalHeader;
  ByteReader s(bytes_);
  if (!s.Seek(h.sectionTableOffset) || s.Remaining() / kSectionHeaderSize < h.numberOfSections) {
    return Malformed(kErrorModuleTruncated, "section table runs past the end");
  }
  for (std::uint16_t i = 0; i < h.numberOfSections; ++i) {
    PeSection section;
    std::string_view name;
    std::uint32_t ignored = 0;
    if (!s.Bytes(8, name) || !s.U32(section.virtualSize) || !s.U32(section.virtualAddress) ||
        !s.U32(section.sizeOfRawData) || !s.U32(section.pointerToRawData) || !s.U32(ignored) ||
        !s.U32(ignored) || !s.U32(ignored) || !s.U32(section.characteristics)) {
      return Malformed(kErrorModuleTruncated, "section table runs past the end");
    }
    section.name.assign(name.substr(0, name.find('\0')));
    if (section.sizeOfRawData > 0 &&
        std::uint64_t{section.pointerToRawData} + section.sizeOfRawData > bytes_.size()) {
      return Malformed(kErrorModuleTruncated,
                       "section " + section.name + " runs past the end of the file");
    }
    h.sections.push_back(std::move(section));
  }
  return {};
}

int ModuleImage::SectionOf(std::uint32_t rva) const {
  for (std::size_t i = 0; i < headers_.sections.size(); ++i) {
    const PeSection& s = headers_.sections[i];
    const std::uint64_t extent = std::max(s.virtualSize, s.sizeOfRawData);
    if (rva >= s.virtualAddress && rva < std::uint64_t{s.virtualAddress} + extent) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

bool ModuleImage::FileOffsetOf(std::uint32_t rva, std::uint32_t length,
                               std::uint64_t& offset) const {
  const int index = SectionOf(rva);
  if (index < 0) return false;
  const PeSection& s = headers_.sections[static_cast<std::size_t>(index)];
  const std::uint64_t inSection = rva - s.virtualAddress;
  // The bytes must be backed by the file, not by the zero fill of memory.
  if (inSection + length > s.sizeOfRawData) return false;
  offset = s.pointerToRawData + inSection;
  return offset + length <= bytes_.size();
}

Status ModuleImage::ReadDirectory(std::uint64_t base, std::uint64_t limit, std::uint32_t offset,
                                  int level, std::uint64_t& budget, std::vector<ResourceId>& ids,
                                  std::vector<std::uint32_t>& targets) const {
  ids.clear();
  targets.clear();
  const auto table = ByteReader(bytes_).Sub(base, limit);
  ByteReader r = *table;
  std::uint16_t namedCount = 0;
  std::uint16_t idCount = 0;
  if (!r.Seek(offset) || !r.Skip(12) || !r.U16(namedCount) || !r.U16(idCount)) {
    return Malformed(kErrorBadResourceDirectory, "directory header out of range");
  }
  const std::uint64_t entries = std::uint64_t{namedCount} + idCount;
  if (entries > r.Remaining() / kDirectoryEntrySize) {
    return Malformed(kErrorBadResourceDirectory, "directory lists more entries than fit");
  }
  // Distinct directories cannot hold more entries than the bytes allow; a
  // tree that keeps pointing at the same tables would.
  if (entries > budget) return Malformed(kErrorBadResourceDirectory, "directory tables repeat");
  budget -= entries;
  for (std::uint64_t i = 0; i < entries; ++i) {
    std::uint32_t nameField = 0;
    std::uint32_t target = 0;
    if (!r.U32(nameField) || !r.U32(target)) {
      return Malformed(kErrorBadResourceDirectory, "directory entry out of range");
    }
    ResourceId id;
    if (nameField & kHighBit) {
      ByteReader n = *table;
      std::uint16_t length = 0;
      std::u16string name;
      if (!n.Seek(nameField & ~kHighBit) || !n.U16(length) || !n.Utf16(length, name)) {
        return Malformed(kErrorBadResourceDirectory, "resource name out of range");
      }
      id = ResourceId::Name(std::move(name));
    } else {
      id = ResourceId::Number(nameField);
    }
    const bool isDirectory = (target & kHighBit) != 0;
    if (isDirectory != (level < kResourceLevels)) {
      return Malformed(kErrorBadResourceDirectory, isDirectory
                                                       ? "directory deeper than three levels"
                                                       : "data entry above the language level");
    }
    ids.push_back(std::move(id));
    targets.push_back(target & ~kHighBit);
  }
  return {};
}

Status ModuleImage::ReadResources() {
  const PeHeaders& h = headers_;
  if (h.directories.size() <= kDirResource) return {};
  const DataDirectory& dir = h.directories[kDirResource];
  if (dir.rva == 0) return {};
  const int sectionIndex = SectionOf(dir.rva);
  if (sectionIndex < 0) {
    return Malformed(kErrorBadResourceDirectory, "resource directory lies in no section");
  }
  const PeSection& section = h.sections[static_cast<std::size_t>(sectionIndex)];
  std::uint64_t base = 0;
  if (!FileOffsetOf(dir.rva, static_cast<std::uint32_t>(kDirectoryHeaderSize), base)) {
    return Malformed(kErrorBadResourceDirectory, "resource directory is not in the file");
  }
  // Offsets inside the tree are relative to its start and stay in its section.
  const std::uint64_t limit =
      std::uint64_t{section.pointerToRawData} + section.sizeOfRawData - base;
  std::uint64_t budget = limit / kDirectoryEntrySize;

  std::vector<ResourceId> typeIds, nameIds, languageIds;
  std::vector<std::uint32_t> typeTargets, nameTargets, languageTargets;
  Status status = ReadDirectory(base, limit, 0, 1, budget, typeIds, typeTargets);
  if (!status) return status.Context("resource types");
  for (std::size_t t = 0; t < typeIds.size(); ++t) {
    ResourceTypeNode type{typeIds[t], {}};
    status = ReadDirectory(base, limit, typeTargets[t], 2, budget, nameIds, nameTargets);
    if (!status) return status.Context("resources of type " + type.id.Describe());
    for (std::size_t n = 0; n < nameIds.size(); ++n) {
      ResourceName name{nameIds[n], {}};
      status = ReadDirectory(base, limit, nameTargets[n], 3, budget, languageIds, languageTargets);
      if (!status) return status.Context("resource " + name.id.Describe());
      for (std::size_t l = 0; l < languageIds.size(); ++l) {
        ByteReader entry(std::string_view(bytes_).substr(static_cast<std::size_t>(base),
                                                         static_cast<std::size_t>(limit)));
        std::uint32_t rva = 0;
        std::uint32_t size = 0;
        ResourceData data;
        if (!entry.Seek(languageTargets[l]) || !entry.U32(rva) || !entry.U32(size) ||
            !entry.U32(data.codePage)) {
          return Malformed(kErrorBadResourceDirectory, "data entry out of range")
              .Context("resource " + name.id.Describe());
        }
        std::uint64_t at = 0;
        if (!FileOffsetOf(rva, size, at)) {
          return Malformed(kErrorBadResourceDirectory, "data lies outside the file")
              .Context("resource " + name.id.Describe());
        }
        data.language = static_cast<std::uint16_t>(languageIds[l].number);
        data.bytes = std::string_view(bytes_).substr(static_cast<std::size_t>(at), size);
        name.languages.push_back(data);
      }
      type.names.push_back(std::move(name));
    }
    types_.push_back(std::move(type));
  }
  return {};
}

const ResourceTypeNode* ModuleImage::FindType(const ResourceId& type) const {
  for (const auto& node : types_) {
    if (node.id == type) return &node;
  }
  return nullptr;
}

const ResourceName* ModuleImage::FindName(const ResourceId& type, const ResourceId& name) const {
  const ResourceTypeNode* node = FindType(type);
  if (!node) return nullptr;
  for (const auto& candidate : node->names) {
    if (candidate.id == name) return &candidate;
  }
  return nullptr;
}

const ResourceData* ModuleImage::Find(const ResourceId& type, const ResourceId& name) const {
  const ResourceName* node = FindName(type, name);
  return node ? ChooseLanguage(node->languages) : nullptr;
}

std::uint32_t PeChecksum(std::string_view image, std::uint64_t checkSumOffset) {
  // The sum of all 16-bit words with end-around carry. Added up in 64 bits
  // and folded once at the end, which gives the same result.
  const auto sumWords = [&](std::size_t from, std::size_t to) {
    std::uint64_t sum = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(image.data());
    std::size_t i = from;
    for (; i + 1 < to; i += 2) sum += static_cast<std::uint32_t>(data[i] | (data[i + 1] << 8));
    if (i < to) sum += data[i];
    return sum;
  };
  const std::size_t size = image.size();
  const std::size_t skipFrom =
      static_cast<std::size_t>(std::min<std::uint64_t>(checkSumOffset, size)) & ~std::size_t{1};
  const std::size_t skipTo = std::min<std::size_t>(skipFrom + 4, size);
  std::uint64_t sum = sumWords(0, skipFrom) + sumWords(skipTo, size);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + size);
}

}  // namespace ulk
