// Rebuilding the resource section of a module.
// Ref: Microsoft, "PE Format", "The .rsrc Section".
#include "platform/resource_update.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/piece_image.h"
#include "platform/section_layout.h"
#include "platform/system_error.h"

namespace ulk {
namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
Status OutOfMemory() {
  return Status::Fail(ENOMEM, "out of memory");  // short enough to need no memory of its own
}

char16_t UpperUnit(char16_t unit) {
  if (unit < 0x80) {
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
  }
  if (unit >= 0xD800 && unit <= 0xDFFF) return unit;
  return static_cast<char16_t>(u_toupper(unit));
}

// Whether `id` names the tree's `key` (already upper-cased), without a copy
// of its own: looking a resource up takes no memory.
bool Names(const ResourceId& key, const ResourceId& id) {
  if (key.named != id.named) return false;
  if (!key.named) return key.number == id.number;
  if (key.name.size() != id.name.size()) return false;
  for (std::size_t i = 0; i < key.name.size(); ++i) {
    if (key.name[i] != UpperUnit(id.name[i])) return false;
  }
  return true;
}

// Named entries first, by code unit; then numbers ascending.
bool IdLess(const ResourceId& a, const ResourceId& b) {
  if (a.named != b.named) return a.named;
  if (a.named) return a.name < b.name;
  return a.number < b.number;
}

}  // namespace

ResourceId NormalisedResourceId(const ResourceId& id) {
  if (!id.named) return id;
  std::u16string upper = id.name;
  for (char16_t& unit : upper) unit = UpperUnit(unit);
  return ResourceId::Name(std::move(upper));
}

ResourceUpdate::ResourceUpdate(const ModuleImage& image) : image_(image) {
  try {
    for (const auto& type : image.Resources()) {
      Type t{NormalisedResourceId(type.id), {}};
      t.names.reserve(type.names.size());
      for (const auto& name : type.names) {
        Name n{NormalisedResourceId(name.id), {}};
        n.languages.reserve(name.languages.size());
        for (const auto& data : name.languages) {
          n.languages.push_back(
              Language{data.language, data.codePage, {}, data.bytes, false, {}, 0});
        }
        t.names.push_back(std::move(n));
      }
      types_.push_back(std::move(t));
    }
  } catch (const std::bad_alloc&) {
    failed_ = OutOfMemory();
  }
}

ResourceUpdate::Language& ResourceUpdate::Slot(const ResourceId& typeId, const ResourceId& nameId,
                                               std::uint16_t language) {
  // Resources are mostly replaced in the tree's own order: the name after
  // the last one replaced is tried first.
  Type* type = nullptr;
  Name* name = nullptr;
  if (hintType_ < types_.size() && Names(types_[hintType_].id, typeId)) {
    type = &types_[hintType_];
    for (const std::size_t n : {hintName_ + 1, hintName_}) {
      if (n < type->names.size() && Names(type->names[n].id, nameId)) {
        name = &type->names[n];
        hintName_ = n;
        break;
      }
    }
  }
  if (!type) {
    auto found = std::find_if(types_.begin(), types_.end(),
                              [&](const Type& t) { return Names(t.id, typeId); });
    if (found == types_.end()) {
      types_.push_back(Type{NormalisedResourceId(typeId), {}});
      found = std::prev(types_.end());
    }
    type = &*found;
    hintType_ = static_cast<std::size_t>(found - types_.begin());
  }
  if (!name) {
    auto found = std::find_if(type->names.begin(), type->names.end(),
                              [&](const Name& n) { return Names(n.id, nameId); });
    if (found == type->names.end()) {
      type->names.push_back(Name{NormalisedResourceId(nameId), {}});
      found = std::prev(type->names.end());
    }
    name = &*found;
    hintName_ = static_cast<std::size_t>(found - type->names.begin());
  }
  for (Language& entry : name->languages) {
    if (entry.id == language) return entry;
  }
  name->languages.push_back(Language{language, 0, {}, {}, false, {}, 0});
  return name->languages.back();
}

void ResourceUpdate::Put(const ResourceId& typeId, const ResourceId& nameId, std::uint16_t language,
                         std::string bytes) {
  try {
    Language& entry = Slot(typeId, nameId, language);
    entry.owned = std::move(bytes);
    entry.isOwned = true;
    entry.build = nullptr;
  } catch (const std::bad_alloc&) {
    failed_ = OutOfMemory();
  }
}

void ResourceUpdate::PutBuilt(const ResourceId& typeId, const ResourceId& nameId,
                              std::uint16_t language, Builder build, std::size_t sizeHint) {
  try {
    Language& entry = Slot(typeId, nameId, language);
    entry.owned.clear();
    entry.isOwned = false;
    entry.bytes = {};
    entry.build = std::move(build);
    entry.sizeHint = sizeHint;
  } catch (const std::bad_alloc&) {
    failed_ = OutOfMemory();
  }
}

bool ResourceUpdate::Delete(const ResourceId& typeId, const ResourceId& nameId,
                            std::uint16_t language) {
  for (auto type = types_.begin(); type != types_.end(); ++type) {
    if (!Names(type->id, typeId)) continue;
    for (auto name = type->names.begin(); name != type->names.end(); ++name) {
      if (!Names(name->id, nameId)) continue;
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
  for (const Type& type : types_) {
    if (!Names(type.id, typeId)) continue;
    for (const Name& name : type.names) {
      if (!Names(name.id, nameId)) continue;
      for (const Language& entry : name.languages) {
        if (entry.id == language) return true;
      }
    }
  }
  return false;
}

Status ResourceUpdate::SerializeSection(SerializedSection& section) const {
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
  ByteWriter strings;
  // The data goes straight into the section once its head is written, in
  // the order of the data entries, which are filled in as it goes.
  std::vector<const Language*> datums;
  datums.reserve(languageCount);
  std::size_t dataGuess = 0;
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
        datums.push_back(l);
        dataGuess += 4 + (l->build ? l->sizeHint : l->Bytes().size());
      }
    }
  }
  std::string out = dirs.Take();
  out.reserve(dataStart + dataGuess + 4);
  out.resize(stringsStart, '\0');  // the data entries
  out += strings.Data();
  out.resize(dataStart, '\0');
  std::vector<std::pair<std::size_t, std::size_t>> placed;  // (offset, size) by datum
  if (Status status = AppendData(datums, out, placed); !status) return status;
  std::size_t lastDatumAt = 0;
  for (std::size_t k = 0; k < datums.size(); ++k) {
    const std::size_t entry = entriesStart + 16 * k;
    lastDatumAt = placed[k].first;
    StoreU32(out, entry, static_cast<std::uint32_t>(placed[k].first));
    StoreU32(out, entry + 4, static_cast<std::uint32_t>(placed[k].second));
    StoreU32(out, entry + 8, datums[k]->codePage);
  }
  // An empty datum at the very end would have the address just past the
  // section, which lies in no section once the section is sized to fit, and
  // a reader that looks addresses up in the section table (ours too) refuses
  // it. The section keeps one more word then.
  out.resize(static_cast<std::size_t>(AlignUp(std::max(out.size(), lastDatumAt + 1), 4)), '\0');
  section = {std::move(out), entriesStart, languageCount};
  return {};
}

Status ResourceUpdate::AppendData(const std::vector<const Language*>& datums, std::string& out,
                                  std::vector<std::pair<std::size_t, std::size_t>>& placed) {
  placed.assign(datums.size(), {0, 0});
  for (std::size_t k = 0; k < datums.size(); ++k) {
    out.resize(static_cast<std::size_t>(AlignUp(out.size(), 4)), '\0');
    const std::size_t at = out.size();
    const Language& datum = *datums[k];
    if (datum.build) {
      if (Status status = datum.build(out); !status) return status;
    } else {
      out += datum.Bytes();
    }
    placed[k] = {at, out.size() - at};
  }
  return {};
}

Status ResourceUpdate::Assemble(PieceImage& out) const {
  SerializedSection serialized;
  if (Status status = SerializeSection(serialized); !status) return status;
  SectionLayout layout(image_);
  return layout.Assemble(
      {std::move(serialized.bytes), serialized.entriesStart, serialized.entryCount}, out);
}

template <typename Step>
Status ResourceUpdate::Guarded(Step step) const {
  if (!failed_) return failed_;
  // A module whose tree, names or sizes cost more memory than there is
  // fails its write; nothing else is affected.
  try {
    return step();
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return OutOfMemory();
}

Status ResourceUpdate::Build(std::string& out) const {
  return Guarded([&] {
    PieceImage image;
    if (Status status = Assemble(image); !status) return status;
    std::optional<std::string> whole = image.Flatten();
    if (!whole) return Status::Fail(EIO, "cannot read " + image_.Path());
    out = std::move(*whole);
    return Status();
  });
}

Status ResourceUpdate::Commit(const std::string& target, mode_t mode) const {
  AtomicFileWriter writer;
  if (Status status = Prepare(target, mode, writer); !status) return status;
  // A module can be generated again: no need to wait for the disk.
  const int error = writer.Commit(false);
  if (error == ENOMEM) return OutOfMemory();
  if (error != 0) return Guarded([&] { return Status::Fail(error, "cannot write " + target); });
  return {};
}

Status ResourceUpdate::Prepare(const std::string& target, mode_t mode,
                               AtomicFileWriter& writer) const {
  return Guarded([&] {
    PieceImage image;
    Status status = Assemble(image);
    if (!status) return status;
    // A failure below, running out of memory included, leaves no file: the
    // writer drops its temporary file when it goes.
    int error = writer.Open(target, mode);
    if (error == 0) error = image.WriteTo(writer);
    if (error != 0) {
      writer.Abandon();
      return Status::Fail(error, "cannot write " + target);
    }
    return Status();
  });
}

}  // namespace ulk
