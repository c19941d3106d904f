// Kind table, key construction and key parsing.
#include "translator/resources/resource_kind.h"

#include <charconv>
#include <iterator>

namespace ulk {
namespace {

constexpr ResourceKindInfo kKinds[] = {
    {ResourceKind::kString, kRtString, "ST", "ST_", 1022},
    {ResourceKind::kMenu, kRtMenu, "MN", "MN_", 1024},
    {ResourceKind::kDialog, kRtDialog, "DL", "DL_", 1023},
    {ResourceKind::kVersion, kRtVersion, "VS", "VS_", 1025},
    {ResourceKind::kMessageTable, kRtMessageTable, "MT", "MT_", 1026},
    {ResourceKind::kForm, kRtRcdata, "FM", "FM_", 1031},
    {ResourceKind::kUnknown, 0, "UN", "UN_", 0},
};
constexpr std::size_t kUnknownIndex = std::size(kKinds) - 1;

}  // namespace

const ResourceKindInfo& KindInfo(ResourceKind kind) {
  for (const auto& info : kKinds) {
    if (info.kind == kind) return info;
  }
  return kKinds[kUnknownIndex];
}

ResourceKind KindOfType(std::uint32_t type) {
  for (const auto& info : kKinds) {
    if (info.type != 0 && info.type == type) return info.kind;
  }
  return ResourceKind::kUnknown;
}

ResourceKind KindOfKey(std::string_view key) {
  for (const auto& info : kKinds) {
    if (key.substr(0, 3) == info.prefix) return info.kind;
  }
  return ResourceKind::kUnknown;
}

std::string_view KindCodeOfKey(std::string_view key) {
  return key.substr(0, 2);
}

namespace {

void AppendNumber(std::string& out, std::uint32_t value) {
  char digits[16];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, end);
}

}  // namespace

// Keys are built for every text of every reading: plain appends, no printf.
std::string MakeResourceKey(std::uint32_t type, std::uint32_t number, std::string_view name) {
  std::string key = KindInfo(KindOfType(type)).prefix;
  if (!name.empty()) {
    key.append("S_").append(name);
  } else {
    key.append("N_");
    AppendNumber(key, number);
  }
  return key;
}

void AppendEntryKey(std::string& out, std::uint32_t type, std::uint32_t number,
                    std::string_view name, std::uint32_t item) {
  out.append(KindInfo(KindOfType(type)).prefix);
  if (!name.empty()) {
    out.append("S_").append(name);
  } else {
    out.append("N_");
    AppendNumber(out, number);
  }
  AppendEntryItem(out, item);
}

void AppendEntryItem(std::string& key, std::uint32_t item) {
  key.append(" (");
  AppendNumber(key, item);
  key.push_back(')');
}

std::string MakeEntryKey(std::string_view resourceKey, std::uint32_t item) {
  std::string key;
  key.reserve(resourceKey.size() + 8);
  key.append(resourceKey);
  AppendEntryItem(key, item);
  return key;
}

std::string_view GroupKeyOf(std::string_view entryKey) {
  const auto at = entryKey.rfind('_');
  return at == std::string_view::npos ? std::string_view() : entryKey.substr(0, at);
}

std::string_view ResourceKeyOf(std::string_view entryKey) {
  const auto at = entryKey.rfind(' ');
  return at == std::string_view::npos ? entryKey : entryKey.substr(0, at);
}

bool ItemOfKey(std::string_view entryKey, std::uint32_t& item) {
  const auto open = entryKey.rfind('(');
  const auto close = entryKey.rfind(')');
  if (open == std::string_view::npos || close == std::string_view::npos || close < open + 2) {
    return false;
  }
  const char* first = entryKey.data() + open + 1;
  const char* last = entryKey.data() + close;
  const auto [end, error] = std::from_chars(first, last, item);
  return error == std::errc() && end == last;
}

}  // namespace ulk
