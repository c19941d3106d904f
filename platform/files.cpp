// Canonical paths, whole-file reads and atomic writes.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/system_error.h"
#include "platform/text.h"

namespace ulk {
namespace fs = std::filesystem;

namespace {

mode_t CurrentUmask() {
  static const mode_t mask = [] {
    // Read where the kernel tells it: setting it to learn it would change
    // it for a moment for every thread of the program.
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
      char line[256];
      unsigned value = 0;
      bool found = false;
      while (!found && std::fgets(line, sizeof line, status)) {
        found = std::sscanf(line, "Umask: %o", &value) == 1;
      }
      std::fclose(status);
      if (found) return static_cast<mode_t>(value & 0777);
    }
    const mode_t m = umask(022);
    umask(m);
    return m;
  }();
  return mask;
}

// Replaces the trailing "XXXXXX" of a name pattern with random letters.
void FillRandomTail(std::string& pattern) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char bytes[6] = {};
  if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    const auto seed =
        static_cast<std::uint64_t>(::getpid()) ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (std::size_t i = 0; i < sizeof bytes; ++i)
      bytes[i] = static_cast<unsigned char>(seed >> (8 * i));
  }
  const std::size_t start = pattern.size() - sizeof bytes;
  for (std::size_t i = 0; i < sizeof bytes; ++i) {
    pattern[start + i] = kLetters[bytes[i] % (sizeof kLetters - 1)];
  }
}

std::string::size_type LastSeparator(std::string_view path) {
  return path.find_last_of("/\\");
}

// The canonical form of an existing path, folder or not (wantFolder: only
// a folder; else only what is not one).
std::optional<std::string> Resolve(const std::string& path, bool wantFolder) {
  // The kernel names an open file with every link resolved: one look at
  // the file instead of one per folder of its path.
  const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  const bool isFolder = ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode);
  char named[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length =
      isFolder != wantFolder ? -1 : ::readlink(link.c_str(), named, sizeof named);
  ::close(fd);
  if (isFolder != wantFolder) return std::nullopt;
  if (length > 0 && static_cast<std::size_t>(length) < sizeof named && named[0] == '/') {
    return std::string(named, static_cast<std::size_t>(length));
  }
  std::error_code error;
  const fs::path real = fs::canonical(fs::path(path), error);
  if (error) return std::nullopt;
  if (fs::is_directory(real, error) != wantFolder || error) return std::nullopt;
  return real.string();
}

}  // namespace

std::optional<std::string> CanonicalPath(std::string_view path) {
  const std::string trimmed = Trim(path);
  if (trimmed.empty()) return std::nullopt;
  return Resolve(trimmed, false);
}

std::optional<std::string> CanonicalPaths::Of(std::string_view path) {
  const std::string_view trimmed = TrimView(path);
  const auto slash = trimmed.rfind('/');
  const std::string_view name =
      slash == std::string_view::npos ? std::string_view() : trimmed.substr(slash + 1);
  if (name.empty() || name == "." || name == "..") return CanonicalPath(trimmed);
  const std::string_view folder = slash == 0 ? trimmed.substr(0, 1) : trimmed.substr(0, slash);
  if (folder != folder_) {
    folder_.assign(folder);
    canonical_ = Resolve(folder_, true).value_or(std::string());
  }
  if (canonical_.empty()) return CanonicalPath(trimmed);
  const std::string file(trimmed);
  struct stat info {};
  if (::lstat(file.c_str(), &info) != 0) return std::nullopt;
  // A link is resolved on its own.
  if (S_ISLNK(info.st_mode)) return CanonicalPath(trimmed);
  if (S_ISDIR(info.st_mode)) return std::nullopt;
  std::string canonical = canonical_;
  if (canonical.back() != '/') canonical.push_back('/');
  canonical.append(name);
  return canonical;
}

int ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  // Not blocking: a pipe with no writer would hold the open for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat info {};
  int error = ::fstat(fd, &info) == 0 ? 0 : errno;
  if (error == 0 && S_ISDIR(info.st_mode)) error = EISDIR;
  // A device or a pipe is nobody's document, and may never end.
  if (error == 0 && !S_ISREG(info.st_mode)) error = kErrorNotAFile;
  if (error == 0 && static_cast<std::uint64_t>(info.st_size) > kMaxWholeFileSize) {
    error = kErrorFileTooLarge;
  }
  if (error == 0 && ::fcntl(fd, F_SETFL, 0) != 0) error = errno;
  if (error != 0) {
    ::close(fd);
    return error;
  }
  try {
    out.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    while (true) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        error = errno;
        break;
      }
      if (got == 0) break;
      // The file may grow while it is read.
      if (out.size() + static_cast<std::size_t>(got) > kMaxWholeFileSize) {
        error = kErrorFileTooLarge;
        break;
      }
      out.append(buffer, static_cast<std::size_t>(got));
    }
  } catch (const std::bad_alloc&) {
    error = ENOMEM;
  }
  ::close(fd);
  if (error != 0) out.clear();
  return error;
}

std::string_view FileNameOf(std::string_view path) {
  const auto at = LastSeparator(path);
  return at == std::string_view::npos ? path : path.substr(at + 1);
}

std::string_view FolderOf(std::string_view path) {
  const auto at = LastSeparator(path);
  return at == std::string_view::npos ? path : path.substr(0, at);
}

unsigned ModeForCopy(unsigned mode) {
  return mode & 0777 & ~static_cast<unsigned>(CurrentUmask());
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

AtomicFileWriter::~AtomicFileWriter() {
  Abandon();
}

AtomicFileWriter::AtomicFileWriter(AtomicFileWriter&& other) noexcept {
  *this = std::move(other);
}

AtomicFileWriter& AtomicFileWriter::operator=(AtomicFileWriter&& other) noexcept {
  if (this == &other) return *this;
  Abandon();
  target_ = std::move(other.target_);
  folder_ = std::move(other.folder_);
  tempPath_ = std::move(other.tempPath_);
  fd_ = other.fd_;
  other.fd_ = -1;
  other.target_.clear();
  other.folder_.clear();
  other.tempPath_.clear();
  return *this;
}

int AtomicFileWriter::Open(const std::string& target) {
  return OpenWithMode(target, std::nullopt);
}

int AtomicFileWriter::Open(const std::string& target, unsigned mode) {
  return OpenWithMode(target, mode);
}

int AtomicFileWriter::OpenWithMode(const std::string& target, std::optional<unsigned> wanted) {
  Abandon();
  std::error_code error;
  fs::path real = fs::path(target);
  struct stat info {};
  bool exists = ::lstat(real.c_str(), &info) == 0;
  if (exists && S_ISLNK(info.st_mode)) {
    const fs::path resolved = fs::canonical(real, error);
    if (!error) real = resolved;
    exists = ::stat(real.c_str(), &info) == 0;
  }
  mode_t mode = 0666 & ~CurrentUmask();
  if (exists) {
    if (S_ISDIR(info.st_mode)) return EISDIR;
    // Only a file is replaced: a device or a pipe keeps its name.
    if (!S_ISREG(info.st_mode)) return kErrorNotAFile;
    // Read-only means no write permission bits, also for a superuser whom
    // access() would let through.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
    if (::access(real.c_str(), W_OK) != 0) return errno;
    mode = info.st_mode & 07777;
  }
  const mode_t chosen = wanted ? static_cast<mode_t>(*wanted & 07777) : mode;
  folder_ = real.has_parent_path() ? real.parent_path().string() : std::string(".");
  // A file without a name until it is complete: when the program is killed
  // on the way, the system takes it back and nothing is left beside the
  // target.
  int fd = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
      folder_.clear();
      return errno;
    }
    // A file system without unnamed files: a hidden name from the start.
    std::string pattern = HiddenPattern(real.filename().string());
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
      folder_.clear();
      return errno;
    }
    tempPath_ = pattern;
  }
  ::fchmod(fd, chosen);
  fd_ = fd;
  target_ = real.string();
  return 0;
}

std::string AtomicFileWriter::HiddenPattern(const std::string& name) const {
  // Built by appending: GCC 12 at -O3 warns (wrongly) of an overlap in
  // "." + name.
  std::string hidden = ".";
  hidden.append(name).append(".XXXXXX");
  return (fs::path(folder_) / hidden).string();
}

int AtomicFileWriter::LinkUnnamed() {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = HiddenPattern(fs::path(target_).filename().string());
    // The link makes the file and never replaces one: a name taken already
    // is only another try.
    FillRandomTail(name);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      tempPath_ = std::move(name);
      return 0;
    }
    if (errno != EEXIST) return errno;
  }
  return EEXIST;
}

int AtomicFileWriter::SetMode(unsigned mode) {
  if (fd_ < 0) return EBADF;
  return ::fchmod(fd_, static_cast<mode_t>(mode & 07777)) == 0 ? 0 : errno;
}

int AtomicFileWriter::Write(std::string_view data) {
  if (fd_ < 0) return EBADF;
  while (!data.empty()) {
    const ssize_t written = ::write(fd_, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

int AtomicFileWriter::Commit(bool durable) {
  if (fd_ < 0) return EBADF;
  int error = 0;
  if (durable && ::fsync(fd_) != 0) error = errno;
  // The name is given only now that the content is whole, and at once
  // replaced by the target's: a kill between the two is all that can leave
  // a hidden file behind.
  if (error == 0 && tempPath_.empty()) {
    try {
      error = LinkUnnamed();
    } catch (const std::bad_alloc&) {
      error = ENOMEM;
    }
  }
  if (::close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (error == 0 && ::rename(tempPath_.c_str(), target_.c_str()) != 0) error = errno;
  if (error != 0 && !tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
  target_.clear();
  folder_.clear();
  return error;
}

void AtomicFileWriter::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
  target_.clear();
  folder_.clear();
}

int WriteFileAtomically(const std::string& path, std::string_view data) {
  AtomicFileWriter writer;
  if (const int error = writer.Open(path)) return error;
  if (const int error = writer.Write(data)) return error;
  return writer.Commit();
}

}  // namespace ulk
