// Pieces of a file.
#include "platform/piece_image.h"

#include <algorithm>
#include <cstring>

#include "platform/byte_stream.h"
#include "platform/files.h"

namespace ulk {

void PieceImage::AppendView(std::string_view bytes) {
  if (bytes.empty()) return;
  pieces_.push_back({size_, bytes, {}, false});
  size_ += bytes.size();
}

void PieceImage::AppendOwned(std::string bytes) {
  if (bytes.empty()) return;
  const std::uint64_t length = bytes.size();
  pieces_.push_back({size_, {}, std::move(bytes), true});
  size_ += length;
}

void PieceImage::AppendZeros(std::uint64_t count) {
  if (count > 0) AppendOwned(std::string(static_cast<std::size_t>(count), '\0'));
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
    const std::string_view bytes = piece.Bytes();
    const std::size_t at = static_cast<std::size_t>(offset - piece.offset);
    const std::size_t take = std::min(length, bytes.size() - at);
    std::memcpy(target, bytes.data() + at, take);
    target += take;
    offset += take;
    length -= take;
  }
  return true;
}

std::size_t PieceImage::Own(std::size_t index, std::uint64_t offset, std::size_t length) {
  Piece& piece = pieces_[index];
  if (piece.isOwned) return index;
  const std::string_view bytes = piece.view;
  const std::size_t at = static_cast<std::size_t>(offset - piece.offset);
  const std::size_t take = std::min(length, bytes.size() - at);
  std::vector<Piece> split;
  if (at > 0) split.push_back({piece.offset, bytes.substr(0, at), {}, false});
  split.push_back({offset, {}, std::string(bytes.substr(at, take)), true});
  if (at + take < bytes.size()) {
    split.push_back({offset + take, bytes.substr(at + take), {}, false});
  }
  const std::size_t owned = index + (at > 0 ? 1 : 0);
  pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(index));
  pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(index), split.begin(), split.end());
  return owned;
}

bool PieceImage::Store(std::uint64_t offset, const void* bytes, std::size_t length) {
  if (offset > size_ || length > size_ - offset) return false;
  const auto* source = static_cast<const char*>(bytes);
  while (length > 0) {
    const std::size_t index = Own(PieceAt(offset), offset, length);
    Piece& piece = pieces_[index];
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

std::uint32_t PieceImage::Checksum(std::uint64_t checkSumOffset) const {
  // 16-bit words of the whole, summed with end-around carry (folded once at
  // the end); a piece may start in the middle of a word.
  std::uint64_t sum = 0;
  for (const Piece& piece : pieces_) {
    const std::string_view bytes = piece.Bytes();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::uint64_t offset = piece.offset;
    std::size_t i = 0;
    const auto add = [&](unsigned char byte, std::uint64_t at) {
      if (at >= checkSumOffset && at < checkSumOffset + 4) return;
      sum += (at & 1) ? static_cast<std::uint64_t>(byte) << 8 : byte;
    };
    if (offset & 1) {
      add(data[0], offset);
      ++i;
      ++offset;
    }
    const bool touchesField =
        piece.offset < checkSumOffset + 4 && piece.offset + bytes.size() > checkSumOffset;
    if (touchesField) {
      for (; i < bytes.size(); ++i, ++offset) add(data[i], offset);
      continue;
    }
    for (; i + 1 < bytes.size(); i += 2)
      sum += static_cast<std::uint32_t>(data[i] | (data[i + 1] << 8));
    if (i < bytes.size()) sum += data[i];
  }
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint32_t>(sum + size_);
}

std::string PieceImage::Flatten() const {
  std::string out;
  out.reserve(static_cast<std::size_t>(size_));
  for (const Piece& piece : pieces_) out.append(piece.Bytes());
  return out;
}

int PieceImage::WriteTo(AtomicFileWriter& writer) const {
  for (const Piece& piece : pieces_) {
    if (const int error = writer.Write(piece.Bytes())) return error;
  }
  return 0;
}

}  // namespace ulk
