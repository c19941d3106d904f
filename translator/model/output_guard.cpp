// The checks a generation makes before it writes an output.
#include "translator/model/output_guard.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/byte_stream.h"
#include "platform/system_error.h"
#include "platform/text.h"

namespace ulk {

// The name two spellings of one path share: links in its existing folders
// resolved, ".." taken out, letters in capitals (as the module's own check
// compares them). Each folder is resolved once: a project's outputs and
// modules lie in a few.
std::string OutputGuard::NameKey(const std::string& path) const {
  namespace fs = std::filesystem;
  const fs::path normal = fs::path(path).lexically_normal();
  const std::string folder = normal.parent_path().string();
  auto [resolved, added] = folders_.try_emplace(folder);
  if (added) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(folder, error);
    resolved->second = error ? folder : real.string();
  }
  return ToUpperUtf8((fs::path(resolved->second) / normal.filename()).string());
}

OutputGuard::OutputGuard(const Project& project) : project_(project) {
  if (!project.filePath.empty()) Add(project.filePath, {});
  for (const Module& module : project.modules) {
    Add(project.ResolvePath(module.path), {&module, nullptr});
    for (const ModuleLanguage& language : module.languages) {
      if (!language.isDefault && !language.outputFile.empty()) {
        Add(PathOf(language), {&module, &language});
      }
    }
  }
}

std::string OutputGuard::PathOf(const ModuleLanguage& target) const {
  return project_.ResolvePath(target.outputFile);
}

void OutputGuard::Add(const std::string& path, Owner owner) {
  byName_.emplace(NameKey(path), owner);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0)
    byFile_.emplace(std::make_pair(info.st_dev, info.st_ino), owner);
}

std::vector<OutputGuard::Owner> OutputGuard::OwnersOf(const std::string& path) const {
  std::vector<Owner> owners;
  const auto [first, last] = byName_.equal_range(NameKey(path));
  for (auto it = first; it != last; ++it) owners.push_back(it->second);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    const auto [from, to] = byFile_.equal_range({info.st_dev, info.st_ino});
    for (auto it = from; it != to; ++it) owners.push_back(it->second);
  }
  return owners;
}

int OutputGuard::Check(const Module& module, const ModuleLanguage& target) const {
  int refusal = 0;
  for (const Owner& owner : OwnersOf(PathOf(target))) {
    int code = 0;
    if (!owner.module) {
      code = kErrorOutputIsProject;
    } else if (!owner.language) {
      code = owner.module == &module ? kErrorSameFile : kErrorOutputIsModule;
    } else if (owner.language != &target) {
      code = kErrorOutputShared;
    }
    // The project file and the modules weigh more than another output.
    if (code != 0 && (refusal == 0 || refusal == kErrorOutputShared)) refusal = code;
  }
  return refusal;
}

bool LooksLikeModuleFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  std::string head(4096, '\0');
  ssize_t got = -1;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
    got = ::pread(fd, head.data(), head.size(), 0);
  ::close(fd);
  if (got <= 0) return false;
  head.resize(static_cast<std::size_t>(got));
  ByteReader reader(head);
  std::uint16_t mz = 0;
  std::uint32_t peOffset = 0;
  std::uint32_t signature = 0;
  std::uint16_t magic = 0;
  if (!reader.U16(mz) || mz != 0x5A4D || !reader.Seek(0x3C) || !reader.U32(peOffset)) return false;
  // Signature, file header (20 bytes), then the optional header's magic.
  if (!reader.Seek(peOffset) || !reader.U32(signature) || signature != 0x00004550) return false;
  if (!reader.Skip(20) || !reader.U16(magic)) return false;
  return magic == 0x10b || magic == 0x20b;
}

}  // namespace ulk
