// Rebuilding the resource section of a module and placing it in the file.
// Ref: Microsoft, "PE Format", "The .rsrc Section", "Section
// Table", "Optional Header Data Directories", "The Attribute Certificate
// Table", "Debug Directory".
#include "platform/resource_update.h"

#include <unicode/uchar.h>

#include <algorithm>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/piece_image.h"
#include "platform/system_error.h"

namespace ulk {
namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint64_t kSectionHeaderSize = 40;
constexpr std::uint32_t kInitializedData = 0x00000040;
constexpr std::uint32_t kMemRead = 0x40000000;
constexpr std::uint64_t kDebugEntrySize = 28;

// Named entries first, by code unit; then numbers ascending.
bool IdLess(const ResourceId& a, const ResourceId& b) {
  if (a.named != b.named) return a.named;
  if (a.named) return a.name < b.name;
  return a.number < b.number;
}

// A stretch of the source file that the output holds at another offset.
struct Move {
  std::uint64_t from = 0;
  std::uint64_t end = 0;
  std::int64_t delta = 0;
};

std::uint64_t Shift(std::uint64_t value, const std::vector<Move>& moves) {
  for (const Move& move : moves) {
    if (value >= move.from && value < move.end) {
      return static_cast<std::uint64_t>(static_cast<std::int64_t>(value) + move.delta);
    }
  }
  return value;
}

std::uint64_t ExtentOf(const PeSection& s) {
  return std::max(s.virtualSize, s.sizeOfRawData);
}

}  // namespace

ResourceId NormalisedResourceId(const ResourceId& id) {
  if (!id.named) return id;
  std::u16string upper = id.name;
  for (char16_t& unit : upper) {
    if (unit < 0xD800 || unit > 0xDFFF) unit = static_cast<char16_t>(u_toupper(unit));
  }
  return ResourceId::Name(std::move(upper));
}

ResourceUpdate::ResourceUpdate(const ModuleImage& image) : image_(image) {
  for (const auto& type : image.Resources()) {
    Type t{NormalisedResourceId(type.id), {}};
    for (const auto& name : type.names) {
      Name n{NormalisedResourceId(name.id), {}};
      for (const auto& data : name.languages) {
        n.languages.push_back(Language{data.language, data.codePage, {}, data.bytes, false});
      }
      t.names.push_back(std::move(n));
    }
    types_.push_back(std::move(t));
  }
}

void ResourceUpdate::Put(const ResourceId& typeId, const ResourceId& nameId, std::uint16_t language,
                         std::string bytes) {
  const ResourceId typeKey = NormalisedResourceId(typeId);
  const ResourceId nameKey = NormalisedResourceId(nameId);
  auto type =
      std::find_if(types_.begin(), types_.end(), [&](const Type& t) { return t.id == typeKey; });
  if (type == types_.end()) {
    types_.push_back(Type{typeKey, {}});
    type = std::prev(types_.end());
  }
  auto name = std::find_if(type->names.begin(), type->names.end(),
                           [&](const Name& n) { return n.id == nameKey; });
  if (name == type->names.end()) {
    type->names.push_back(Name{nameKey, {}});
    name = std::prev(type->names.end());
  }
  for (Language& entry : name->languages) {
    if (entry.id == language) {
      entry.owned = std::move(bytes);
      entry.isOwned = true;
      return;
    }
  }
  name->languages.push_back(Language{language, 0, std::move(bytes), {}, true});
}

bool ResourceUpdate::Delete(const ResourceId& typeId, const ResourceId& nameId,
                            std::uint16_t language) {
  const ResourceId typeKey = NormalisedResourceId(typeId);
  const ResourceId nameKey = NormalisedResourceId(nameId);
  for (auto type = types_.begin(); type != types_.end(); ++type) {
    if (!(type->id == typeKey)) continue;
    for (auto name = type->names.begin(); name != type->names.end(); ++name) {
      if (!(name->id == nameKey)) continue;
      for (auto entry = name->languages.begin(); entry != name->languages.end(); ++entry) {
        if (entry->id != language) continue;
        name->languages.erase(entry);
        // Empty directories are not written.
        if (name->languages.empty()) type->names.erase(name);
        if (type->names.empty()) types_.erase(type);
        return true;
      }
    }
  }
  return false;
}

bool ResourceUpdate::Has(const ResourceId& typeId, const ResourceId& nameId,
                         std::uint16_t language) const {
  const ResourceId typeKey = NormalisedResourceId(typeId);
  const ResourceId nameKey = NormalisedResourceId(nameId);
  for (const Type& type : types_) {
    if (!(type.id == typeKey)) continue;
    for (const Name& name : type.names) {
      if (!(name.id == nameKey)) continue;
      for (const Language& entry : name.languages) {
        if (entry.id == language) return true;
      }
    }
  }
  return false;
}

void ResourceUpdate::SerializedSection::Relocate(std::uint32_t sectionRva) {
  for (std::size_t i = 0; i < entryCount; ++i) {
    const std::size_t at = entriesStart + 16 * i;
    StoreU32(bytes, at, LoadU32(bytes, at) + sectionRva);
  }
}

ResourceUpdate::SerializedSection ResourceUpdate::SerializeSection() const {
  // Sorted copies of the tree, as views.
  std::vector<const Type*> types;
  for (const Type& t : types_) types.push_back(&t);
  std::sort(types.begin(), types.end(), [](auto* a, auto* b) { return IdLess(a->id, b->id); });
  std::vector<std::vector<const Name*>> names(types.size());
  std::vector<std::vector<std::vector<const Language*>>> languages(types.size());
  std::size_t nameCount = 0;
  std::size_t languageCount = 0;
  std::size_t stringBytes = 0;
  for (std::size_t t = 0; t < types.size(); ++t) {
    if (types[t]->id.named) stringBytes += 2 + 2 * types[t]->id.name.size();
    for (const Name& n : types[t]->names) names[t].push_back(&n);
    std::sort(names[t].begin(), names[t].end(),
              [](auto* a, auto* b) { return IdLess(a->id, b->id); });
    languages[t].resize(names[t].size());
    for (std::size_t n = 0; n < names[t].size(); ++n) {
      if (names[t][n]->id.named) stringBytes += 2 + 2 * names[t][n]->id.name.size();
      for (const Language& l : names[t][n]->languages) languages[t][n].push_back(&l);
      std::sort(languages[t][n].begin(), languages[t][n].end(),
                [](auto* a, auto* b) { return a->id < b->id; });
      languageCount += languages[t][n].size();
    }
    nameCount += names[t].size();
  }

  // Directories (root, then the type level, then the name level), data
  // entries, name strings, then the data, each datum 4-byte aligned.
  const std::size_t directoryBytes =
      16 * (1 + types.size() + nameCount) + 8 * (types.size() + nameCount + languageCount);
  const std::size_t entriesStart = directoryBytes;
  const std::size_t stringsStart = entriesStart + 16 * languageCount;
  const std::size_t dataStart = static_cast<std::size_t>(AlignUp(stringsStart + stringBytes, 4));

  ByteWriter dirs;
  ByteWriter entries;
  ByteWriter strings;
  ByteWriter data;
  const auto header = [](ByteWriter& w, std::size_t named, std::size_t numbered) {
    w.U32(0);
    w.U32(0);
    w.U16(0);
    w.U16(0);
    w.U16(static_cast<std::uint16_t>(named));
    w.U16(static_cast<std::uint16_t>(numbered));
  };
  const auto nameField = [&](const ResourceId& id) -> std::uint32_t {
    if (!id.named) return id.number;
    const std::size_t at = stringsStart + strings.Offset();
    strings.U16(static_cast<std::uint16_t>(id.name.size()));
    strings.Utf16(id.name);
    return kHighBit | static_cast<std::uint32_t>(at);
  };
  const auto countNamed = [](const auto& list) {
    std::size_t named = 0;
    for (const auto* item : list) named += item->id.named ? 1 : 0;
    return named;
  };

  // Where each level's directories start.
  std::size_t typeDirAt = 16 + 8 * types.size();
  std::size_t nameDirAt = typeDirAt;
  for (std::size_t t = 0; t < types.size(); ++t) nameDirAt += 16 + 8 * names[t].size();

  header(dirs, countNamed(types), types.size() - countNamed(types));
  {
    std::size_t at = typeDirAt;
    for (std::size_t t = 0; t < types.size(); ++t) {
      dirs.U32(nameField(types[t]->id));
      dirs.U32(kHighBit | static_cast<std::uint32_t>(at));
      at += 16 + 8 * names[t].size();
    }
  }
  {
    std::size_t at = nameDirAt;
    for (std::size_t t = 0; t < types.size(); ++t) {
      header(dirs, countNamed(names[t]), names[t].size() - countNamed(names[t]));
      for (std::size_t n = 0; n < names[t].size(); ++n) {
        dirs.U32(nameField(names[t][n]->id));
        dirs.U32(kHighBit | static_cast<std::uint32_t>(at));
        at += 16 + 8 * languages[t][n].size();
      }
    }
  }
  std::size_t entryAt = entriesStart;
  for (std::size_t t = 0; t < types.size(); ++t) {
    for (std::size_t n = 0; n < names[t].size(); ++n) {
      header(dirs, 0, languages[t][n].size());
      for (const Language* l : languages[t][n]) {
        dirs.U32(l->id);
        dirs.U32(static_cast<std::uint32_t>(entryAt));
        entryAt += 16;
        data.AlignTo4();
        const std::string_view bytes = l->Bytes();
        entries.U32(static_cast<std::uint32_t>(dataStart + data.Offset()));
        entries.U32(static_cast<std::uint32_t>(bytes.size()));
        entries.U32(l->codePage);
        entries.U32(0);
        data.Bytes(bytes);
      }
    }
  }
  std::string out = dirs.Take();
  out += entries.Data();
  out += strings.Data();
  out.resize(dataStart, '\0');
  out += data.Data();
  out.resize(static_cast<std::size_t>(AlignUp(out.size(), 4)), '\0');
  return {std::move(out), entriesStart, languageCount};
}

Status ResourceUpdate::Assemble(PieceImage& out) const {
  const PeHeaders& h = image_.Headers();
  const std::string& in = image_.Bytes();
  const auto fail = [](int code, std::string message) {
    return Status::Fail(code, std::move(message));
  };
  if (h.directories.size() <= kDirResource) {
    return fail(kErrorBadResourceDirectory, "the module has no resource directory entry");
  }
  const std::uint64_t sectionAlignment = h.sectionAlignment;
  const std::uint64_t fileAlignment = h.fileAlignment;
  const auto powerOfTwo = [](std::uint64_t value) {
    return value != 0 && (value & (value - 1)) == 0;
  };
  // A layout Windows would not load is not rewritten.
  if (!powerOfTwo(sectionAlignment) || !powerOfTwo(fileAlignment) ||
      fileAlignment > sectionAlignment) {
    return fail(kErrorBadHeaders, "section or file alignment is not a power of two");
  }
  for (const PeSection& s : h.sections) {
    if (std::uint64_t{s.virtualAddress} + ExtentOf(s) > 0xFFFFFFFFu) {
      return fail(kErrorBadHeaders, "section " + s.name + " lies beyond 4 GB");
    }
  }
  std::vector<PeSection> sections = h.sections;
  const std::size_t count = sections.size();

  std::uint64_t rawEnd = h.sizeOfHeaders;
  // Sections lie above the headers, which take the first page of memory.
  std::uint64_t virtualEnd = AlignUp(h.sizeOfHeaders, sectionAlignment);
  int lastByAddress = -1;
  for (std::size_t i = 0; i < count; ++i) {
    const PeSection& s = sections[i];
    if (s.sizeOfRawData > 0)
      rawEnd = std::max<std::uint64_t>(rawEnd, s.pointerToRawData + std::uint64_t{s.sizeOfRawData});
    virtualEnd = std::max(virtualEnd, s.virtualAddress + AlignUp(ExtentOf(s), sectionAlignment));
    if (lastByAddress < 0 ||
        s.virtualAddress > sections[static_cast<std::size_t>(lastByAddress)].virtualAddress) {
      lastByAddress = static_cast<int>(i);
    }
  }
  rawEnd = std::min<std::uint64_t>(rawEnd, in.size());
  const auto nextByAddress = [&](std::size_t k) {
    int next = -1;
    for (std::size_t i = 0; i < count; ++i) {
      if (sections[i].virtualAddress > sections[k].virtualAddress &&
          (next < 0 ||
           sections[i].virtualAddress < sections[static_cast<std::size_t>(next)].virtualAddress)) {
        next = static_cast<int>(i);
      }
    }
    return next;
  };
  // A section that starts with the directory `owner`, that no other
  // directory points into, and whose bytes in the file are its own (not the
  // headers, not another section's): only such a section is rewritten.
  const auto dedicatedSection = [&](std::size_t index, std::size_t owner) {
    const PeSection& s = sections[index];
    if (s.virtualAddress != h.directories[owner].rva) return false;
    const std::uint64_t from = s.pointerToRawData;
    const std::uint64_t to = from + s.sizeOfRawData;
    const std::uint64_t headersEnd =
        std::max<std::uint64_t>(h.sizeOfHeaders, h.sectionTableOffset + kSectionHeaderSize * count);
    if (from < headersEnd) return false;
    for (std::size_t other = 0; other < count; ++other) {
      const PeSection& o = sections[other];
      if (other == index || o.sizeOfRawData == 0) continue;
      if (from < o.pointerToRawData + std::uint64_t{o.sizeOfRawData} && o.pointerToRawData < to)
        return false;
    }
    for (std::size_t d = 0; d < h.directories.size(); ++d) {
      if (d == owner || d == kDirSecurity || h.directories[d].rva == 0) continue;
      const std::uint32_t other = h.directories[d].rva;
      if (other >= s.virtualAddress && other < s.virtualAddress + ExtentOf(s)) return false;
    }
    return true;
  };

  const DataDirectory resources = h.directories[kDirResource];
  const int k = resources.rva ? image_.SectionOf(resources.rva) : -1;
  const bool dedicated = k >= 0 && dedicatedSection(static_cast<std::size_t>(k), kDirResource);
  const std::size_t ki = static_cast<std::size_t>(std::max(k, 0));

  // A relocation section right after the resource section, last in memory
  // and in the file.
  int reloc = -1;
  if (dedicated && h.directories.size() > kDirBaseReloc && h.directories[kDirBaseReloc].rva != 0) {
    const int next = nextByAddress(ki);
    if (next >= 0 && next == lastByAddress) {
      const PeSection& r = sections[static_cast<std::size_t>(next)];
      if (dedicatedSection(static_cast<std::size_t>(next), kDirBaseReloc) &&
          sections[ki].pointerToRawData + std::uint64_t{sections[ki].sizeOfRawData} ==
              r.pointerToRawData &&
          r.pointerToRawData + std::uint64_t{r.sizeOfRawData} == rawEnd) {
        reloc = next;
      }
    }
  }

  SerializedSection serialized = SerializeSection();
  std::string& section = serialized.bytes;
  const std::uint64_t newSize = section.size();
  const std::uint64_t newRaw = AlignUp(newSize, fileAlignment);
  if (newRaw > 0x7FFFFFFF)
    return fail(kErrorResourceTooLarge, "the resources do not fit a section");

  enum class Placement { kInPlace, kGrowLast, kMoveReloc, kAppend } placement = Placement::kAppend;
  if (dedicated) {
    const PeSection& s = sections[ki];
    const int next = nextByAddress(ki);
    const bool roomInMemory =
        next < 0 || s.virtualAddress + AlignUp(newSize, sectionAlignment) <=
                        sections[static_cast<std::size_t>(next)].virtualAddress;
    if (newSize <= s.sizeOfRawData && roomInMemory) {
      placement = Placement::kInPlace;
    } else if (k == lastByAddress &&
               s.pointerToRawData + std::uint64_t{s.sizeOfRawData} == rawEnd) {
      placement = Placement::kGrowLast;
    } else if (reloc >= 0) {
      placement = Placement::kMoveReloc;
    }
  }

  // The overlay, without an attribute certificate table (a signature over
  // the old file).
  std::uint64_t certificateStart = 0;
  std::uint64_t certificateSize = 0;
  if (h.directories.size() > kDirSecurity && h.directories[kDirSecurity].size != 0) {
    certificateStart = h.directories[kDirSecurity].rva;
    certificateSize = h.directories[kDirSecurity].size;
    if (certificateStart < rawEnd || certificateStart + certificateSize > in.size()) {
      certificateSize = 0;  // not in the overlay: only the entry is cleared
    }
  }
  const std::string_view source = in;
  const auto view = [&](std::uint64_t from, std::uint64_t to) {
    return source.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  };
  const auto appendOverlay = [&](PieceImage& o, std::vector<Move>& moves) {
    const std::int64_t delta =
        static_cast<std::int64_t>(o.Size()) - static_cast<std::int64_t>(rawEnd);
    if (certificateSize == 0) {
      o.AppendView(view(rawEnd, in.size()));
      moves.push_back({rawEnd, in.size(), delta});
      return;
    }
    o.AppendView(view(rawEnd, certificateStart));
    moves.push_back({rawEnd, certificateStart, delta});
    const std::uint64_t after = certificateStart + certificateSize;
    o.AppendView(view(after, in.size()));
    moves.push_back({after, in.size(), delta - static_cast<std::int64_t>(certificateSize)});
  };

  std::vector<Move> fileMoves;
  std::vector<Move> addressMoves;
  std::uint32_t sectionRva = 0;
  std::int64_t initializedDelta = 0;
  std::size_t sectionIndex = ki;
  out = PieceImage();
  switch (placement) {
    case Placement::kInPlace: {
      PeSection& s = sections[ki];
      sectionRva = s.virtualAddress;
      serialized.Relocate(sectionRva);
      out.AppendView(view(0, s.pointerToRawData));
      section.resize(s.sizeOfRawData, '\0');
      out.AppendOwned(std::move(section));
      out.AppendView(view(s.pointerToRawData + std::uint64_t{s.sizeOfRawData}, rawEnd));
      s.virtualSize = static_cast<std::uint32_t>(newSize);
      appendOverlay(out, fileMoves);
      break;
    }
    case Placement::kGrowLast:
    case Placement::kMoveReloc: {
      PeSection& s = sections[ki];
      sectionRva = s.virtualAddress;
      out.AppendView(view(0, s.pointerToRawData));
      serialized.Relocate(sectionRva);
      section.resize(static_cast<std::size_t>(newRaw), '\0');
      out.AppendOwned(std::move(section));
      initializedDelta = static_cast<std::int64_t>(newRaw) - s.sizeOfRawData;
      if (placement == Placement::kMoveReloc) {
        PeSection& r = sections[static_cast<std::size_t>(reloc)];
        const std::uint64_t newPointer = out.Size();
        const std::uint64_t newAddress = AlignUp(s.virtualAddress + newSize, sectionAlignment);
        if (newAddress + ExtentOf(r) > 0xFFFFFFFFu) {
          return fail(kErrorBadHeaders, "the relocations would move beyond 4 GB");
        }
        out.AppendView(
            view(r.pointerToRawData, r.pointerToRawData + std::uint64_t{r.sizeOfRawData}));
        fileMoves.push_back({r.pointerToRawData,
                             r.pointerToRawData + std::uint64_t{r.sizeOfRawData},
                             static_cast<std::int64_t>(newPointer) - r.pointerToRawData});
        addressMoves.push_back({r.virtualAddress, r.virtualAddress + ExtentOf(r),
                                static_cast<std::int64_t>(newAddress) - r.virtualAddress});
        r.pointerToRawData = static_cast<std::uint32_t>(newPointer);
        r.virtualAddress = static_cast<std::uint32_t>(newAddress);
      }
      s.sizeOfRawData = static_cast<std::uint32_t>(newRaw);
      s.virtualSize = static_cast<std::uint32_t>(newSize);
      appendOverlay(out, fileMoves);
      break;
    }
    case Placement::kAppend: {
      const std::uint64_t tableEnd = h.sectionTableOffset + kSectionHeaderSize * count;
      std::uint64_t firstData = h.sizeOfHeaders;
      for (const PeSection& s : sections) {
        if (s.sizeOfRawData > 0) firstData = std::min<std::uint64_t>(firstData, s.pointerToRawData);
      }
      const bool room =
          tableEnd + kSectionHeaderSize <= firstData &&
          tableEnd + kSectionHeaderSize <= in.size() &&
          std::all_of(in.begin() + static_cast<std::ptrdiff_t>(tableEnd),
                      in.begin() + static_cast<std::ptrdiff_t>(tableEnd + kSectionHeaderSize),
                      [](char c) { return c == '\0'; });
      if (!room) return fail(kErrorNoHeaderRoom, "no room in the headers for a new section");
      PeSection added;
      bool nameTaken = false;
      for (const PeSection& s : sections) nameTaken = nameTaken || s.name == ".rsrc";
      added.name = nameTaken ? ".rsrc1" : ".rsrc";
      const std::uint64_t address = AlignUp(virtualEnd, sectionAlignment);
      if (address + newRaw > 0xFFFFFFFFu || AlignUp(rawEnd, fileAlignment) + newRaw > 0xFFFFFFFFu) {
        return fail(kErrorBadHeaders, "a new section would lie beyond 4 GB");
      }
      added.virtualAddress = static_cast<std::uint32_t>(address);
      added.virtualSize = static_cast<std::uint32_t>(newSize);
      added.sizeOfRawData = static_cast<std::uint32_t>(newRaw);
      added.pointerToRawData = static_cast<std::uint32_t>(AlignUp(rawEnd, fileAlignment));
      added.characteristics = kInitializedData | kMemRead;
      sectionRva = added.virtualAddress;
      out.AppendView(view(0, rawEnd));
      out.AppendZeros(added.pointerToRawData - rawEnd);
      serialized.Relocate(sectionRva);
      section.resize(static_cast<std::size_t>(newRaw), '\0');
      out.AppendOwned(std::move(section));
      initializedDelta = static_cast<std::int64_t>(newRaw);
      sections.push_back(added);
      sectionIndex = sections.size() - 1;
      appendOverlay(out, fileMoves);
      break;
    }
  }

  for (const PeSection& s : sections) {
    if (std::uint64_t{s.virtualAddress} + s.virtualSize > 0xFFFFFFFFu ||
        std::uint64_t{s.pointerToRawData} + s.sizeOfRawData > 0xFFFFFFFFu) {
      return fail(kErrorBadHeaders, "the rebuilt module would exceed 4 GB");
    }
  }

  // Headers.
  const std::uint64_t coff = h.coffOffset;
  out.StoreU16(static_cast<std::size_t>(coff + 2), static_cast<std::uint16_t>(sections.size()));
  if (h.pointerToSymbolTable != 0) {
    out.StoreU32(static_cast<std::size_t>(coff + 8),
                 static_cast<std::uint32_t>(Shift(h.pointerToSymbolTable, fileMoves)));
  }
  std::uint64_t imageEnd = 0;
  for (std::size_t i = 0; i < sections.size(); ++i) {
    const PeSection& s = sections[i];
    const std::size_t at = static_cast<std::size_t>(h.sectionTableOffset + kSectionHeaderSize * i);
    // Only what changed is written: a malformed table may share its bytes
    // with section data.
    const bool isNew = i >= count;
    if (isNew) {
      std::string name = s.name;
      name.resize(8, '\0');
      out.Store(at, name.data(), name.size());
      out.StoreU32(at + 36, s.characteristics);
    }
    const PeSection* old = isNew ? nullptr : &h.sections[i];
    if (!old || old->virtualSize != s.virtualSize) out.StoreU32(at + 8, s.virtualSize);
    if (!old || old->virtualAddress != s.virtualAddress) out.StoreU32(at + 12, s.virtualAddress);
    if (!old || old->sizeOfRawData != s.sizeOfRawData) out.StoreU32(at + 16, s.sizeOfRawData);
    if (!old || old->pointerToRawData != s.pointerToRawData)
      out.StoreU32(at + 20, s.pointerToRawData);
    imageEnd = std::max(
        imageEnd, s.virtualAddress +
                      AlignUp(s.virtualSize ? s.virtualSize : s.sizeOfRawData, sectionAlignment));
  }
  const std::size_t optional = static_cast<std::size_t>(h.optionalOffset);
  out.StoreU32(optional + PeHeaders::kSizeOfImage,
               static_cast<std::uint32_t>(AlignUp(imageEnd, sectionAlignment)));
  if (sections[sectionIndex].characteristics & kInitializedData) {
    out.StoreU32(optional + PeHeaders::kSizeOfInitializedData,
                 static_cast<std::uint32_t>(static_cast<std::int64_t>(h.sizeOfInitializedData) +
                                            initializedDelta));
  }
  for (std::size_t d = 0; d < h.directories.size(); ++d) {
    const std::size_t at = static_cast<std::size_t>(h.dataDirectoryOffset + 8 * d);
    if (d == kDirResource) {
      out.StoreU32(at, sectionRva);
      out.StoreU32(at + 4, static_cast<std::uint32_t>(newSize));
    } else if (d == kDirSecurity) {
      if (h.directories[d].size != 0) {
        out.StoreU32(at, 0);
        out.StoreU32(at + 4, 0);
      }
    } else if (h.directories[d].rva != 0) {
      out.StoreU32(at, static_cast<std::uint32_t>(Shift(h.directories[d].rva, addressMoves)));
    }
  }
  // Debug data found by file offset moves with the bytes it points at.
  if (h.directories.size() > kDirDebug && h.directories[kDirDebug].rva != 0 && !fileMoves.empty()) {
    const DataDirectory debug = h.directories[kDirDebug];
    std::uint64_t at = 0;
    if (image_.FileOffsetOf(debug.rva, debug.size, at)) {
      at = Shift(at, fileMoves);
      for (std::uint64_t e = 0; e + kDebugEntrySize <= debug.size; e += kDebugEntrySize) {
        const std::size_t entry = static_cast<std::size_t>(at + e);
        if (entry + kDebugEntrySize > out.Size()) break;
        const std::uint32_t address = out.LoadU32(entry + 20);
        const std::uint32_t pointer = out.LoadU32(entry + 24);
        if (address)
          out.StoreU32(entry + 20, static_cast<std::uint32_t>(Shift(address, addressMoves)));
        if (pointer)
          out.StoreU32(entry + 24, static_cast<std::uint32_t>(Shift(pointer, fileMoves)));
      }
    }
  }
  if (h.checkSum != 0) {
    const std::size_t at = optional + static_cast<std::size_t>(PeHeaders::kCheckSum);
    out.StoreU32(at, out.Checksum(at));
  }
  return {};
}

Status ResourceUpdate::Build(std::string& out) const {
  PieceImage image;
  Status status = Assemble(image);
  if (status) out = image.Flatten();
  return status;
}

Status ResourceUpdate::Commit(const std::string& target, mode_t mode) const {
  PieceImage image;
  Status status = Assemble(image);
  if (!status) return status;
  AtomicFileWriter writer;
  int error = writer.Open(target);
  if (error == 0) error = writer.SetMode(mode);
  if (error == 0) error = image.WriteTo(writer);
  // A module can be generated again: no need to wait for the disk.
  if (error == 0) error = writer.Commit(false);
  if (error != 0) return Status::Fail(error, "cannot write " + target);
  return {};
}

}  // namespace ulk
