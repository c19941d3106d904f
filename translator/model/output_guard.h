// What a generation may write: each target language's output, resolved
// against the project's folder, and never a file the project needs (its own
// file, one of its modules) nor one that another language or module writes
// too.
#pragma once

#include <sys/types.h>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "translator/model/project.h"

namespace ulk {

class OutputGuard {
 public:
  // Looks at every path of the project once; the project must outlive the
  // guard and not change while it is used.
  explicit OutputGuard(const Project& project);

  // Where `target` is written: its output path, absolute.
  std::string PathOf(const ModuleLanguage& target) const;
  // 0, or the own error code (system_error.h) that refuses writing `target`
  // of `module`: kErrorOutputIsProject, kErrorSameFile (the module itself),
  // kErrorOutputIsModule, kErrorOutputShared. Paths are the same file when
  // they name one file through links, "..", hard links or letter case.
  int Check(const Module& module, const ModuleLanguage& target) const;

 private:
  struct Owner {
    const Module* module = nullptr;            // null: the project file
    const ModuleLanguage* language = nullptr;  // null: the module file
  };
  void Add(const std::string& path, Owner owner);
  // The owners of what `path` names.
  std::vector<Owner> OwnersOf(const std::string& path) const;
  std::string NameKey(const std::string& path) const;

  const Project& project_;
  std::unordered_multimap<std::string, Owner> byName_;
  std::multimap<std::pair<dev_t, ino_t>, Owner> byFile_;
  // Folders as written -> resolved.
  mutable std::unordered_map<std::string, std::string> folders_;
};

// Whether the file at `path` begins as a Windows module does (the MZ and PE
// signatures and a known optional header): one that may be replaced by a
// generation without asking. False for a file that cannot be read.
bool LooksLikeModuleFile(const std::string& path);

}  // namespace ulk
