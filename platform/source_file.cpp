// Reading a module file by stretches.
#include "platform/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "platform/system_error.h"

namespace ulk {
namespace {

// Past this many stretches the whole file is read: looking one up stays
// cheap however the file scatters its data.
constexpr std::size_t kMaxStretches = 64;
constexpr std::size_t kCopyBuffer = 256 * 1024;

int WriteAll(int fd, const char* data, std::size_t length) {
  while (length > 0) {
    const ssize_t written = ::write(fd, data, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

SourceFile::~SourceFile() {
  Close();
}

int SourceFile::Open(const std::string& path) {
  Close();
  // Not blocking: opening a pipe that nobody writes would wait for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat info {};
  int error = ::fstat(fd, &info) == 0 ? 0 : errno;
  if (error == 0 && S_ISDIR(info.st_mode)) error = EISDIR;
  // A device or a pipe is no module, and reading one may never end.
  if (error == 0 && !S_ISREG(info.st_mode)) error = kErrorNotAFile;
  if (error == 0 && static_cast<std::uint64_t>(info.st_size) > kMaxModuleFileSize) {
    error = kErrorFileTooLarge;
  }
  if (error == 0 && ::fcntl(fd, F_SETFL, 0) != 0) error = errno;
  if (error != 0) {
    ::close(fd);
    return error;
  }
  fd_ = fd;
  size_ = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  permissions_ = info.st_mode & 07777;
  return 0;
}

int SourceFile::Adopt(std::string bytes) {
  Close();
  if (bytes.size() > kMaxModuleFileSize) return kErrorFileTooLarge;
  adopted_ = std::move(bytes);
  size_ = adopted_.size();
  inMemory_ = true;
  return 0;
}

void SourceFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  inMemory_ = false;
  size_ = 0;
  permissions_ = 0644;
  read_.clear();
  readBytes_ = 0;
  whole_.reset();
  std::string().swap(adopted_);
  lastError_ = 0;
}

int SourceFile::ReadAll(std::uint64_t offset, char* out, std::size_t length) const {
  while (length > 0) {
    const ssize_t got = ::pread(fd_, out, length, static_cast<off_t>(offset));
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (got == 0) return EIO;  // the file became shorter since it was opened
    out += got;
    offset += static_cast<std::uint64_t>(got);
    length -= static_cast<std::size_t>(got);
  }
  return 0;
}

std::optional<std::string_view> SourceFile::View(std::uint64_t offset, std::uint64_t length) const {
  lastError_ = EIO;
  if (!IsOpen() || offset > size_ || length > size_ - offset) return std::nullopt;
  lastError_ = 0;
  const auto at = [&](std::string_view all) {
    return all.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
  };
  if (const auto all = Whole()) return at(*all);
  if (const auto found = Find(offset, length)) return found;
  const bool wholeFile = readBytes_ + length > size_ || read_.size() >= kMaxStretches;
  const std::uint64_t from = wholeFile ? 0 : offset;
  const std::size_t size = static_cast<std::size_t>(wholeFile ? size_ : length);
  Stretch stretch{std::unique_ptr<char[]>(new (std::nothrow) char[size]), size};
  if (!stretch.bytes) {
    lastError_ = ENOMEM;
    return std::nullopt;
  }
  if (ReadAll(from, stretch.bytes.get(), stretch.size) != 0) {
    lastError_ = EIO;
    return std::nullopt;
  }
  if (wholeFile) {
    whole_ = std::move(stretch);
    return at(whole_->View());
  }
  try {
    const auto placed = read_.emplace(offset, std::move(stretch));
    readBytes_ += length;
    return placed->second.View();
  } catch (const std::bad_alloc&) {
    lastError_ = ENOMEM;
    return std::nullopt;
  }
}

std::optional<std::string_view> SourceFile::Whole() const {
  if (inMemory_) return std::string_view(adopted_);
  if (whole_) return whole_->View();
  return std::nullopt;
}

std::optional<std::string_view> SourceFile::Find(std::uint64_t offset, std::uint64_t length) const {
  for (auto it = read_.upper_bound(offset); it != read_.begin();) {
    --it;
    if (offset + length <= it->first + it->second.size) {
      return it->second.View().substr(static_cast<std::size_t>(offset - it->first),
                                      static_cast<std::size_t>(length));
    }
  }
  return std::nullopt;
}

int SourceFile::Read(std::uint64_t offset, void* out, std::size_t length) const {
  if (!IsOpen() || offset > size_ || length > size_ - offset) return EIO;
  if (const auto all = Whole()) {
    std::memcpy(out, all->data() + offset, length);
    return 0;
  }
  if (const auto found = Find(offset, length)) {
    std::memcpy(out, found->data(), length);
    return 0;
  }
  return ReadAll(offset, static_cast<char*>(out), length);
}

int SourceFile::CopyTo(int fd, std::uint64_t offset, std::uint64_t length) const {
  if (!IsOpen() || offset > size_ || length > size_ - offset) return EIO;
  if (const auto all = Whole()) {
    return WriteAll(fd, all->data() + offset, static_cast<std::size_t>(length));
  }
  auto from = static_cast<off_t>(offset);
  bool kernelCopy = true;
  while (length > 0 && kernelCopy) {
    const ssize_t copied =
        ::copy_file_range(fd_, &from, fd, nullptr, static_cast<std::size_t>(length), 0);
    if (copied > 0) {
      length -= static_cast<std::uint64_t>(copied);
    } else if (copied == 0) {
      return EIO;  // the file became shorter since it was opened
    } else if (errno == EINTR) {
      continue;
    } else if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
               errno == EBADF) {
      kernelCopy = false;  // file systems the kernel cannot copy between
    } else {
      return errno;
    }
  }
  const std::size_t bufferSize =
      static_cast<std::size_t>(std::min<std::uint64_t>(length, kCopyBuffer));
  const std::unique_ptr<char[]> buffer(new (std::nothrow) char[bufferSize]);
  if (!buffer && bufferSize > 0) return ENOMEM;
  while (length > 0) {
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(length, kCopyBuffer));
    if (const int error = ReadAll(static_cast<std::uint64_t>(from), buffer.get(), take)) {
      return error;
    }
    if (const int error = WriteAll(fd, buffer.get(), take)) return error;
    from += static_cast<off_t>(take);
    length -= take;
  }
  return 0;
}

}  // namespace ulk
