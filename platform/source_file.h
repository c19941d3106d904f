// The bytes of a module file, read only where they are looked at: the
// headers and the resources come into memory, the rest stays in the file
// and is copied from it by the kernel when the module is written again.
// Fresh memory for a whole module costs more than reading it, and most of a
// module is neither looked at nor changed.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ulk {

// The largest module file taken: a module that carries a user interface is
// far smaller, and the reader may come to keep the whole file in memory.
inline constexpr std::uint64_t kMaxModuleFileSize = std::uint64_t{1} << 30;

class SourceFile {
 public:
  SourceFile() = default;
  ~SourceFile();
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  // Opens the file and keeps it open until Close; 0 or an error code
  // (system_error.h): EISDIR for a folder, kErrorNotAFile for a device, a
  // pipe or a socket (never waited on), kErrorFileTooLarge past
  // kMaxModuleFileSize, else the errno of the failure.
  int Open(const std::string& path);
  // The whole file from memory, taken over without a copy; 0 or
  // kErrorFileTooLarge.
  int Adopt(std::string bytes);
  void Close();

  bool IsOpen() const { return fd_ >= 0 || inMemory_; }
  std::uint64_t Size() const { return size_; }
  // The file's permission bits when it was opened (0644 for bytes adopted).
  unsigned Permissions() const { return permissions_; }

  // `length` bytes from `offset`, read on first use and kept until Close
  // (the view stays valid as long). None when they lie past the end or the
  // file cannot be read. Once more has been read than the file holds, the
  // whole file is kept, so that overlapping requests cost no more memory
  // than twice its size.
  std::optional<std::string_view> View(std::uint64_t offset, std::uint64_t length) const;
  // Why the last View gave none: EIO (past the end, or the file cannot be
  // read) or ENOMEM.
  int LastError() const { return lastError_; }
  // Copies `length` bytes from `offset` into `out`; 0 or an errno (EIO for a
  // file that has become shorter). Neither this nor CopyTo throws.
  int Read(std::uint64_t offset, void* out, std::size_t length) const;
  // Appends `length` bytes from `offset` to the file open as `fd`, at its
  // current position: in the kernel where the file systems allow it.
  // 0 or an errno.
  int CopyTo(int fd, std::uint64_t offset, std::uint64_t length) const;

 private:
  int ReadAll(std::uint64_t offset, char* out, std::size_t length) const;
  // The whole file when it is in memory (adopted, or read whole).
  std::optional<std::string_view> Whole() const;
  // A view of stretches already read, when one holds them all.
  std::optional<std::string_view> Find(std::uint64_t offset, std::uint64_t length) const;

  int fd_ = -1;
  bool inMemory_ = false;
  std::uint64_t size_ = 0;
  unsigned permissions_ = 0644;
  // Bytes read from the file, kept at one address until Close.
  struct Stretch {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
    std::string_view View() const { return {bytes.get(), size}; }
  };
  // Stretches read so far, by their offset in the file.
  mutable std::multimap<std::uint64_t, Stretch> read_;
  mutable std::uint64_t readBytes_ = 0;
  mutable std::optional<Stretch> whole_;
  std::string adopted_;  // the bytes of Adopt, kept as they came
  mutable int lastError_ = 0;
};

}  // namespace ulk
