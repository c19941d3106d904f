// Fuzz target: the version information reader. Whatever block it accepts
// gives texts that are valid UTF-8 without NUL, and reads the same again
// once written anew: by the reader's own writer from what was read, and by
// the version codec with every value translated (the block a translated
// module carries, read back by the program).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/byte_stream.h"
#include "platform/text.h"
#include "platform/version_info.h"
#include "translator/resources/version_codec.h"

namespace {

constexpr int kTranslations = 8;  // the most a reading looks at
constexpr int kFixedFields[] = {ulk::kFieldFileVersionNumber,
                                ulk::kFieldProductVersionNumber,
                                ulk::kFieldFlagsMask,
                                ulk::kFieldFlags,
                                ulk::kFieldOs,
                                ulk::kFieldType,
                                ulk::kFieldSubtype,
                                ulk::kFieldDate};

void CheckText(std::string_view text) {
  if (!ulk::IsValidUtf8(text) || text.find('\0') != std::string_view::npos) std::abort();
}

void CheckTexts(const ulk::VersionNode& node) {
  CheckText(ulk::Utf16ToUtf8(node.key));
  CheckText(ulk::Utf16ToUtf8(node.Text()));
  for (const auto& child : node.children) CheckTexts(child);
}

// What the reader tells of a block: for each translation it lists, the
// translation and every field.
struct Reading {
  std::vector<std::uint32_t> translations;
  std::vector<std::vector<std::string>> strings;  // fields 0 to 11
  std::vector<std::vector<std::string>> fixed;    // the fixed fields
};

Reading Read(const std::string& block) {
  ulk::FileVersionInfo info;
  info.LoadBlock(block);
  Reading reading;
  for (int t = 0; t < kTranslations && info.SelectTranslation(t); ++t) {
    reading.translations.push_back(info.translation());
    auto& strings = reading.strings.emplace_back();
    for (int field = 0; field <= 11; ++field) strings.push_back(info.GetField(field));
    auto& fixed = reading.fixed.emplace_back();
    for (const int field : kFixedFields) fixed.push_back(info.GetField(field));
    for (const auto& texts : {strings, fixed}) {
      for (const auto& text : texts) CheckText(text);
    }
    CheckText(info.LanguageName());
  }
  return reading;
}

// The strings of the table of `translation`, as the reader finds them.
std::vector<std::pair<std::string, std::string>> TableOf(const ulk::VersionNode& root,
                                                         std::uint32_t translation) {
  std::vector<std::pair<std::string, std::string>> strings;
  const ulk::VersionNode* files = root.Child(u"StringFileInfo");
  const std::u16string key =
      ulk::Utf8ToUtf16(ulk::Format("%04x%04x", translation & 0xFFFF, translation >> 16));
  const ulk::VersionNode* table = files ? files->Child(key) : nullptr;
  if (!table) return strings;
  for (const auto& s : table->children) {
    strings.emplace_back(ulk::Utf16ToUtf8(s.key), ulk::Utf16ToUtf8(s.Text()));
  }
  return strings;
}

// Written again by BuildVersionBlock from what was read: the same reading.
void CheckRewritten(const ulk::VersionNode& root, const Reading& first) {
  if (first.translations.empty()) return;
  ulk::FixedFileInfo fixed;
  const bool hasFixed = root.value.size() >= 52 && ulk::LoadU32(root.value, 0) == fixed.signature;
  if (hasFixed) {
    std::uint32_t* fields[] = {
        &fixed.signature,     &fixed.structVersion,    &fixed.fileVersionMS,
        &fixed.fileVersionLS, &fixed.productVersionMS, &fixed.productVersionLS,
        &fixed.fileFlagsMask, &fixed.fileFlags,        &fixed.fileOS,
        &fixed.fileType,      &fixed.fileSubtype,      &fixed.fileDateMS,
        &fixed.fileDateLS};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
      *fields[i] = ulk::LoadU32(root.value, 4 * i);
    }
  }
  const auto strings = TableOf(root, first.translations.front());
  const std::string block = ulk::BuildVersionBlock(fixed, first.translations.front(), strings);
  if (block.empty()) {
    // Refused only when the strings cannot fit the 16-bit lengths (the
    // blocks around them take less than 256 bytes).
    std::uint64_t length = 0;
    for (const auto& [key, value] : strings) {
      const std::uint64_t head = ulk::AlignUp(6 + 2 * (ulk::Utf8ToUtf16(key).size() + 1), 4);
      length += ulk::AlignUp(head + 2 * (ulk::Utf8ToUtf16(value).size() + 1), 4);
    }
    if (length + 256 <= 0xFFFF) std::abort();
    return;
  }
  ulk::VersionNode again;
  if (!ulk::ParseVersionTree(block, again)) std::abort();
  if (TableOf(again, first.translations.front()) != strings) std::abort();
  const Reading second = Read(block);
  if (second.translations.empty() || second.translations.front() != first.translations.front() ||
      second.strings.front() != first.strings.front()) {
    std::abort();
  }
  if (hasFixed && second.fixed.front() != first.fixed.front()) std::abort();
}

// Rebuilt by the version codec with every value translated: the reader
// takes it, with the same translations and fixed information.
void CheckTranslated(const std::string& bytes, const Reading& first) {
  ulk::VersionCodec codec;
  if (!codec.Parse(bytes)) return;
  for (std::size_t i = 0; i < codec.ItemCount(); ++i) {
    codec.SetTranslationAt(i, "Traducción «" + std::to_string(i) + "»");
  }
  const auto rebuilt = codec.Build();
  if (!rebuilt) return;  // a length that no longer fits is refused, not written
  ulk::VersionNode root;
  if (!ulk::ParseVersionTree(*rebuilt, root)) std::abort();
  CheckTexts(root);
  const Reading second = Read(*rebuilt);
  if (second.translations != first.translations || second.fixed != first.fixed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ulk::VersionNode root;
  const bool accepted = ulk::ParseVersionTree(bytes, root).ok();
  const Reading first = Read(bytes);
  ulk::FileVersionInfo info;
  info.LoadBlock(bytes);
  if (info.HasBlock() != accepted) std::abort();
  if (!accepted) {
    if (!first.translations.empty()) std::abort();
    return 0;
  }
  CheckTexts(root);
  CheckRewritten(root, first);
  CheckTranslated(bytes, first);
  return 0;
}
