// A file put together from pieces: stretches of a source file, left in that
// file until written (the kernel copies them), stretches of memory kept by
// reference, and bytes of its own. Small patches copy only what they touch,
// so that a module of many megabytes is written without passing through
// this program's memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ulk {

class AtomicFileWriter;
class SourceFile;

// The PE checksum, added up piece by piece: the sum of the file's 16-bit
// little-endian words with end-around carry, the 4-byte checksum field
// taken as zero, plus the file's length.
class PeChecksumSum {
 public:
  explicit PeChecksumSum(std::uint64_t fieldOffset) : fieldOffset_(fieldOffset) {}
  // The bytes that lie at `offset` in the file.
  void Add(const unsigned char* data, std::size_t length, std::uint64_t offset);
  std::uint32_t Finish(std::uint64_t fileSize) const;
  // The words added so far, not folded.
  std::uint64_t Raw() const { return sum_; }

 private:
  std::uint64_t fieldOffset_ = 0;
  std::uint64_t sum_ = 0;
};

class PieceImage {
 public:
  // `bytes` must outlive the image.
  void AppendView(std::string_view bytes);
  void AppendOwned(std::string bytes);
  void AppendZeros(std::uint64_t count);
  // `length` bytes of `source` from `from`; the source must stay open while
  // the image is used.
  void AppendSource(const SourceFile& source, std::uint64_t from, std::uint64_t length);
  std::uint64_t Size() const { return size_; }

  // Reads and patches at an offset of the whole; false when out of range or
  // the source cannot be read.
  bool Load(std::uint64_t offset, void* out, std::size_t length) const;
  bool Store(std::uint64_t offset, const void* bytes, std::size_t length);
  std::uint32_t LoadU32(std::uint64_t offset) const;
  void StoreU16(std::uint64_t offset, std::uint16_t value);
  void StoreU32(std::uint64_t offset, std::uint32_t value);

  // The PE checksum of the whole, every byte of it summed, goes into the 4
  // bytes at `offset` when the image is written or flattened.
  void SetChecksumField(std::uint64_t offset) { checksumField_ = offset; }
  // The checksum of the whole as it stands, the field at `checkSumOffset`
  // taken as 0; none when the source cannot be read.
  std::optional<std::uint32_t> Checksum(std::uint64_t checkSumOffset) const;

  // The whole in memory; none when the source cannot be read.
  std::optional<std::string> Flatten() const;
  // Writes every piece in order; 0 or an errno.
  int WriteTo(AtomicFileWriter& writer) const;

 private:
  struct Piece {
    std::uint64_t offset = 0;  // in the whole
    std::string_view view;
    std::string owned;
    const SourceFile* source = nullptr;
    std::uint64_t from = 0;  // in the source
    std::uint64_t length = 0;
    bool isOwned = false;
    // The bytes of a piece held in memory (not a source stretch).
    std::string_view Bytes() const { return isOwned ? std::string_view(owned) : view; }
  };
  std::size_t PieceAt(std::uint64_t offset) const;
  // Makes [offset, offset + length) of piece `index` bytes of its own; the
  // index of the piece that now holds `offset`, or none when the source
  // cannot be read.
  std::optional<std::size_t> Own(std::size_t index, std::uint64_t offset, std::size_t length);
  // Hands every piece's bytes in order to `take` (offset, data, length);
  // source stretches pass through memory in slices. 0 or an errno.
  template <typename Take>
  int ForEachSlice(Take take) const;

  std::vector<Piece> pieces_;
  std::uint64_t size_ = 0;
  std::optional<std::uint64_t> checksumField_;
};

}  // namespace ulk
