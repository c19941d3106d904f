// Bounds-checked little-endian reads and writes.
#include "platform/byte_stream.h"

#include <bit>
#include <cassert>
#include <cstring>

#include "platform/text.h"

namespace ulk {

bool ByteReader::Seek(std::uint64_t offset) {
  if (offset > data_.size()) return false;
  pos_ = static_cast<std::size_t>(offset);
  return true;
}

bool ByteReader::Skip(std::uint64_t count) {
  return count <= Remaining() && Seek(pos_ + count);
}

bool ByteReader::AlignTo4() {
  return Seek(AlignUp(pos_, 4));
}

bool ByteReader::U8(std::uint8_t& value) {
  if (Remaining() < 1) return false;
  value = static_cast<std::uint8_t>(data_[pos_]);
  ++pos_;
  return true;
}

bool ByteReader::U64(std::uint64_t& value) {
  if (Remaining() < 8) return false;
  value = LoadU32(data_, pos_) | (static_cast<std::uint64_t>(LoadU32(data_, pos_ + 4)) << 32);
  pos_ += 8;
  return true;
}

bool ByteReader::Bytes(std::uint64_t count, std::string_view& out) {
  if (count > Remaining()) return false;
  out = data_.substr(pos_, static_cast<std::size_t>(count));
  pos_ += static_cast<std::size_t>(count);
  return true;
}

bool ByteReader::Utf16z(std::u16string& out) {
  out.clear();
  std::size_t end = pos_;
  while (end + 2 <= data_.size() && (data_[end] != 0 || data_[end + 1] != 0)) end += 2;
  if (end + 2 > data_.size()) return false;
  out.resize((end - pos_) / 2);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out.data(), data_.data() + pos_, end - pos_);
  } else {
    for (std::size_t i = 0; i < out.size(); ++i) {
      out[i] = static_cast<char16_t>(LoadU16(data_, pos_ + 2 * i));
    }
  }
  pos_ = end + 2;
  return true;
}

bool ByteReader::Utf16(std::uint64_t count, std::u16string& out) {
  out.clear();
  if (count > Remaining() / 2) return false;
  out.resize(static_cast<std::size_t>(count));
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(LoadU16(data_, pos_ + 2 * i));
  }
  pos_ += 2 * out.size();
  return true;
}

std::optional<ByteReader> ByteReader::Sub(std::uint64_t offset, std::uint64_t length) const {
  if (offset > data_.size() || length > data_.size() - offset) return std::nullopt;
  return ByteReader(
      data_.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
}

void ByteWriter::U16(std::uint16_t value) {
  out_.push_back(static_cast<char>(value & 0xFF));
  out_.push_back(static_cast<char>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
  U16(static_cast<std::uint16_t>(value & 0xFFFF));
  U16(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::U64(std::uint64_t value) {
  U32(static_cast<std::uint32_t>(value & 0xFFFFFFFFu));
  U32(static_cast<std::uint32_t>(value >> 32));
}

void ByteWriter::Utf16(std::u16string_view text) {
  const std::size_t at = out_.size();
  out_.resize(at + 2 * text.size());
  char* p = out_.data() + at;
  for (const char16_t unit : text) {
    *p++ = static_cast<char>(unit & 0xFF);
    *p++ = static_cast<char>(unit >> 8);
  }
}

void ByteWriter::Utf16z(std::u16string_view text) {
  Utf16(text);
  U16(0);
}

std::size_t ByteWriter::Utf8AsUtf16(std::string_view text) {
  return AppendUtf16Le(out_, text);
}

void ByteWriter::AlignTo(std::size_t alignment) {
  out_.resize(static_cast<std::size_t>(AlignUp(out_.size(), alignment)), '\0');
}

void ByteWriter::PatchU16(std::size_t offset, std::uint16_t value) {
  assert(offset + 2 <= out_.size());
  StoreU16(out_, offset, value);
}

void ByteWriter::PatchU32(std::size_t offset, std::uint32_t value) {
  assert(offset + 4 <= out_.size());
  StoreU32(out_, offset, value);
}

}  // namespace ulk
