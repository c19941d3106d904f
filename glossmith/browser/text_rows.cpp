// Compact text rows.
#include "glossmith/browser/text_rows.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace ulk {
namespace {

// Large enough that a million rows take a few dozen blocks; small enough
// that the last one wastes little.
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

}  // namespace

void TextRows::Clear() {
  rows_.clear();
  blocks_.clear();
  types_.clear();
  unused_ = used_ = 0;
}

TextRows::Block& TextRows::Room(std::size_t bytes) {
  if (blocks_.empty() || blocks_.back().capacity - blocks_.back().size < bytes) {
    Block block;
    block.capacity = std::max(kBlockSize, bytes);
    block.data = std::make_unique_for_overwrite<char[]>(block.capacity);
    blocks_.push_back(std::move(block));
  }
  return blocks_.back();
}

std::uint16_t TextRows::TypeIndex(std::string_view type) {
  for (std::size_t i = types_.size(); i-- > 0;) {
    if (types_[i] == type) return static_cast<std::uint16_t>(i);
  }
  types_.emplace_back(type);
  return static_cast<std::uint16_t>(types_.size() - 1);
}

TextRows::Row TextRows::Store(std::string_view id, std::string_view text) {
  // Ids are decimal numbers; a longer one would be no id of a text.
  id = id.substr(0, UINT16_MAX);
  Block& block = Room(id.size() + text.size());
  Row row;
  row.block = static_cast<std::uint32_t>(blocks_.size() - 1);
  row.offset = static_cast<std::uint32_t>(block.size);
  row.idLength = static_cast<std::uint16_t>(id.size());
  row.textLength = static_cast<std::uint32_t>(text.size());
  row.type = 0;
  if (!id.empty()) std::memcpy(block.data.get() + block.size, id.data(), id.size());
  if (!text.empty())
    std::memcpy(block.data.get() + block.size + id.size(), text.data(), text.size());
  block.size += id.size() + text.size();
  used_ += id.size() + text.size();
  return row;
}

void TextRows::Append(std::string_view id, std::string_view type, std::string_view text) {
  Row row = Store(id, text);
  row.type = TypeIndex(type);
  rows_.push_back(row);
}

void TextRows::Erase(std::size_t row) {
  assert(row < rows_.size());
  unused_ += rows_[row].idLength + rows_[row].textLength;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  Compact();
}

void TextRows::SetText(std::size_t row, std::string_view text) {
  assert(row < rows_.size());
  // Written anew with its id: a row's id and text lie together.
  const std::string id(Id(row));
  const std::uint16_t type = rows_[row].type;
  unused_ += rows_[row].idLength + rows_[row].textLength;
  rows_[row] = Store(id, text);
  rows_[row].type = type;
  Compact();
}

std::string_view TextRows::Id(std::size_t row) const {
  assert(row < rows_.size());
  const Row& r = rows_[row];
  return std::string_view(blocks_[r.block].data.get() + r.offset, r.idLength);
}

std::string_view TextRows::Type(std::size_t row) const {
  assert(row < rows_.size());
  return types_[rows_[row].type];
}

std::string_view TextRows::Text(std::size_t row) const {
  assert(row < rows_.size());
  const Row& r = rows_[row];
  return std::string_view(blocks_[r.block].data.get() + r.offset + r.idLength, r.textLength);
}

long TextRows::Find(std::string_view id) const {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (Id(row) == id) return static_cast<long>(row);
  }
  return -1;
}

void TextRows::Compact() {
  // Rewritten once the unused bytes outweigh the used ones, so that many
  // edits of long texts do not make the blocks grow without end.
  if (unused_ < kBlockSize || unused_ < used_ / 2) return;
  TextRows compacted;
  compacted.rows_.reserve(rows_.size());
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    compacted.Append(Id(row), Type(row), Text(row));
  }
  *this = std::move(compacted);
}

}  // namespace ulk
