// File-system helpers: the canonical form of module paths, whole-file reads,
// and writes that replace a file only once the new content is complete.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ulk {

// The trimmed path, made absolute with links resolved, when it names an
// existing file that is not a folder; none otherwise.
std::optional<std::string> CanonicalPath(std::string_view path);

// CanonicalPath for many paths in a row, most of them in the same folder (a
// project's modules): the folder is resolved once, and a file in it that is
// not a link then only needs one look. Gives what CanonicalPath gives.
class CanonicalPaths {
 public:
  std::optional<std::string> Of(std::string_view path);

 private:
  std::string folder_;     // the last folder, as written
  std::string canonical_;  // its canonical form; empty when it has none
};

// Reads the whole file into `out`; returns 0 or the error code of the
// failure (system_error.h): EISDIR for a folder, kErrorNotAFile for anything
// else that is not a regular file (a device or a pipe, never waited on),
// kErrorFileTooLarge past kMaxWholeFileSize.
inline constexpr std::uint64_t kMaxWholeFileSize = std::uint64_t{1} << 30;
int ReadWholeFile(const std::string& path, std::string& out);

// The part of `path` after its last separator ("/" or "\"), or the whole
// path; and the part before it, or the whole path when it has none.
std::string_view FileNameOf(std::string_view path);
std::string_view FolderOf(std::string_view path);

bool FileExists(const std::string& path);

// The permission bits a copy of a file with `mode` gets: its read, write and
// execute bits less the umask; never setuid, setgid or sticky.
unsigned ModeForCopy(unsigned mode);
bool IsReadOnlyFile(const std::string& path);

// Writes a file through a temporary file beside it, renamed over the target
// only by Commit: a failure at any point leaves the previous file as it was
// and no temporary file behind. The new file has no name until Commit, so
// that a program killed while writing leaves nothing behind either (where
// the file system cannot, it has a hidden name from the start). A target
// that is a link is written through; one that is not a regular file is
// refused.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  // A file written, not yet committed, may be handed on (to the thread that
  // commits it).
  AtomicFileWriter(AtomicFileWriter&& other) noexcept;
  AtomicFileWriter& operator=(AtomicFileWriter&& other) noexcept;

  // Returns 0 or an error code. Refuses (EACCES) a target that exists and
  // may not be written, even when its folder would allow the rename, and
  // (kErrorNotAFile) one that is not a regular file.
  int Open(const std::string& target);
  // The same, the new file getting these permission bits instead of the
  // target's own.
  int Open(const std::string& target, unsigned mode);
  // Gives the new file these permission bits instead of the target's own.
  int SetMode(unsigned mode);
  int Write(std::string_view data);
  // Closes and renames into place; returns 0 or an errno. `durable` first
  // flushes the file to the disk, so that even a power failure right after
  // leaves the new content whole (a file the user made); without it only a
  // crash of the program is covered (a file that can be made again).
  int Commit(bool durable = true);
  // Drops the temporary file; the target is untouched.
  void Abandon();

  int Descriptor() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }

 private:
  int OpenWithMode(const std::string& target, std::optional<unsigned> mode);
  // A hidden name beside the target, "XXXXXX" at its end.
  std::string HiddenPattern(const std::string& name) const;
  // Gives the unnamed new file a hidden name beside the target.
  int LinkUnnamed();

  std::string target_;
  std::string folder_;
  // The new file's name; empty while it has none.
  std::string tempPath_;
  int fd_ = -1;
};

// Writes `data` to `path` through an AtomicFileWriter; 0 or an errno.
int WriteFileAtomically(const std::string& path, std::string_view data);

}  // namespace ulk
