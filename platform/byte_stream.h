// Every raw read of module bytes goes through ByteReader, which checks each
// read against the bytes it was given; ByteWriter is its twin for output.
// Values are little-endian, as in every module format we handle.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulk {

class ByteReader {
 public:
  ByteReader() = default;
  explicit ByteReader(std::string_view data) : data_(data) {}

  std::size_t Size() const { return data_.size(); }
  std::size_t Offset() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  std::string_view Data() const { return data_; }

  // Moves to `offset`; false (position unchanged) when it lies past the end.
  bool Seek(std::uint64_t offset);
  bool Skip(std::uint64_t count);
  // Moves to the next multiple of 4 from the start of the data; false when
  // that lies past the end.
  bool AlignTo4();

  bool U8(std::uint8_t& value);
  bool U16(std::uint16_t& value);
  bool U32(std::uint32_t& value);
  bool U64(std::uint64_t& value);
  bool Bytes(std::uint64_t count, std::string_view& out);
  // A UTF-16 string up to its terminating zero, which is consumed; false
  // when no terminator comes before the end.
  bool Utf16z(std::u16string& out);
  // `count` UTF-16 code units.
  bool Utf16(std::uint64_t count, std::u16string& out);

  // A reader over `length` bytes from `offset`; none when they do not fit.
  std::optional<ByteReader> Sub(std::uint64_t offset, std::uint64_t length) const;

  // Reads at an absolute offset without moving; false when out of range.
  bool PeekU16(std::uint64_t offset, std::uint16_t& value) const;
  bool PeekU32(std::uint64_t offset, std::uint32_t& value) const;

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
};

class ByteWriter {
 public:
  std::size_t Offset() const { return out_.size(); }
  const std::string& Data() const { return out_; }
  std::string Take() { return std::move(out_); }
  void Reserve(std::size_t size) { out_.reserve(size); }

  void U8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void U16(std::uint16_t value);
  void U32(std::uint32_t value);
  void U64(std::uint64_t value);
  void Bytes(std::string_view bytes) { out_.append(bytes); }
  void Zeros(std::size_t count) { out_.append(count, '\0'); }
  void Utf16(std::u16string_view text);
  // The text and a terminating zero.
  void Utf16z(std::u16string_view text);
  // A UTF-8 text as UTF-16 code units (no terminator); returns their count.
  std::size_t Utf8AsUtf16(std::string_view text);
  // Pads with zeros to the next multiple of 4 (of 2^n in general).
  void AlignTo4() { AlignTo(4); }
  void AlignTo(std::size_t alignment);

  void PatchU16(std::size_t offset, std::uint16_t value);
  void PatchU32(std::size_t offset, std::uint32_t value);

 private:
  std::string out_;
};

// Little-endian access to a byte string the caller has sized already.
// Inline: every field of every template is read through them.
inline std::uint16_t LoadU16(std::string_view data, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(data[offset]) |
                                    (static_cast<unsigned char>(data[offset + 1]) << 8));
}
inline std::uint32_t LoadU32(std::string_view data, std::size_t offset) {
  return static_cast<std::uint32_t>(LoadU16(data, offset)) |
         (static_cast<std::uint32_t>(LoadU16(data, offset + 2)) << 16);
}
inline void StoreU16(std::string& data, std::size_t offset, std::uint16_t value) {
  data[offset] = static_cast<char>(value & 0xFF);
  data[offset + 1] = static_cast<char>(value >> 8);
}
inline void StoreU32(std::string& data, std::size_t offset, std::uint32_t value) {
  StoreU16(data, offset, static_cast<std::uint16_t>(value & 0xFFFF));
  StoreU16(data, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

inline bool ByteReader::U16(std::uint16_t& value) {
  if (Remaining() < 2) return false;
  value = LoadU16(data_, pos_);
  pos_ += 2;
  return true;
}

inline bool ByteReader::U32(std::uint32_t& value) {
  if (Remaining() < 4) return false;
  value = LoadU32(data_, pos_);
  pos_ += 4;
  return true;
}

inline bool ByteReader::PeekU16(std::uint64_t offset, std::uint16_t& value) const {
  if (offset > data_.size() || data_.size() - offset < 2) return false;
  value = LoadU16(data_, static_cast<std::size_t>(offset));
  return true;
}

inline bool ByteReader::PeekU32(std::uint64_t offset, std::uint32_t& value) const {
  if (offset > data_.size() || data_.size() - offset < 4) return false;
  value = LoadU32(data_, static_cast<std::size_t>(offset));
  return true;
}

constexpr std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
  return alignment == 0 ? value : (value + alignment - 1) / alignment * alignment;
}

}  // namespace ulk
