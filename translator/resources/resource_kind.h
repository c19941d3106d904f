// The kinds of resource that carry translatable texts, the grammar of
// the keys by which every text is known, and how items are numbered.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ulk {

// Resource type numbers of the module format.
enum ResourceType : std::uint16_t {
  kRtMenu = 4,
  kRtDialog = 5,
  kRtString = 6,
  kRtAccelerator = 9,
  kRtRcdata = 10,
  kRtMessageTable = 11,
  kRtVersion = 16,
};

// kForm: an RCDATA resource that holds a Delphi form stream; other RCDATA
// resources carry no texts.
enum class ResourceKind { kString, kMenu, kDialog, kVersion, kMessageTable, kForm, kUnknown };

struct ResourceKindInfo {
  ResourceKind kind;
  std::uint16_t type;  // resource type number; 0 for kUnknown
  const char* code;    // "ST", "MN", "DL", "VS", "MT", "FM", "UN"
  const char* prefix;  // "ST_", ...
  int treeLabelId;     // string id of the tree label; 0 when none
};

const ResourceKindInfo& KindInfo(ResourceKind kind);
ResourceKind KindOfType(std::uint32_t type);
// The kind of an entry or resource key, read from its first three characters.
ResourceKind KindOfKey(std::string_view key);
// The two-letter code of a key's kind (its first two characters, as the
// dictionary names text types).
std::string_view KindCodeOfKey(std::string_view key);

// "%sS_%s" for a named resource, else "%sN_%u".
std::string MakeResourceKey(std::uint32_t type, std::uint32_t number, std::string_view name);
// resourceKey + " (%u)".
std::string MakeEntryKey(std::string_view resourceKey, std::uint32_t item);
// MakeEntryKey (MakeResourceKey (type, number, name), item), appended to
// `out`: for building many keys in one buffer.
void AppendEntryKey(std::string& out, std::uint32_t type, std::uint32_t number,
                    std::string_view name, std::uint32_t item);
// " (item)", which makes a resource key an entry key, appended to `key`.
void AppendEntryItem(std::string& key, std::uint32_t item);
// The key up to, not including, its last underscore; "" when it has none.
std::string_view GroupKeyOf(std::string_view entryKey);
// The part of an entry key before its last blank (the whole key if none).
std::string_view ResourceKeyOf(std::string_view entryKey);
// The number between the parentheses of an entry key; false when absent.
bool ItemOfKey(std::string_view entryKey, std::uint32_t& item);

// Item numbering.
// A string-table block b (from 1) holds the strings (b - 1) * 16 .. + 15.
constexpr std::uint32_t kStringsPerBlock = 16;
constexpr std::uint32_t StringIdOf(std::uint32_t block, std::uint32_t position) {
  return (block - 1) * kStringsPerBlock + position;
}
constexpr std::uint32_t BlockOfStringId(std::uint32_t id) {
  return id / kStringsPerBlock + 1;
}
constexpr std::uint32_t PositionOfStringId(std::uint32_t id) {
  return id % kStringsPerBlock;
}
// Dialogs: item 0 is the caption, control n (from 1) is item n.
constexpr std::uint32_t kDialogCaptionItem = 0;
constexpr std::int32_t kDialogCaptionId = -1;
// Menus: every item of a depth-first walk counts from 0, pop-ups before
// their children, separators and items without text included.
// Versions: the position among the non-empty values of the first string
// table, from 0.
// Message tables: the message id itself (MT_N_1 (1073741825)).
// Forms: the position of the string among every string value of the form
// stream, from 0, interface texts or not (FM_S_TFORM1 (4)).

// One text read from a module.
struct ResourceText {
  std::uint32_t kind = 0;       // resource type number
  std::uint16_t numericId = 0;  // 0 when the resource is named
  std::string name;             // empty when the resource is numbered
  std::uint32_t item = 0;
  std::string text;  // as read, unescaped
  std::string note;  // a form text's component path ("Form1.Button1.Caption"); else empty
};

// One text found by a codec inside one resource.
struct TemplateItem {
  std::int32_t id = 0;
  std::string text;
  std::string translation;
  std::uint32_t item = 0;
};

}  // namespace ulk
