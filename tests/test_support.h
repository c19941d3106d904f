// Helpers shared by the tests: fixture modules, temporary folders, an
// environment variable set for one test, and little-endian byte builders
// for templates written by hand.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace ulk::testing {

inline std::string FixturePath(const std::string& name) {
  return std::string(ULK_FIXTURE_DIR) + "/" + name;
}

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Sets an environment variable (or, given none, unsets it) until the end of
// the scope, then puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~ScopedEnv() { Set(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name_, value->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> old_;
};

// A folder of its own for one test, removed at the end.
class TempDir {
 public:
  explicit TempDir(const std::string& tag) {
    path_ =
        std::filesystem::temp_directory_path() / ("ulk-" + tag + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Builds little-endian byte strings for templates written by hand.
class Bytes {
 public:
  Bytes& u8(std::uint8_t v) {
    out_.push_back(static_cast<char>(v));
    return *this;
  }
  Bytes& u16(std::uint16_t v) {
    return u8(static_cast<std::uint8_t>(v & 0xFF)).u8(static_cast<std::uint8_t>(v >> 8));
  }
  Bytes& u32(std::uint32_t v) {
    return u16(static_cast<std::uint16_t>(v & 0xFFFF)).u16(static_cast<std::uint16_t>(v >> 16));
  }
  Bytes& text(std::u16string_view s) {
    for (char16_t c : s) u16(static_cast<std::uint16_t>(c));
    return u16(0);
  }
  Bytes& align4() {
    while (out_.size() % 4) out_.push_back('\0');
    return *this;
  }
  std::size_t size() const { return out_.size(); }
  const std::string& str() const { return out_; }
  operator std::string_view() const { return out_; }

 private:
  std::string out_;
};

}  // namespace ulk::testing
