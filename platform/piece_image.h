// A file put together from pieces: stretches of another file's bytes, kept
// by reference, and bytes of its own. Small patches copy only what they
// touch, so that a module of many megabytes is written without a second
// copy of it in memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ulk {

class AtomicFileWriter;

class PieceImage {
 public:
  // `bytes` must outlive the image.
  void AppendView(std::string_view bytes);
  void AppendOwned(std::string bytes);
  void AppendZeros(std::uint64_t count);
  std::uint64_t Size() const { return size_; }

  // Reads and patches at an offset of the whole; false when out of range.
  bool Load(std::uint64_t offset, void* out, std::size_t length) const;
  bool Store(std::uint64_t offset, const void* bytes, std::size_t length);
  std::uint32_t LoadU32(std::uint64_t offset) const;
  void StoreU16(std::uint64_t offset, std::uint16_t value);
  void StoreU32(std::uint64_t offset, std::uint32_t value);

  // The PE checksum of the whole, the field at `checkSumOffset` taken as 0.
  std::uint32_t Checksum(std::uint64_t checkSumOffset) const;
  std::string Flatten() const;
  // Writes every piece in order; 0 or an errno.
  int WriteTo(AtomicFileWriter& writer) const;

 private:
  struct Piece {
    std::uint64_t offset = 0;
    std::string_view view;
    std::string owned;
    bool isOwned = false;
    std::string_view Bytes() const { return isOwned ? std::string_view(owned) : view; }
  };
  std::size_t PieceAt(std::uint64_t offset) const;
  // Makes [offset, offset + length) of piece `index` bytes of its own; the
  // index of the piece that now holds `offset`.
  std::size_t Own(std::size_t index, std::uint64_t offset, std::size_t length);

  std::vector<Piece> pieces_;
  std::uint64_t size_ = 0;
};

}  // namespace ulk
