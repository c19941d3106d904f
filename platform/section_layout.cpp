// Placing a rebuilt resource section in its module.
// Ref: Microsoft, "PE Format", "Section Table", "Optional Header Data
// Directories", "The Attribute Certificate Table", "Debug Directory".
#include "platform/section_layout.h"

#include <algorithm>

#include "platform/byte_stream.h"
#include "platform/system_error.h"

namespace ulk {
namespace {

constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint32_t kInitializedData = 0x00000040;
constexpr std::uint32_t kMemRead = 0x40000000;
constexpr std::uint64_t kDebugEntrySize = 28;
constexpr std::uint64_t kLimit = 0xFFFFFFFFu;
constexpr std::uint32_t kPageSize = 4096;

std::uint64_t ExtentOf(const PeSection& s) {
  return std::max(s.virtualSize, s.sizeOfRawData);
}

std::uint64_t RawEndOf(const PeSection& s) {
  return std::uint64_t{s.pointerToRawData} + s.sizeOfRawData;
}

bool PowerOfTwo(std::uint64_t value) {
  return value != 0 && (value & (value - 1)) == 0;
}

// The section's bytes and then zeros up to `size`: the zeros as a piece of
// their own, since growing the bytes in place would copy them all once more.
void AppendPadded(PieceImage& out, std::string bytes, std::uint64_t size) {
  const std::uint64_t length = bytes.size();
  out.AppendOwned(std::move(bytes));
  if (size > length) out.AppendZeros(size - length);
}

Status Refuse(int code, std::string message) {
  return Status::Fail(code, std::move(message));
}

// The data entries' addresses become image addresses once the section has one.
void RelocateDataEntries(ResourceSectionBytes& section, std::uint32_t sectionRva) {
  for (std::size_t i = 0; i < section.entryCount; ++i) {
    const std::size_t at = section.entriesStart + 16 * i;
    StoreU32(section.bytes, at, LoadU32(section.bytes, at) + sectionRva);
  }
}

}  // namespace

SectionLayout::SectionLayout(const ModuleImage& image)
    : image_(image), headers_(image.Headers()), source_(image.Source()) {}

std::uint64_t SectionLayout::Shift(std::uint64_t value, const std::vector<Move>& moves) {
  for (const Move& move : moves) {
    if (value >= move.from && value < move.end) {
      return static_cast<std::uint64_t>(static_cast<std::int64_t>(value) + move.delta);
    }
  }
  return value;
}

std::string_view SectionLayout::View(std::uint64_t from, std::uint64_t to) const {
  const auto bytes = source_.View(from, to - from);
  return bytes ? *bytes : std::string_view();
}

void SectionLayout::Copy(PieceImage& out, std::uint64_t from, std::uint64_t to) const {
  out.AppendSource(source_, from, to - from);
}

Status SectionLayout::CheckHeaders() const {
  if (headers_.directories.size() <= kDirResource) {
    return Refuse(kErrorBadResourceDirectory, "the module has no resource directory entry");
  }
  // A layout Windows would not load is not rewritten.
  if (!PowerOfTwo(headers_.sectionAlignment) || !PowerOfTwo(headers_.fileAlignment) ||
      headers_.fileAlignment > headers_.sectionAlignment) {
    return Refuse(kErrorBadHeaders, "section or file alignment is not a power of two");
  }
  for (const PeSection& s : headers_.sections) {
    if (s.virtualAddress + ExtentOf(s) > kLimit) {
      return Refuse(kErrorBadHeaders, "section " + s.name + " lies beyond 4 GB");
    }
  }
  return {};
}

void SectionLayout::Survey() {
  sections_ = headers_.sections;
  count_ = sections_.size();
  rawEnd_ = headers_.sizeOfHeaders;
  // Sections lie above the headers, which take the first page of memory.
  virtualEnd_ = AlignUp(headers_.sizeOfHeaders, headers_.sectionAlignment);
  for (std::size_t i = 0; i < count_; ++i) {
    const PeSection& s = sections_[i];
    if (s.sizeOfRawData > 0) rawEnd_ = std::max(rawEnd_, RawEndOf(s));
    virtualEnd_ =
        std::max(virtualEnd_, s.virtualAddress + AlignUp(ExtentOf(s), headers_.sectionAlignment));
    if (lastByAddress_ < 0 ||
        s.virtualAddress > sections_[static_cast<std::size_t>(lastByAddress_)].virtualAddress) {
      lastByAddress_ = static_cast<int>(i);
    }
  }
  rawEnd_ = std::min<std::uint64_t>(rawEnd_, source_.Size());

  const DataDirectory resources = headers_.directories[kDirResource];
  resourceIndex_ = resources.rva ? image_.SectionOf(resources.rva) : -1;
  dedicated_ =
      resourceIndex_ >= 0 && IsDedicated(static_cast<std::size_t>(resourceIndex_), kDirResource);

  // A relocation section right after the resource section, last in memory
  // and in the file.
  if (dedicated_ && headers_.directories.size() > kDirBaseReloc &&
      headers_.directories[kDirBaseReloc].rva != 0) {
    const std::size_t k = static_cast<std::size_t>(resourceIndex_);
    const int next = NextByAddress(k);
    if (next >= 0 && next == lastByAddress_) {
      const PeSection& r = sections_[static_cast<std::size_t>(next)];
      if (IsDedicated(static_cast<std::size_t>(next), kDirBaseReloc) &&
          RawEndOf(sections_[k]) == r.pointerToRawData && RawEndOf(r) == rawEnd_) {
        reloc_ = next;
      }
    }
  }

  // An attribute certificate table (a signature over the old file) in the
  // overlay is left out; elsewhere only its directory entry is cleared.
  if (headers_.directories.size() > kDirSecurity && headers_.directories[kDirSecurity].size != 0) {
    certificateStart_ = headers_.directories[kDirSecurity].rva;
    certificateSize_ = headers_.directories[kDirSecurity].size;
    if (certificateStart_ < rawEnd_ || certificateStart_ + certificateSize_ > source_.Size()) {
      certificateSize_ = 0;
    }
  }
}

// A section that starts with the directory `owner`, that no other
// directory points into, and whose bytes in the file are its own (not the
// headers or the section table, not another section's): only such a
// section is rewritten.
bool SectionLayout::IsDedicated(std::size_t index, std::size_t owner) const {
  const PeSection& s = sections_[index];
  if (s.virtualAddress != headers_.directories[owner].rva) return false;
  const std::uint64_t from = s.pointerToRawData;
  const std::uint64_t to = RawEndOf(s);
  const std::uint64_t headersEnd = std::max<std::uint64_t>(
      headers_.sizeOfHeaders, headers_.sectionTableOffset + kSectionHeaderSize * count_);
  if (from < headersEnd) return false;
  for (std::size_t other = 0; other < count_; ++other) {
    const PeSection& o = sections_[other];
    if (other == index || o.sizeOfRawData == 0) continue;
    if (from < RawEndOf(o) && o.pointerToRawData < to) return false;
  }
  for (std::size_t d = 0; d < headers_.directories.size(); ++d) {
    if (d == owner || d == kDirSecurity || headers_.directories[d].rva == 0) continue;
    const std::uint32_t other = headers_.directories[d].rva;
    if (other >= s.virtualAddress && other < s.virtualAddress + ExtentOf(s)) return false;
  }
  return true;
}

int SectionLayout::NextByAddress(std::size_t index) const {
  int next = -1;
  for (std::size_t i = 0; i < count_; ++i) {
    if (sections_[i].virtualAddress > sections_[index].virtualAddress &&
        (next < 0 ||
         sections_[i].virtualAddress < sections_[static_cast<std::size_t>(next)].virtualAddress)) {
      next = static_cast<int>(i);
    }
  }
  return next;
}

SectionLayout::Placement SectionLayout::Choose(std::uint64_t newSize) const {
  if (!dedicated_) return Placement::kAppend;
  const std::size_t k = static_cast<std::size_t>(resourceIndex_);
  const PeSection& s = sections_[k];
  const int next = NextByAddress(k);
  const bool roomInMemory =
      next < 0 || s.virtualAddress + AlignUp(newSize, headers_.sectionAlignment) <=
                      sections_[static_cast<std::size_t>(next)].virtualAddress;
  if (newSize <= s.sizeOfRawData && roomInMemory) return Placement::kInPlace;
  if (resourceIndex_ == lastByAddress_ && RawEndOf(s) == rawEnd_) return Placement::kGrowLast;
  if (reloc_ >= 0) return Placement::kMoveReloc;
  return Placement::kAppend;
}

void SectionLayout::AppendOverlay(PieceImage& out) {
  const std::int64_t delta =
      static_cast<std::int64_t>(out.Size()) - static_cast<std::int64_t>(rawEnd_);
  if (certificateSize_ == 0) {
    Copy(out, rawEnd_, source_.Size());
    fileMoves_.push_back({rawEnd_, source_.Size(), delta});
    return;
  }
  Copy(out, rawEnd_, certificateStart_);
  fileMoves_.push_back({rawEnd_, certificateStart_, delta});
  const std::uint64_t after = certificateStart_ + certificateSize_;
  Copy(out, after, source_.Size());
  fileMoves_.push_back(
      {after, source_.Size(), delta - static_cast<std::int64_t>(certificateSize_)});
}

Status SectionLayout::Place(Placement placement, ResourceSectionBytes& section, PieceImage& out) {
  if (placement == Placement::kAppend) return PlaceAppended(section, out);
  PeSection& s = sections_[static_cast<std::size_t>(resourceIndex_)];
  placedIndex_ = static_cast<std::size_t>(resourceIndex_);
  sectionRva_ = s.virtualAddress;
  RelocateDataEntries(section, sectionRva_);
  Copy(out, 0, s.pointerToRawData);
  if (placement == Placement::kInPlace) {
    AppendPadded(out, std::move(section.bytes), s.sizeOfRawData);
    Copy(out, RawEndOf(s), rawEnd_);
    s.virtualSize = static_cast<std::uint32_t>(sectionSize_);
    AppendOverlay(out);
    return {};
  }
  const std::uint64_t newRaw = AlignUp(sectionSize_, headers_.fileAlignment);
  AppendPadded(out, std::move(section.bytes), newRaw);
  initializedDelta_ = static_cast<std::int64_t>(newRaw) - s.sizeOfRawData;
  if (placement == Placement::kMoveReloc) {
    PeSection& r = sections_[static_cast<std::size_t>(reloc_)];
    const std::uint64_t newPointer = out.Size();
    const std::uint64_t newAddress =
        AlignUp(s.virtualAddress + sectionSize_, headers_.sectionAlignment);
    if (newAddress + ExtentOf(r) > kLimit) {
      return Refuse(kErrorBadHeaders, "the relocations would move beyond 4 GB");
    }
    Copy(out, r.pointerToRawData, RawEndOf(r));
    fileMoves_.push_back({r.pointerToRawData, RawEndOf(r),
                          static_cast<std::int64_t>(newPointer) - r.pointerToRawData});
    addressMoves_.push_back({r.virtualAddress, r.virtualAddress + ExtentOf(r),
                             static_cast<std::int64_t>(newAddress) - r.virtualAddress});
    r.pointerToRawData = static_cast<std::uint32_t>(newPointer);
    r.virtualAddress = static_cast<std::uint32_t>(newAddress);
  }
  s.sizeOfRawData = static_cast<std::uint32_t>(newRaw);
  s.virtualSize = static_cast<std::uint32_t>(sectionSize_);
  AppendOverlay(out);
  return {};
}

Status SectionLayout::PlaceAppended(ResourceSectionBytes& section, PieceImage& out) {
  // One more section header must fit in the headers, over bytes nothing uses.
  const std::uint64_t tableEnd = headers_.sectionTableOffset + kSectionHeaderSize * count_;
  std::uint64_t firstData = headers_.sizeOfHeaders;
  for (const PeSection& s : sections_) {
    if (s.sizeOfRawData > 0) firstData = std::min<std::uint64_t>(firstData, s.pointerToRawData);
  }
  const std::string_view slot = View(tableEnd, tableEnd + kSectionHeaderSize);
  const bool room = tableEnd + kSectionHeaderSize <= firstData &&
                    slot.size() == kSectionHeaderSize &&
                    slot.find_first_not_of('\0') == std::string_view::npos;
  if (!room) return Refuse(kErrorNoHeaderRoom, "no room in the headers for a new section");

  const std::uint64_t newRaw = AlignUp(sectionSize_, headers_.fileAlignment);
  const std::uint64_t address = AlignUp(virtualEnd_, headers_.sectionAlignment);
  const std::uint64_t pointer = AlignUp(rawEnd_, headers_.fileAlignment);
  if (address + newRaw > kLimit || pointer + newRaw > kLimit) {
    return Refuse(kErrorBadHeaders, "a new section would lie beyond 4 GB");
  }
  // Below the page size a loader maps the file as it lies: a section must
  // stand in memory where it stands in the file.
  if (headers_.sectionAlignment < kPageSize && address != pointer) {
    return Refuse(kErrorBadHeaders, "no place for a new section where it lies in the file");
  }
  PeSection added;
  const bool nameTaken = std::any_of(sections_.begin(), sections_.end(),
                                     [](const PeSection& s) { return s.name == ".rsrc"; });
  added.name = nameTaken ? ".rsrc1" : ".rsrc";
  added.virtualAddress = static_cast<std::uint32_t>(address);
  added.virtualSize = static_cast<std::uint32_t>(sectionSize_);
  added.sizeOfRawData = static_cast<std::uint32_t>(newRaw);
  added.pointerToRawData = static_cast<std::uint32_t>(pointer);
  added.characteristics = kInitializedData | kMemRead;
  sectionRva_ = added.virtualAddress;
  RelocateDataEntries(section, sectionRva_);
  Copy(out, 0, rawEnd_);
  out.AppendZeros(pointer - rawEnd_);
  AppendPadded(out, std::move(section.bytes), newRaw);
  initializedDelta_ = static_cast<std::int64_t>(newRaw);
  sections_.push_back(added);
  placedIndex_ = sections_.size() - 1;
  AppendOverlay(out);
  return {};
}

void SectionLayout::PatchHeaders(PieceImage& out) const {
  const PeHeaders& h = headers_;
  out.StoreU16(h.coffOffset + PeHeaders::kNumberOfSections,
               static_cast<std::uint16_t>(sections_.size()));
  if (h.pointerToSymbolTable != 0) {
    out.StoreU32(h.coffOffset + PeHeaders::kPointerToSymbolTable,
                 static_cast<std::uint32_t>(Shift(h.pointerToSymbolTable, fileMoves_)));
  }
  std::uint64_t imageEnd = 0;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    const PeSection& s = sections_[i];
    const std::uint64_t at = h.sectionTableOffset + kSectionHeaderSize * i;
    // Only what changed is written: a malformed table may share its bytes
    // with section data.
    const PeSection* old = i < count_ ? &h.sections[i] : nullptr;
    if (!old) {
      std::string name = s.name;
      name.resize(8, '\0');
      out.Store(at, name.data(), name.size());
      out.StoreU32(at + PeHeaders::kSectionCharacteristics, s.characteristics);
    }
    if (!old || old->virtualSize != s.virtualSize) {
      out.StoreU32(at + PeHeaders::kSectionVirtualSize, s.virtualSize);
    }
    if (!old || old->virtualAddress != s.virtualAddress) {
      out.StoreU32(at + PeHeaders::kSectionVirtualAddress, s.virtualAddress);
    }
    if (!old || old->sizeOfRawData != s.sizeOfRawData) {
      out.StoreU32(at + PeHeaders::kSectionSizeOfRawData, s.sizeOfRawData);
    }
    if (!old || old->pointerToRawData != s.pointerToRawData) {
      out.StoreU32(at + PeHeaders::kSectionPointerToRawData, s.pointerToRawData);
    }
    const std::uint64_t extent = s.virtualSize ? s.virtualSize : s.sizeOfRawData;
    imageEnd = std::max(imageEnd, s.virtualAddress + AlignUp(extent, h.sectionAlignment));
  }
  out.StoreU32(h.optionalOffset + PeHeaders::kSizeOfImage,
               static_cast<std::uint32_t>(AlignUp(imageEnd, h.sectionAlignment)));
  if (sections_[placedIndex_].characteristics & kInitializedData) {
    out.StoreU32(h.optionalOffset + PeHeaders::kSizeOfInitializedData,
                 static_cast<std::uint32_t>(static_cast<std::int64_t>(h.sizeOfInitializedData) +
                                            initializedDelta_));
  }
  for (std::size_t d = 0; d < h.directories.size(); ++d) {
    const std::uint64_t at = h.dataDirectoryOffset + 8 * d;
    if (d == kDirResource) {
      out.StoreU32(at, sectionRva_);
      out.StoreU32(at + 4, static_cast<std::uint32_t>(sectionSize_));
    } else if (d == kDirSecurity) {
      if (h.directories[d].size != 0) {
        out.StoreU32(at, 0);
        out.StoreU32(at + 4, 0);
      }
    } else if (h.directories[d].rva != 0) {
      out.StoreU32(at, static_cast<std::uint32_t>(Shift(h.directories[d].rva, addressMoves_)));
    }
  }
}

// Debug data found by file offset moves with the bytes it points at.
void SectionLayout::MoveDebugData(PieceImage& out) const {
  const PeHeaders& h = headers_;
  if (h.directories.size() <= kDirDebug || h.directories[kDirDebug].rva == 0 ||
      fileMoves_.empty()) {
    return;
  }
  const DataDirectory debug = h.directories[kDirDebug];
  std::uint64_t at = 0;
  if (!image_.FileOffsetOf(debug.rva, debug.size, at)) return;
  at = Shift(at, fileMoves_);
  for (std::uint64_t e = 0; e + kDebugEntrySize <= debug.size; e += kDebugEntrySize) {
    const std::uint64_t entry = at + e;
    if (entry + kDebugEntrySize > out.Size()) break;
    const std::uint64_t addressAt = entry + PeHeaders::kDebugAddressOfRawData;
    const std::uint64_t pointerAt = entry + PeHeaders::kDebugPointerToRawData;
    const std::uint32_t address = out.LoadU32(addressAt);
    const std::uint32_t pointer = out.LoadU32(pointerAt);
    if (address) out.StoreU32(addressAt, static_cast<std::uint32_t>(Shift(address, addressMoves_)));
    if (pointer) out.StoreU32(pointerAt, static_cast<std::uint32_t>(Shift(pointer, fileMoves_)));
  }
}

Status SectionLayout::Assemble(ResourceSectionBytes section, PieceImage& out) {
  if (Status status = CheckHeaders(); !status) return status;
  Survey();
  sectionSize_ = section.bytes.size();
  if (AlignUp(sectionSize_, headers_.fileAlignment) > 0x7FFFFFFF) {
    return Refuse(kErrorResourceTooLarge, "the resources do not fit a section");
  }
  out = PieceImage();
  if (Status status = Place(Choose(sectionSize_), section, out); !status) return status;
  // Whatever the headers claim, a module grows by its new resources and the
  // padding before and after them, never more.
  const std::uint64_t fileAlignment = headers_.fileAlignment;
  if (out.Size() > source_.Size() + AlignUp(sectionSize_, fileAlignment) + fileAlignment) {
    return Refuse(kErrorBadHeaders, "the rebuilt module would grow past its resources");
  }
  for (const PeSection& s : sections_) {
    if (s.virtualAddress + std::uint64_t{s.virtualSize} > kLimit || RawEndOf(s) > kLimit) {
      return Refuse(kErrorBadHeaders, "the rebuilt module would exceed 4 GB");
    }
  }
  PatchHeaders(out);
  MoveDebugData(out);
  if (headers_.checkSum != 0) {
    const std::uint64_t at = headers_.optionalOffset + PeHeaders::kCheckSum;
    out.SetChecksumField(at);
  }
  return {};
}

}  // namespace ulk
