// Version information of a file: the VS_VERSIONINFO block of a module's
// RT_VERSION resource, or, for our own ELF binaries, the block the build
// places in their ".vsinfo" section.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace ulk {

// One block of a VS_VERSIONINFO tree.
// Ref: Microsoft documentation, "VS_VERSIONINFO", "StringFileInfo", "Var".
struct VersionNode {
  std::u16string key;
  std::uint16_t type = 0;  // 1 text, 0 binary
  std::string_view value;  // binary value bytes, or the text's code units
  std::vector<VersionNode> children;

  const VersionNode* Child(std::u16string_view childKey) const;  // case-insensitive
  std::u16string Text() const;  // a text value up to its terminating zero
};

// Parses a whole block; every length is checked against its parent's.
Status ParseVersionTree(std::string_view block, VersionNode& root);

// The 13 fields of VS_FIXEDFILEINFO.
struct FixedFileInfo {
  std::uint32_t signature = 0xFEEF04BD;
  std::uint32_t structVersion = 0x00010000;
  std::uint32_t fileVersionMS = 0;
  std::uint32_t fileVersionLS = 0;
  std::uint32_t productVersionMS = 0;
  std::uint32_t productVersionLS = 0;
  std::uint32_t fileFlagsMask = 0x3F;
  std::uint32_t fileFlags = 0;
  std::uint32_t fileOS = 0x00040004;
  std::uint32_t fileType = 1;
  std::uint32_t fileSubtype = 0;
  std::uint32_t fileDateMS = 0;
  std::uint32_t fileDateLS = 0;
};

// Builds a VS_VERSIONINFO block: the fixed information, one string table
// for `translation` (language in the low 16 bits, code page in the high)
// and the matching "Translation" value. Empty when the strings are too long
// for the block's 16-bit lengths.
std::string BuildVersionBlock(const FixedFileInfo& fixed, std::uint32_t translation,
                              const std::vector<std::pair<std::string, std::string>>& strings);

// Field numbers of GetField.
enum VersionField : int {
  kFieldProductName = 0,
  kFieldFileVersion = 5,
  kFieldFileVersionNumber = 20,
  kFieldProductVersionNumber = 21,
  kFieldFlagsMask = 22,
  kFieldFlags = 23,
  kFieldOs = 24,
  kFieldType = 25,
  kFieldSubtype = 26,
  kFieldDate = 27,
};

class FileVersionInfo {
 public:
  FileVersionInfo() = default;
  explicit FileVersionInfo(const std::string& path) { Load(path); }

  // Reads the file's information and selects translation 0. An empty path
  // means the running program. A file without information leaves what the
  // object held.
  void Load(const std::string& path);
  // The same from a VS_VERSIONINFO block.
  void LoadBlock(std::string block);

  bool SelectTranslation(int index);
  std::uint32_t translation() const { return translation_; }
  const std::string& path() const { return path_; }
  bool HasBlock() const { return !block_.empty(); }

  std::string LanguageName() const;
  std::string GetField(int number) const;
  std::string GetString(std::string_view name) const;

 private:
  bool Fixed(FixedFileInfo& fixed) const;

  std::string path_;
  std::uint32_t translation_ = 0;
  std::string block_;
  VersionNode root_;
};

// The VS_VERSIONINFO block of a file: a module's version resource or an ELF
// file's ".vsinfo" section; "" when it has none.
std::string ReadVersionBlock(const std::string& path);

// The readable forms of GetField.
std::string FileOsName(std::uint32_t os);
std::string FileTypeName(std::uint32_t type);
std::string FileSubtypeName(std::uint32_t type, std::uint32_t subtype);
// FILETIME (100 ns since 1601) as "dd/mm/yyyy hh:mm:ss"; "null" when zero,
// "" when it is no date of years 100 to 9999.
std::string FileDateText(std::uint32_t high, std::uint32_t low);

}  // namespace ulk
