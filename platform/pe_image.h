// A module file (PE32 or PE32+) opened as data: its headers, its section
// table and its resource tree (type -> name -> language -> bytes), all read
// with every count, offset and address checked against the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/source_file.h"
#include "platform/status.h"

namespace ulk {

// A resource type or name: a number, or a string as the file stores it.
struct ResourceId {
  bool named = false;
  std::uint32_t number = 0;
  std::u16string name;

  static ResourceId Number(std::uint32_t value) { return {false, value, {}}; }
  static ResourceId Name(std::u16string value) { return {true, 0, std::move(value)}; }
  static ResourceId Name(std::string_view utf8);

  std::string NameUtf8() const;
  // "#123" or the name, for messages.
  std::string Describe() const;
  bool operator==(const ResourceId&) const = default;
};

struct ResourceData {
  std::uint16_t language = 0;
  std::uint32_t codePage = 0;
  std::string_view bytes;        // read from the file, kept while the image is open
  std::uint64_t fileOffset = 0;  // where `bytes` lie in the file
};

struct ResourceName {
  ResourceId id;
  std::vector<ResourceData> languages;  // in directory order
};

struct ResourceTypeNode {
  ResourceId id;
  std::vector<ResourceName> names;  // in directory order
};

struct PeSection {
  std::string name;
  std::uint32_t virtualSize = 0;
  std::uint32_t virtualAddress = 0;
  std::uint32_t sizeOfRawData = 0;
  std::uint32_t pointerToRawData = 0;
  std::uint32_t characteristics = 0;
};

struct DataDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

enum DataDirectoryIndex : std::size_t {
  kDirExport = 0,
  kDirImport = 1,
  kDirResource = 2,
  kDirException = 3,
  kDirSecurity = 4,  // a file offset, not an address
  kDirBaseReloc = 5,
  kDirDebug = 6,
};

// Where the fields of the headers are in the file, and their values.
struct PeHeaders {
  std::uint64_t coffOffset = 0;  // the COFF file header, after "PE\0\0"
  std::uint16_t numberOfSections = 0;
  std::uint32_t pointerToSymbolTable = 0;
  std::uint32_t numberOfSymbols = 0;
  std::uint16_t sizeOfOptionalHeader = 0;
  std::uint64_t optionalOffset = 0;
  bool is64 = false;
  std::uint32_t sizeOfInitializedData = 0;
  std::uint32_t sectionAlignment = 0;
  std::uint32_t fileAlignment = 0;
  std::uint32_t sizeOfImage = 0;
  std::uint32_t sizeOfHeaders = 0;
  std::uint32_t checkSum = 0;
  std::uint64_t dataDirectoryOffset = 0;
  std::vector<DataDirectory> directories;
  std::uint64_t sectionTableOffset = 0;
  std::vector<PeSection> sections;

  // Ref: Microsoft, "PE Format": the offsets of the fields read or written.
  // In the MS-DOS header: the file offset of the PE signature.
  static constexpr std::uint64_t kPeSignatureOffset = 0x3C;
  // In the COFF file header, which is this long.
  static constexpr std::uint64_t kNumberOfSections = 2;
  static constexpr std::uint64_t kPointerToSymbolTable = 8;
  static constexpr std::uint64_t kSizeOfOptionalHeader = 16;
  static constexpr std::uint64_t kCoffHeaderSize = 20;
  // In the optional header (the same in PE32 and PE32+ up to the checksum).
  static constexpr std::uint64_t kSizeOfInitializedData = 8;
  static constexpr std::uint64_t kSectionAlignment = 32;
  static constexpr std::uint64_t kFileAlignment = 36;
  static constexpr std::uint64_t kSizeOfImage = 56;
  static constexpr std::uint64_t kSizeOfHeaders = 60;
  static constexpr std::uint64_t kCheckSum = 64;
  static constexpr std::uint64_t kNumberOfRvaAndSizesPe32 = 92;
  static constexpr std::uint64_t kNumberOfRvaAndSizesPe32Plus = 108;
  // In a section header.
  static constexpr std::uint64_t kSectionVirtualSize = 8;
  static constexpr std::uint64_t kSectionVirtualAddress = 12;
  static constexpr std::uint64_t kSectionSizeOfRawData = 16;
  static constexpr std::uint64_t kSectionPointerToRawData = 20;
  static constexpr std::uint64_t kSectionCharacteristics = 36;
  // In a debug directory entry.
  static constexpr std::uint64_t kDebugAddressOfRawData = 20;
  static constexpr std::uint64_t kDebugPointerToRawData = 24;
};

// Language identifiers used to choose among the languages of a resource.
constexpr std::uint16_t kLanguageNeutral = 0;
constexpr std::uint16_t kLanguageEnglishUs = 0x0409;
constexpr std::uint16_t kPrimaryLanguageEnglish = 0x09;

// The language the reader takes among those listed: neutral, else
// U.S. English, else any English, else the first one.
const ResourceData* ChooseLanguage(const std::vector<ResourceData>& languages);

class ModuleImage {
 public:
  ModuleImage() = default;
  ModuleImage(const ModuleImage&) = delete;
  ModuleImage& operator=(const ModuleImage&) = delete;

  // Opens the file and checks its headers and resource tree, reading only
  // those; the file stays open until Close. Returns 0 or an error code whose
  // text (SystemErrorText with the path) names the file; Detail() says more.
  // Refused: anything but a regular file of at most kMaxModuleFileSize,
  // alignments a loader would not take, a resource tree that repeats its
  // tables or names (what it costs in memory is bounded by its size).
  // Running out of memory is ENOMEM, never an exception.
  int Open(const std::string& path);
  // The same checks on bytes already in memory.
  int Load(std::string bytes, std::string path = {});
  void Close();

  bool IsOpen() const { return open_; }
  const std::string& Path() const { return path_; }
  // The file's bytes as read so far, and read further on demand.
  const SourceFile& Source() const { return source_; }
  // The whole file, read into memory on first use; empty when it cannot be
  // read.
  std::string_view Bytes() const;
  const PeHeaders& Headers() const { return headers_; }
  const std::string& Detail() const { return detail_; }

  const std::vector<ResourceTypeNode>& Resources() const { return types_; }
  const ResourceTypeNode* FindType(const ResourceId& type) const;
  const ResourceName* FindName(const ResourceId& type, const ResourceId& name) const;
  // The language chosen by ChooseLanguage; null when the resource is absent.
  const ResourceData* Find(const ResourceId& type, const ResourceId& name) const;

  // The file offset of `rva` when `length` bytes from it are in the file;
  // false otherwise.
  bool FileOffsetOf(std::uint32_t rva, std::uint32_t length, std::uint64_t& offset) const;
  // Index of the section whose address range holds `rva`; -1 for none.
  int SectionOf(std::uint32_t rva) const;

 private:
  int Check();
  // Runs one opening step; ENOMEM, the image closed, when memory runs out.
  template <typename Step>
  int Guarded(Step step);
  Status ReadHeaders();
  Status ReadResources();
  // One directory of the resource tree `tree` (offsets are relative to it).
  Status ReadDirectory(std::string_view tree, std::uint32_t offset, int level,
                       std::uint64_t& budget, std::vector<ResourceId>& ids,
                       std::vector<std::uint32_t>& targets) const;

  bool open_ = false;
  std::string path_;
  SourceFile source_;
  PeHeaders headers_;
  std::vector<ResourceTypeNode> types_;
  std::string detail_;
};

// The PE checksum of a file image whose checksum field is at `checkSumOffset`.
std::uint32_t PeChecksum(std::string_view image, std::uint64_t checkSumOffset);

}  // namespace ulk
