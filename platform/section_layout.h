// Where a rebuilt resource section goes in a module, and the module put
// together around it: in place when it fits; grown in place when it is the
// last section, or when only the relocation section follows it (which then
// moves up); otherwise a new section after the last one. Everything else
// stays true: section sizes, SizeOfImage, SizeOfInitializedData, the data
// directory, file offsets that move (COFF symbol table, debug data), the
// overlay after the sections; an Authenticode signature is removed and the
// checksum recomputed when the module had one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pe_image.h"
#include "platform/piece_image.h"
#include "platform/status.h"

namespace ulk {

// A serialised resource section: its data entries hold addresses relative
// to the section's start until the section is placed.
struct ResourceSectionBytes {
  std::string bytes;
  std::size_t entriesStart = 0;
  std::size_t entryCount = 0;
};

class SectionLayout {
 public:
  explicit SectionLayout(const ModuleImage& image);

  // The module with `section` as its resources, as pieces of the image's
  // bytes and of its own. Refuses layouts the loader would not take and
  // modules whose headers leave no room for what is needed.
  Status Assemble(ResourceSectionBytes section, PieceImage& out);

 private:
  // A stretch of the source file or image that now lies elsewhere.
  struct Move {
    std::uint64_t from = 0;
    std::uint64_t end = 0;
    std::int64_t delta = 0;
  };
  enum class Placement { kInPlace, kGrowLast, kMoveReloc, kAppend };

  Status CheckHeaders() const;
  void Survey();
  bool IsDedicated(std::size_t index, std::size_t owner) const;
  int NextByAddress(std::size_t index) const;
  Placement Choose(std::uint64_t newSize) const;
  std::string_view View(std::uint64_t from, std::uint64_t to) const;
  // The source's bytes [from, to) as the next piece of `out`.
  void Copy(PieceImage& out, std::uint64_t from, std::uint64_t to) const;
  void AppendOverlay(PieceImage& out);
  Status Place(Placement placement, ResourceSectionBytes& section, PieceImage& out);
  Status PlaceAppended(ResourceSectionBytes& section, PieceImage& out);
  void PatchHeaders(PieceImage& out) const;
  void MoveDebugData(PieceImage& out) const;
  static std::uint64_t Shift(std::uint64_t value, const std::vector<Move>& moves);

  const ModuleImage& image_;
  const PeHeaders& headers_;
  const SourceFile& source_;
  std::vector<PeSection> sections_;
  std::size_t count_ = 0;
  std::uint64_t rawEnd_ = 0;
  std::uint64_t virtualEnd_ = 0;
  int lastByAddress_ = -1;
  int resourceIndex_ = -1;  // the section that holds the resources now
  bool dedicated_ = false;
  int reloc_ = -1;  // a relocation section that may move up
  std::uint64_t certificateStart_ = 0;
  std::uint64_t certificateSize_ = 0;

  std::vector<Move> fileMoves_;
  std::vector<Move> addressMoves_;
  std::uint32_t sectionRva_ = 0;
  std::uint64_t sectionSize_ = 0;
  std::int64_t initializedDelta_ = 0;
  std::size_t placedIndex_ = 0;
};

}  // namespace ulk
