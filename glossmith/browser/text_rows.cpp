// Compact text rows.
#include "glossmith/browser/text_rows.h"

#include <cassert>

namespace ulk {

void TextRows::Clear() {
  rows_.clear();
  buffer_.clear();
  unused_ = 0;
}

void TextRows::Append(std::string_view id, std::string_view type, std::string_view text) {
  Row row;
  row.offset = buffer_.size();
  row.idLength = static_cast<std::uint32_t>(id.size());
  row.typeLength = static_cast<std::uint32_t>(type.size());
  buffer_.append(id).append(type);
  row.textOffset = buffer_.size();
  row.textLength = text.size();
  buffer_.append(text);
  rows_.push_back(row);
}

void TextRows::Erase(std::size_t row) {
  assert(row < rows_.size());
  const Row& gone = rows_[row];
  unused_ += gone.idLength + gone.typeLength + gone.textLength;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  Compact();
}

void TextRows::SetText(std::size_t row, std::string_view text) {
  assert(row < rows_.size());
  Row& changed = rows_[row];
  unused_ += changed.textLength;
  changed.textOffset = buffer_.size();
  changed.textLength = text.size();
  buffer_.append(text);
  Compact();
}

std::string_view TextRows::Id(std::size_t row) const {
  assert(row < rows_.size());
  return std::string_view(buffer_).substr(rows_[row].offset, rows_[row].idLength);
}

std::string_view TextRows::Type(std::size_t row) const {
  assert(row < rows_.size());
  return std::string_view(buffer_).substr(rows_[row].offset + rows_[row].idLength,
                                          rows_[row].typeLength);
}

std::string_view TextRows::Text(std::size_t row) const {
  assert(row < rows_.size());
  return std::string_view(buffer_).substr(rows_[row].textOffset, rows_[row].textLength);
}

long TextRows::Find(std::string_view id) const {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (Id(row) == id) return static_cast<long>(row);
  }
  return -1;
}

void TextRows::Compact() {
  // Rewritten once the unused bytes outweigh the used ones, so that many
  // edits of long texts do not make the buffer grow without end.
  if (unused_ < 4096 || unused_ < buffer_.size() / 2) return;
  std::string compacted;
  compacted.reserve(buffer_.size() - unused_);
  for (Row& row : rows_) {
    const std::string_view head =
        std::string_view(buffer_).substr(row.offset, row.idLength + row.typeLength);
    const std::string_view text = std::string_view(buffer_).substr(row.textOffset, row.textLength);
    row.offset = compacted.size();
    compacted.append(head);
    row.textOffset = compacted.size();
    compacted.append(text);
  }
  buffer_ = std::move(compacted);
  unused_ = 0;
}

}  // namespace ulk
