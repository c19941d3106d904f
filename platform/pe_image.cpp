// Reading a module's headers and resource tree.
// Ref: Microsoft, "PE Format", "The .rsrc Section".
#include "platform/pe_image.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/piece_image.h"
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
constexpr int kResourceLevels = 3;  // type, name, language
constexpr std::uint32_t kPageSize = 4096;
constexpr std::uint32_t kMinFileAlignment = 512;
constexpr std::uint32_t kMaxFileAlignment = 64 * 1024;

Status Malformed(int code, std::string message) {
  return Status::Fail(code, std::move(message));
}

// A file that became shorter or unreadable after it was opened, or a
// stretch of it that found no memory.
Status Unreadable(const SourceFile& source) {
  if (source.LastError() == ENOMEM) return Status::Fail(ENOMEM, "out of memory");
  return Status::Fail(EIO, "the file cannot be read");
}

bool PowerOfTwo(std::uint32_t value) {
  return value != 0 && (value & (value - 1)) == 0;
}

// The alignments a loader takes: file alignment a power of two from 512 to
// 64 KB and section alignment a power of two no smaller, or both equal and
// below the page size (small images mapped as they lie in the file). Every
// section the update writes is padded to them, so a module that claims a
// gigabyte would cost as much per translation.
// Ref: Microsoft, "PE Format", "Optional Header Windows-Specific Fields".
Status CheckAlignments(std::uint32_t section, std::uint32_t file) {
  const bool powers = PowerOfTwo(section) && PowerOfTwo(file);
  const bool small = powers && section < kPageSize && file == section;
  const bool usual = powers && section >= kPageSize && file >= kMinFileAlignment &&
                     file <= kMaxFileAlignment && section >= file;
  if (small || usual) return {};
  return Malformed(kErrorNotAModule, Format("section alignment 0x%x and file alignment 0x%x are "
                                            "not ones a loader takes",
                                            section, file));
}

// What a failed open says beside its code.
std::string OpenFailureDetail(int error) {
  switch (error) {
    case kErrorNotAFile:
      return "not a regular file (a device, a pipe or a socket)";
    case kErrorFileTooLarge:
      return Format("larger than %llu MB, the most a module may be",
                    static_cast<unsigned long long>(kMaxModuleFileSize >> 20));
    default:
      return SystemErrorMessage(error);
  }
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
  return Guarded([&] {
    if (const int error = source_.Open(path)) {
      detail_ = OpenFailureDetail(error);
      return ErrorOfFileOpen(error == EISDIR ? ENOENT : error);
    }
    path_ = path;
    return Check();
  });
}

int ModuleImage::Load(std::string bytes, std::string path) {
  Close();
  return Guarded([&] {
    if (const int error = source_.Adopt(std::move(bytes))) {
      detail_ = OpenFailureDetail(error);
      return error;
    }
    path_ = std::move(path);
    return Check();
  });
}

template <typename Step>
int ModuleImage::Guarded(Step step) {
  // However a hostile module multiplies what is kept of it, running out of
  // memory fails this module, not the program.
  try {
    return step();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  Close();
  detail_ = "out of memory";  // short enough to need no memory of its own
  return ENOMEM;
}

int ModuleImage::Check() {
  Status status = ReadHeaders();
  if (status) status = ReadResources();
  if (!status) {
    const std::string detail = status.message();
    const int code = status.code();
    Close();
    detail_ = detail;
    return code;
  }
  open_ = true;
  return 0;
}

void ModuleImage::Close() {
  open_ = false;
  path_.clear();
  source_.Close();
  headers_ = {};
  types_.clear();
  detail_.clear();
}

std::string_view ModuleImage::Bytes() const {
  const auto whole = source_.View(0, source_.Size());
  return whole ? *whole : std::string_view();
}

Status ModuleImage::ReadHeaders() {
  // The headers come first in the file: a page of it, then as much as the
  // section table needs.
  const auto head = [&](std::uint64_t wanted) {
    return source_.View(0, std::min(wanted, source_.Size()));
  };
  std::optional<std::string_view> bytes = head(4096);
  if (!bytes) return Unreadable(source_);
  ByteReader file(*bytes);
  std::uint16_t mz = 0;
  std::uint32_t peOffset = 0;
  if (!file.PeekU16(0, mz) || mz != 0x5A4D) return Malformed(kErrorNotAModule, "no MZ header");
  if (!file.PeekU32(PeHeaders::kPeSignatureOffset, peOffset))
    return Malformed(kErrorNotAModule, "no PE header offset");
  std::uint16_t sectionCount = 0;
  std::uint16_t optionalSize = 0;
  const std::uint64_t coff = std::uint64_t{peOffset} + 4;
  if (coff + PeHeaders::kCoffHeaderSize > bytes->size()) {
    bytes = head(coff + PeHeaders::kCoffHeaderSize);
  }
  if (!bytes) return Unreadable(source_);
  if (ByteReader(*bytes).PeekU16(coff + PeHeaders::kNumberOfSections, sectionCount) &&
      ByteReader(*bytes).PeekU16(coff + PeHeaders::kSizeOfOptionalHeader, optionalSize)) {
    const std::uint64_t tableEnd =
        coff + PeHeaders::kCoffHeaderSize + optionalSize + kSectionHeaderSize * sectionCount;
    if (tableEnd > bytes->size()) bytes = head(tableEnd);
    if (!bytes) return Unreadable(source_);
  }
  file = ByteReader(*bytes);
  std::uint32_t signature = 0;
  if (!file.PeekU32(peOffset, signature) || signature != 0x00004550) {
    return Malformed(kErrorNotAModule, "no PE signature");
  }
  PeHeaders& h = headers_;
  h.coffOffset = std::uint64_t{peOffset} + 4;
  ByteReader r(*bytes);
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
  const std::uint64_t directoryCountAt =
      h.is64 ? PeHeaders::kNumberOfRvaAndSizesPe32Plus : PeHeaders::kNumberOfRvaAndSizesPe32;
  std::uint32_t directoryCount = 0;
  if (!optional->PeekU32(PeHeaders::kSizeOfInitializedData, h.sizeOfInitializedData) ||
      !optional->PeekU32(PeHeaders::kSectionAlignment, h.sectionAlignment) ||
      !optional->PeekU32(PeHeaders::kFileAlignment, h.fileAlignment) ||
      !optional->PeekU32(PeHeaders::kSizeOfImage, h.sizeOfImage) ||
      !optional->PeekU32(PeHeaders::kSizeOfHeaders, h.sizeOfHeaders) ||
      !optional->PeekU32(PeHeaders::kCheckSum, h.checkSum) ||
      !optional->PeekU32(directoryCountAt, directoryCount)) {
    return Malformed(kErrorModuleTruncated, "optional header is too short");
  }
  if (Status status = CheckAlignments(h.sectionAlignment, h.fileAlignment); !status) return status;
  h.dataDirectoryOffset = h.optionalOffset + directoryCountAt + 4;
  // Only the directories that fit in the optional header count.
  const std::uint64_t room = (h.sizeOfOptionalHeader - (directoryCountAt + 4)) / 8;
  const std::uint64_t count =
      std::min<std::uint64_t>({std::uint64_t{directoryCount}, room, std::uint64_t{16}});
  ByteReader d(*bytes);
  if (!d.Seek(h.dataDirectoryOffset)) return Malformed(kErrorModuleTruncated, "no data directory");
  for (std::uint64_t i = 0; i < count; ++i) {
    DataDirectory dir;
    if (!d.U32(dir.rva) || !d.U32(dir.size)) {
      return Malformed(kErrorModuleTruncated, "data directory runs past the end");
    }
    h.directories.push_back(dir);
  }
  h.sectionTableOffset = h.optionalOffset + h.sizeOfOptionalHeader;
  ByteReader s(*bytes);
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
        std::uint64_t{section.pointerToRawData} + section.sizeOfRawData > source_.Size()) {
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
  return offset + length <= source_.Size();
}

Status ModuleImage::ReadDirectory(std::string_view tree, std::uint32_t offset, int level,
                                  std::uint64_t& budget, std::vector<ResourceId>& ids,
                                  std::vector<std::uint32_t>& targets) const {
  ids.clear();
  targets.clear();
  const ByteReader table(tree);
  ByteReader r = table;
  std::uint16_t namedCount = 0;
  std::uint16_t idCount = 0;
  if (!r.Seek(offset) || !r.Skip(12) || !r.U16(namedCount) || !r.U16(idCount)) {
    return Malformed(kErrorBadResourceDirectory, "directory header out of range");
  }
  const std::uint64_t entries = std::uint64_t{namedCount} + idCount;
  if (entries > r.Remaining() / kDirectoryEntrySize) {
    return Malformed(kErrorBadResourceDirectory, "directory lists more entries than fit");
  }
  // Every entry read and every name copied costs the bytes it takes in the
  // tree: distinct tables and strings cannot cost more than the tree holds,
  // while a tree that keeps pointing at the same ones (each pointer a copy
  // of up to 128 KB of name in memory) runs out.
  if (entries > budget / kDirectoryEntrySize) {
    return Malformed(kErrorBadResourceDirectory, "directory tables repeat");
  }
  budget -= entries * kDirectoryEntrySize;
  for (std::uint64_t i = 0; i < entries; ++i) {
    std::uint32_t nameField = 0;
    std::uint32_t target = 0;
    if (!r.U32(nameField) || !r.U32(target)) {
      return Malformed(kErrorBadResourceDirectory, "directory entry out of range");
    }
    ResourceId id;
    if (nameField & kHighBit) {
      ByteReader n = table;
      std::uint16_t length = 0;
      std::u16string name;
      if (!n.Seek(nameField & ~kHighBit) || !n.U16(length)) {
        return Malformed(kErrorBadResourceDirectory, "resource name out of range");
      }
      const std::uint64_t nameBytes = 2 + 2 * std::uint64_t{length};
      if (nameBytes > budget) return Malformed(kErrorBadResourceDirectory, "resource names repeat");
      budget -= nameBytes;
      if (!n.Utf16(length, name)) {
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
  std::uint64_t budget = limit;
  const std::optional<std::string_view> tree = source_.View(base, limit);
  if (!tree) return Unreadable(source_);

  std::vector<ResourceId> typeIds, nameIds, languageIds;
  std::vector<std::uint32_t> typeTargets, nameTargets, languageTargets;
  Status status = ReadDirectory(*tree, 0, 1, budget, typeIds, typeTargets);
  if (!status) return status.Context("resource types");
  for (std::size_t t = 0; t < typeIds.size(); ++t) {
    ResourceTypeNode type{std::move(typeIds[t]), {}};
    status = ReadDirectory(*tree, typeTargets[t], 2, budget, nameIds, nameTargets);
    if (!status) return status.Context("resources of type " + type.id.Describe());
    for (std::size_t n = 0; n < nameIds.size(); ++n) {
      ResourceName name{std::move(nameIds[n]), {}};
      status = ReadDirectory(*tree, nameTargets[n], 3, budget, languageIds, languageTargets);
      if (!status) return status.Context("resource " + name.id.Describe());
      for (std::size_t l = 0; l < languageIds.size(); ++l) {
        ByteReader entry(*tree);
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
        const std::optional<std::string_view> bytes = source_.View(at, size);
        if (!bytes) return Unreadable(source_);
        data.language = static_cast<std::uint16_t>(languageIds[l].number);
        data.bytes = *bytes;
        data.fileOffset = at;
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
  PeChecksumSum sum(checkSumOffset);
  sum.Add(reinterpret_cast<const unsigned char*>(image.data()), image.size(), 0);
  return sum.Finish(image.size());
}

}  // namespace ulk
