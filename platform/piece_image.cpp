// Pieces of a file.
#include "platform/piece_image.h"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/source_file.h"

namespace ulk {
namespace {

// Source stretches pass through memory in slices of this size (for the
// checksum), small enough to stay in the processor's cache.
constexpr std::size_t kSlice = 256 * 1024;
// A patch makes the page around it the image's own.
constexpr std::uint64_t kOwnAtOnce = 4096;
// Bytes of our own up to this size may be written over a copy of the
// source's bytes in their place.
constexpr std::uint64_t kPatchAtMost = 64 * 1024;

// The sum of the 16-bit little-endian words of `length` (even) bytes. Four
// words at a time, as two 32-bit sums of two words in one 64-bit value, in
// blocks short enough that neither sum overflows into the other: a loop
// the compiler keeps in vector registers.
std::uint64_t SumWords(const unsigned char* data, std::size_t length) {
  static_assert(std::endian::native == std::endian::little, "words are read as they lie");
  constexpr std::uint64_t kLowWords = 0x0000FFFF0000FFFFull;
  constexpr std::size_t kBlock = 1 << 14;  // steps, each adding < 2^17 to either sum
  std::uint64_t total = 0;
  const std::size_t steps = length / 8;
  for (std::size_t start = 0; start < steps; start += kBlock) {
    const std::size_t end = std::min(steps, start + kBlock);
    std::uint64_t sums = 0;
    for (std::size_t k = start; k < end; ++k) {
      std::uint64_t four = 0;
      std::memcpy(&four, data + 8 * k, sizeof four);
      sums += (four & kLowWords) + ((four >> 16) & kLowWords);
    }
    total += (sums & 0xFFFFFFFFu) + (sums >> 32);
  }
  for (std::size_t i = 8 * steps; i + 1 < length; i += 2) {
    total += static_cast<std::uint32_t>(data[i]) | (static_cast<std::uint32_t>(data[i + 1]) << 8);
  }
  return total;
}

}  // namespace

void PeChecksumSum::Add(const unsigned char* data, std::size_t length, std::uint64_t offset) {
  if (length == 0) return;
  // The field's own bytes count as zero.
  const std::uint64_t end = offset + length;
  if (offset < fieldOffset_ + 4 && end > fieldOffset_) {
    if (offset < fieldOffset_) Add(data, static_cast<std::size_t>(fieldOffset_ - offset), offset);
    if (end > fieldOffset_ + 4) {
      const std::uint64_t skip = fieldOffset_ + 4 - offset;
      Add(data + skip, static_cast<std::size_t>(length - skip), fieldOffset_ + 4);
    }
    return;
  }
  if (offset & 1) {
    sum_ += std::uint64_t{data[0]} << 8;
    ++data;
    --length;
  }
  const std::size_t even = length & ~std::size_t{1};
  sum_ += SumWords(data, even);
  if (length > even) sum_ += data[even];
}

std::uint32_t PeChecksumSum::Finish(std::uint64_t fileSize) const {
  std::uint64_t sum = sum_;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + fileSize);
}

void PieceImage::AppendView(std::string_view bytes) {
  if (bytes.empty()) return;
  Piece piece;
  piece.offset = size_;
  piece.view = bytes;
  piece.length = bytes.size();
  pieces_.push_back(std::move(piece));
  size_ += bytes.size();
}

void PieceImage::AppendOwned(std::string bytes) {
  if (bytes.empty()) return;
  Piece piece;
  piece.offset = size_;
  piece.length = bytes.size();
  piece.owned = std::move(bytes);
  piece.isOwned = true;
  size_ += piece.length;
  pieces_.push_back(std::move(piece));
}

void PieceImage::AppendZeros(std::uint64_t count) {
  if (count > 0) AppendOwned(std::string(static_cast<std::size_t>(count), '\0'));
}

void PieceImage::AppendSource(const SourceFile& source, std::uint64_t from, std::uint64_t length) {
  if (length == 0) return;
  Piece piece;
  piece.offset = size_;
  piece.source = &source;
  piece.from = from;
  piece.length = length;
  pieces_.push_back(std::move(piece));
  size_ += length;
}

std::size_t PieceImage::PieceAt(std::uint64_t offset) const {
  const auto after =
      std::upper_bound(pieces_.begin(), pieces_.end(), offset,
                       [](std::uint64_t value, const Piece& p) { return value < p.offset; });
  return static_cast<std::size_t>(after - pieces_.begin()) - 1;
}

bool PieceImage::Load(std::uint64_t offset, void* out, std::size_t length) const {
  if (offset > size_ || length > size_ - offset) return false;
  auto* target = static_cast<char*>(out);
  while (length > 0) {
    const Piece& piece = pieces_[PieceAt(offset)];
    const std::uint64_t at = offset - piece.offset;
    const std::size_t take =
        static_cast<std::size_t>(std::min<std::uint64_t>(length, piece.length - at));
    if (piece.source) {
      if (piece.source->Read(piece.from + at, target, take) != 0) return false;
    } else {
      std::memcpy(target, piece.Bytes().data() + at, take);
    }
    target += take;
    offset += take;
    length -= take;
  }
  return true;
}

std::optional<std::size_t> PieceImage::Own(std::size_t index, std::uint64_t offset,
                                           std::size_t length) {
  const Piece& piece = pieces_[index];
  if (piece.isOwned) return index;
  // Patches come in clusters (the fields of the headers): the whole page
  // around the first one is taken at once, which also leaves the stretches
  // beside it starting on page boundaries, where the kernel copies fastest.
  std::uint64_t at = offset - piece.offset;
  std::uint64_t take = std::min<std::uint64_t>(length, piece.length - at);
  if (take < kOwnAtOnce) {
    const std::uint64_t pageStart = offset / kOwnAtOnce * kOwnAtOnce;
    at = pageStart > piece.offset ? pageStart - piece.offset : 0;
    const std::uint64_t end =
        std::min<std::uint64_t>(piece.length, pageStart + kOwnAtOnce - piece.offset);
    take = end - at;
  }
  std::string bytes(static_cast<std::size_t>(take), '\0');
  if (piece.source) {
    if (piece.source->Read(piece.from + at, bytes.data(), bytes.size()) != 0) return std::nullopt;
  } else {
    std::memcpy(bytes.data(), piece.view.data() + at, bytes.size());
  }
  // The piece before and after the owned bytes keep referring to the same
  // place as before.
  const auto part = [&](std::uint64_t from, std::uint64_t count) {
    Piece kept;
    kept.offset = piece.offset + from;
    kept.length = count;
    if (piece.source) {
      kept.source = piece.source;
      kept.from = piece.from + from;
    } else {
      kept.view =
          piece.view.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
    }
    return kept;
  };
  std::vector<Piece> split;
  if (at > 0) split.push_back(part(0, at));
  Piece owned;
  owned.offset = piece.offset + at;
  owned.length = take;
  owned.owned = std::move(bytes);
  owned.isOwned = true;
  split.push_back(std::move(owned));
  if (at + take < piece.length) split.push_back(part(at + take, piece.length - at - take));
  const std::size_t ownedIndex = index + (at > 0 ? 1 : 0);
  pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(index));
  pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(index),
                 std::make_move_iterator(split.begin()), std::make_move_iterator(split.end()));
  return ownedIndex;
}

bool PieceImage::Store(std::uint64_t offset, const void* bytes, std::size_t length) {
  if (offset > size_ || length > size_ - offset) return false;
  const auto* source = static_cast<const char*>(bytes);
  while (length > 0) {
    const std::optional<std::size_t> index = Own(PieceAt(offset), offset, length);
    if (!index) return false;
    Piece& piece = pieces_[*index];
    const std::size_t at = static_cast<std::size_t>(offset - piece.offset);
    const std::size_t take = std::min(length, piece.owned.size() - at);
    std::memcpy(piece.owned.data() + at, source, take);
    source += take;
    offset += take;
    length -= take;
  }
  return true;
}

std::uint32_t PieceImage::LoadU32(std::uint64_t offset) const {
  unsigned char bytes[4] = {};
  Load(offset, bytes, 4);
  return static_cast<std::uint32_t>(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16)) |
         (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void PieceImage::StoreU16(std::uint64_t offset, std::uint16_t value) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                  static_cast<unsigned char>(value >> 8)};
  Store(offset, bytes, 2);
}

void PieceImage::StoreU32(std::uint64_t offset, std::uint32_t value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value & 0xFF), static_cast<unsigned char>((value >> 8) & 0xFF),
      static_cast<unsigned char>((value >> 16) & 0xFF), static_cast<unsigned char>(value >> 24)};
  Store(offset, bytes, 4);
}

template <typename Take>
int PieceImage::ForEachSlice(Take take) const {
  // One slice buffer for every module written: fresh memory costs more
  // than the copy through it.
  static thread_local std::unique_ptr<char[]> buffer(new char[kSlice]);
  for (const Piece& piece : pieces_) {
    if (!piece.source) {
      const std::string_view bytes = piece.Bytes();
      if (const int error = take(piece.offset, bytes.data(), bytes.size())) return error;
      continue;
    }
    for (std::uint64_t done = 0; done < piece.length;) {
      const std::size_t count =
          static_cast<std::size_t>(std::min<std::uint64_t>(piece.length - done, kSlice));
      if (const int error = piece.source->Read(piece.from + done, buffer.get(), count)) {
        return error;
      }
      if (const int error = take(piece.offset + done, buffer.get(), count)) return error;
      done += count;
    }
  }
  return 0;
}

std::optional<std::uint32_t> PieceImage::Checksum(std::uint64_t checkSumOffset) const {
  PeChecksumSum sum(checkSumOffset);
  const int error = ForEachSlice([&](std::uint64_t at, const char* data, std::size_t n) {
    sum.Add(reinterpret_cast<const unsigned char*>(data), n, at);
    return 0;
  });
  if (error != 0) return std::nullopt;
  return sum.Finish(size_);
}

std::optional<std::string> PieceImage::Flatten() const {
  std::string out;
  out.reserve(static_cast<std::size_t>(size_));
  const int error = ForEachSlice([&](std::uint64_t, const char* data, std::size_t n) {
    out.append(data, n);
    return 0;
  });
  if (error != 0) return std::nullopt;
  if (checksumField_ && *checksumField_ + 4 <= out.size()) {
    const std::optional<std::uint32_t> checksum = Checksum(*checksumField_);
    if (!checksum) return std::nullopt;
    ulk::StoreU32(out, static_cast<std::size_t>(*checksumField_), *checksum);
  }
  return out;
}

int PieceImage::WriteTo(AtomicFileWriter& writer) const {
  std::optional<std::uint32_t> checksum;
  if (checksumField_ && *checksumField_ + 4 <= size_) {
    checksum = Checksum(*checksumField_);
    if (!checksum) return EIO;
  }
  const int fd = writer.Descriptor();
  // The checksum goes out with the bytes around it where they pass through
  // memory; else it is written over at the end.
  bool checksumWritten = !checksum;
  const auto withChecksum = [&](std::string& bytes, std::uint64_t offset) {
    if (checksumWritten || *checksumField_ < offset ||
        *checksumField_ + 4 > offset + bytes.size()) {
      return;
    }
    ulk::StoreU32(bytes, static_cast<std::size_t>(*checksumField_ - offset), *checksum);
    checksumWritten = true;
  };
  // Where the module starts as the source does (its stretches in their own
  // places, with patches of our own between them), the kernel copies the
  // whole stretch at once from the start, which it does much faster than
  // in parts after bytes written; the patches are written over it then.
  std::size_t next = 0;
  const SourceFile* home = nullptr;
  std::uint64_t homeEnd = 0;
  for (; next < pieces_.size(); ++next) {
    const Piece& piece = pieces_[next];
    const bool inPlace = piece.source
                             ? piece.from == piece.offset && (!home || home == piece.source)
                             : piece.length < kPatchAtMost;
    if (!inPlace || (home && piece.offset + piece.length > home->Size())) break;
    if (piece.source) home = piece.source;
    homeEnd = piece.offset + piece.length;
  }
  if (home && homeEnd >= kSlice && homeEnd <= home->Size()) {
    if (const int error = home->CopyTo(fd, 0, homeEnd)) return error;
    for (std::size_t i = 0; i < next; ++i) {
      const Piece& piece = pieces_[i];
      if (piece.source) continue;
      std::string bytes(piece.Bytes());
      withChecksum(bytes, piece.offset);
      const ssize_t written =
          ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(piece.offset));
      if (written != static_cast<ssize_t>(bytes.size())) return written < 0 ? errno : EIO;
    }
  } else {
    next = 0;
  }
  // Long stretches of the source are copied by the kernel, long runs of our
  // own bytes written from where they are; everything else (the headers
  // between patched fields) goes out in one write per run.
  std::string staged;
  std::uint64_t stagedAt = next < pieces_.size() ? pieces_[next].offset : size_;
  const auto flush = [&] {
    withChecksum(staged, stagedAt);
    const int error = writer.Write(staged);
    stagedAt += staged.size();
    staged.clear();
    return error;
  };
  for (; next < pieces_.size(); ++next) {
    const Piece& piece = pieces_[next];
    if (!piece.source && piece.length >= kSlice) {
      // Not copied: the checksum, should its field lie here, is written
      // over it at the end.
      if (const int error = flush()) return error;
      if (const int error = writer.Write(piece.Bytes())) return error;
      stagedAt += piece.length;
      continue;
    }
    if (!piece.source || piece.length < kSlice) {
      if (piece.source) {
        const std::size_t at = staged.size();
        staged.resize(at + static_cast<std::size_t>(piece.length));
        if (const int error =
                piece.source->Read(piece.from, staged.data() + at, staged.size() - at)) {
          return error;
        }
      } else {
        staged.append(piece.Bytes());
      }
      if (staged.size() >= kSlice) {
        if (const int error = flush()) return error;
      }
      continue;
    }
    if (const int error = flush()) return error;
    if (const int error = piece.source->CopyTo(fd, piece.from, piece.length)) return error;
    stagedAt += piece.length;
  }
  if (const int error = flush()) return error;
  if (checksumWritten) return 0;
  const unsigned char field[4] = {static_cast<unsigned char>(*checksum & 0xFF),
                                  static_cast<unsigned char>((*checksum >> 8) & 0xFF),
                                  static_cast<unsigned char>((*checksum >> 16) & 0xFF),
                                  static_cast<unsigned char>(*checksum >> 24)};
  const ssize_t written = ::pwrite(fd, field, 4, static_cast<off_t>(*checksumField_));
  if (written != 4) return written < 0 ? errno : EIO;
  return 0;
}

}  // namespace ulk
