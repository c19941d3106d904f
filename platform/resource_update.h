// The resource update of a module file: the module's resource tree loaded
// in memory, resources added, replaced and deleted by (type, name,
// language), and the module written again with a rebuilt resource section
// (placed as section_layout.h says).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/pe_image.h"
#include "platform/status.h"

namespace ulk {

class ResourceUpdate {
 public:
  // Starts from the resources of `image`, which must stay open until the
  // update is committed or dropped. Nothing here throws: memory that runs
  // out, here or in any change, fails the Build or Commit that follows
  // (ENOMEM).
  explicit ResourceUpdate(const ModuleImage& image);

  // Adds or replaces a resource. Names are kept upper-cased, as the module
  // format looks them up.
  void Put(const ResourceId& type, const ResourceId& name, std::uint16_t language,
           std::string bytes);
  // A resource whose bytes are made as the section is written: `build`
  // appends them to `out` (and must touch nothing before them), so that they
  // pass through no buffer of their own. A build that fails fails the write
  // with its status. `sizeHint` guesses their size.
  using Builder = std::function<Status(std::string& out)>;
  void PutBuilt(const ResourceId& type, const ResourceId& name, std::uint16_t language,
                Builder build, std::size_t sizeHint);
  // Removes a resource; false when the tree holds no such resource.
  bool Delete(const ResourceId& type, const ResourceId& name, std::uint16_t language);
  bool Has(const ResourceId& type, const ResourceId& name, std::uint16_t language) const;

  // The whole module with the rebuilt resource section.
  Status Build(std::string& out) const;
  // Build, then write to `target` through a temporary file renamed into
  // place (a failure leaves no partial file). `mode` gives the permission
  // bits of the new file.
  Status Commit(const std::string& target, mode_t mode) const;
  // Commit up to the rename: the new file complete in `writer`, which the
  // caller commits (or drops).
  Status Prepare(const std::string& target, mode_t mode, AtomicFileWriter& writer) const;

 private:
  struct Language {
    std::uint16_t id = 0;
    std::uint32_t codePage = 0;
    std::string owned;
    std::string_view bytes;  // into `owned` or into the image
    bool isOwned = false;
    Builder build;  // when set, the bytes are made as the section is written
    std::size_t sizeHint = 0;
    std::string_view Bytes() const { return isOwned ? std::string_view(owned) : bytes; }
  };
  struct Name {
    ResourceId id;
    std::vector<Language> languages;
  };
  struct Type {
    ResourceId id;
    std::vector<Name> names;
  };

  // The section's bytes, data addresses relative to its start.
  struct SerializedSection {
    std::string bytes;
    std::size_t entriesStart = 0;
    std::size_t entryCount = 0;
  };
  Status SerializeSection(SerializedSection& section) const;
  // Appends the data of `datums` to `out`, each 4-byte aligned, noting
  // where each lands (offset, size) in `placed`.
  static Status AppendData(const std::vector<const Language*>& datums, std::string& out,
                           std::vector<std::pair<std::size_t, std::size_t>>& placed);
  Language& Slot(const ResourceId& type, const ResourceId& name, std::uint16_t language);
  // The module with the rebuilt section, as pieces of the source's bytes
  // and of its own.
  Status Assemble(class PieceImage& out) const;
  // Runs a write; a change that ran out of memory, or memory that runs out
  // now, fails it with ENOMEM.
  template <typename Step>
  Status Guarded(Step step) const;

  const ModuleImage& image_;
  std::vector<Type> types_;
  // Where the last resource put went (Slot).
  std::size_t hintType_ = 0;
  std::size_t hintName_ = 0;
  Status failed_;  // a change that found no memory
};

// Upper-cases a resource name as the module format compares names.
ResourceId NormalisedResourceId(const ResourceId& id);

}  // namespace ulk
