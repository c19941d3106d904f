// Rebuilding the resource section of a module.
// Ref: Microsoft, "PE Format", "The .rsrc Section".
#include "platform/resource_update.h"

#include <pthread.h>
#include <sched.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <new>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "platform/byte_stream.h"
#include "platform/files.h"
#include "platform/piece_image.h"
#include "platform/section_layout.h"
#include "platform/system_error.h"

namespace ulk {
namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
// Below this many bytes to rebuild, a second thread costs more than it saves.
constexpr std::size_t kShareFrom = 256 * 1024;

// The datums still to build, claimed one at a time: one thread takes them
// from the front, the other from the back, until the two meet.
class alignas(64) DatumClaims {
 public:
  explicit DatumClaims(std::size_t count) : range_(std::uint64_t{count} << 32) {}
  bool TakeFront(std::size_t& datum) {
    std::uint64_t range = range_.load();
    do {
      if (Front(range) >= Back(range)) return false;
    } while (!range_.compare_exchange_weak(range, range + 1));
    datum = Front(range);
    return true;
  }
  bool TakeBack(std::size_t& datum) {
    std::uint64_t range = range_.load();
    do {
      if (Front(range) >= Back(range)) return false;
    } while (!range_.compare_exchange_weak(range, range - (std::uint64_t{1} << 32)));
    datum = Back(range) - 1;
    return true;
  }
  // After a failure: nothing more is taken.
  void Stop() { range_.store(0); }

 private:
  static std::size_t Front(std::uint64_t range) { return range & 0xFFFFFFFFu; }
  static std::size_t Back(std::uint64_t range) { return range >> 32; }
  std::atomic<std::uint64_t> range_;
};

// The processors this process may run on other than the one it runs on
// now; none when there are no others. A new thread tends to start on the
// processor of the thread that made it, and to wait there until that one
// yields, the others idle meanwhile: it is sent to these.
std::optional<cpu_set_t> OtherProcessors() {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0 || CPU_COUNT(&allowed) < 2) {
    return std::nullopt;
  }
  const int current = ::sched_getcpu();
  if (current >= 0) CPU_CLR(static_cast<std::size_t>(current), &allowed);
  return allowed;
}

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
  if (Status status = AppendData(datums, workers_, out, placed); !status) return status;
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

Status ResourceUpdate::AppendData(const std::vector<const Language*>& datums, std::size_t workers,
                                  std::string& out,
                                  std::vector<std::pair<std::size_t, std::size_t>>& placed) {
  std::size_t toBuild = 0;
  for (const Language* l : datums) toBuild += l->build ? l->sizeHint : 0;
  DatumClaims claims(datums.size());
  // A large rebuild is shared with a second thread, which takes datums from
  // the back into a buffer of its own while this one takes them from the
  // front, straight into the section.
  struct Taken {
    std::size_t datum = 0;
    std::size_t at = 0;
    std::size_t size = 0;
  };
  std::string theirs;
  std::vector<Taken> theirsTaken;
  Status theirStatus;
  std::jthread other;
  const std::optional<cpu_set_t> others =
      workers > 1 && toBuild >= kShareFrom ? OtherProcessors() : std::nullopt;
  if (others) {
    // Reserved from here, so that the other thread need not grow it: its
    // share, at most half of the guess, which is about twice the bytes.
    theirs.reserve(toBuild / 2);
    try {
      other = std::jthread([&] {
        // Worked on where only this thread writes: the objects shared with
        // the other lie beside what it writes as it goes.
        std::string bytes = std::move(theirs);
        std::vector<Taken> taken;
        Status status;
        // Nothing may leave this thread: running out of memory here fails
        // the write as it would on the first one.
        try {
          taken.reserve(datums.size());
          std::size_t k = 0;
          while (status && claims.TakeBack(k)) {
            const std::size_t at = bytes.size();
            status = AppendDatum(*datums[k], 1, bytes);
            taken.push_back({k, at, bytes.size() - at});
          }
        } catch (const std::bad_alloc&) {
          status = OutOfMemory();
        } catch (const std::length_error&) {
          status = OutOfMemory();
        }
        if (!status) claims.Stop();
        theirs = std::move(bytes);
        theirsTaken = std::move(taken);
        theirStatus = std::move(status);
      });
      ::pthread_setaffinity_np(other.native_handle(), sizeof *others, &*others);
    } catch (const std::system_error&) {
      // No thread to be had: this one builds every datum.
    }
  }
  Status status;
  try {
    placed.assign(datums.size(), {0, 0});
    std::size_t k = 0;
    while (status && claims.TakeFront(k)) {
      out.resize(static_cast<std::size_t>(AlignUp(out.size(), 4)), '\0');
      const std::size_t at = out.size();
      status = AppendDatum(*datums[k], 0, out);
      placed[k] = {at, out.size() - at};
    }
  } catch (const std::bad_alloc&) {
    status = OutOfMemory();  // the other thread is stopped and joined first
  } catch (const std::length_error&) {
    status = OutOfMemory();
  }
  if (!status) claims.Stop();
  if (other.joinable()) other.join();
  // The earlier datum's failure first.
  if (!status) return status;
  if (!theirStatus) return theirStatus;
  for (auto taken = theirsTaken.rbegin(); taken != theirsTaken.rend(); ++taken) {
    out.resize(static_cast<std::size_t>(AlignUp(out.size(), 4)), '\0');
    const std::size_t at = out.size();
    out.append(theirs, taken->at, taken->size);
    placed[taken->datum] = {at, taken->size};
  }
  return {};
}

Status ResourceUpdate::AppendDatum(const Language& datum, std::size_t worker, std::string& out) {
  if (!datum.build) {
    out += datum.Bytes();
    return {};
  }
  // Nothing may leave the second thread: running out of memory there fails
  // the write as it would here.
  try {
    return datum.build(out, worker);
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  }
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
  return Guarded([&] {
    PieceImage image;
    Status status = Assemble(image);
    if (!status) return status;
    // A failure below, running out of memory included, leaves no file: the
    // writer drops its temporary file when it goes.
    AtomicFileWriter writer;
    int error = writer.Open(target, mode);
    if (error == 0) error = image.WriteTo(writer);
    // A module can be generated again: no need to wait for the disk.
    if (error == 0) error = writer.Commit(false);
    if (error != 0) return Status::Fail(error, "cannot write " + target);
    return Status();
  });
}

}  // namespace ulk
