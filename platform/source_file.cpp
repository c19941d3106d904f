// Reading a module file by stretches.
#include "platform/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

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
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return error;
  }
  if (S_ISDIR(info.st_mode)) {
    ::close(fd);
    return EISDIR;
  }
  fd_ = fd;
  size_ = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  permissions_ = info.st_mode & 07777;
  return 0;
}

void SourceFile::Adopt(std::string bytes) {
  Close();
  size_ = bytes.size();
  Stretch whole{std::make_unique<char[]>(bytes.size()), bytes.size()};
  std::memcpy(whole.bytes.get(), bytes.data(), bytes.size());
  whole_ = std::move(whole);
  inMemory_ = true;
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
  if (!IsOpen() || offset > size_ || length > size_ - offset) return std::nullopt;
  const auto at = [&](const Stretch& stretch, std::uint64_t start) {
    return stretch.View().substr(static_cast<std::size_t>(offset - start),
                                 static_cast<std::size_t>(length));
  };
  if (whole_) return at(*whole_, 0);
  if (const auto found = Find(offset, length)) return found;
  const bool wholeFile = readBytes_ + length > size_ || read_.size() >= kMaxStretches;
  const std::uint64_t from = wholeFile ? 0 : offset;
  Stretch stretch{std::unique_ptr<char[]>(new char[wholeFile ? size_ : length]),
                  static_cast<std::size_t>(wholeFile ? size_ : length)};
  if (ReadAll(from, stretch.bytes.get(), stretch.size) != 0) return std::nullopt;
  if (wholeFile) {
    whole_ = std::move(stretch);
    return at(*whole_, 0);
  }
  readBytes_ += length;
  return read_.emplace(offset, std::move(stretch))->second.View();
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
  if (whole_) {
    std::memcpy(out, whole_->bytes.get() + offset, length);
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
  if (whole_) {
    return WriteAll(fd, whole_->bytes.get() + offset, static_cast<std::size_t>(length));
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
  std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(length, kCopyBuffer)));
  while (length > 0) {
    const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(length, kCopyBuffer));
    if (const int error = ReadAll(static_cast<std::uint64_t>(from), buffer.data(), take)) {
      return error;
    }
    if (const int error = WriteAll(fd, buffer.data(), take)) return error;
    from += static_cast<off_t>(take);
    length -= take;
  }
  return 0;
}

}  // namespace ulk
