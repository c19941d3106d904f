// The heap prepared for large pages by the command-line program.
#include "platform/memory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define ULK_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ULK_OWN_ALLOCATOR 1
#endif
#endif

namespace ulk {
namespace {

bool LargePagesOffered() {
  std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  std::getline(in, modes);
  return modes.find("[always]") != std::string::npos ||
         modes.find("[madvise]") != std::string::npos;
}

// A field of the mapping that holds `address` in /proc/self/smaps ("field:
// value ..."), as the line's text after the colon; none when it is missing.
std::optional<std::string> MappingField(const void* address, const std::string& field) {
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream in("/proc/self/smaps");
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    unsigned long long from = 0;
    unsigned long long to = 0;
    char dash = 0;
    if (std::sscanf(line.c_str(), "%llx%c%llx", &from, &dash, &to) == 3 && dash == '-') {
      inside = from <= at && at < to;
    } else if (inside && line.rfind(field + ":", 0) == 0) {
      return line.substr(field.size() + 1);
    }
  }
  return std::nullopt;
}

TEST(HeapReserveTest, TheFirstBlocksAfterItAreInLargePages) {
#if defined(ULK_OWN_ALLOCATOR)
  GTEST_SKIP() << "the sanitizer's allocator keeps a heap of its own";
#endif
  if (!LargePagesOffered()) GTEST_SKIP() << "the system offers no large pages";
  KeepFreedMemory();
  ReserveHeapInLargePages();
  // Below the first 2 MB boundary of the reserve no large page fits; the
  // first blocks a program then takes must not be put there, nor where the
  // heap has already taken a small page.
  auto* block = static_cast<char*>(std::malloc(1 << 20));
  ASSERT_NE(block, nullptr);
  for (std::size_t i = 0; i < (1 << 20); i += 4096) block[i] = 1;
  const std::optional<std::string> allowed = MappingField(block, "THPeligible");
  const std::optional<std::string> large = MappingField(block, "AnonHugePages");
  std::free(block);
  if (!allowed || !large) GTEST_SKIP() << "the system does not tell which pages are large";
  EXPECT_NE(allowed->find('1'), std::string::npos);
  // The block written is in a large page (unless the system has none free).
  EXPECT_GE(std::strtoul(large->c_str(), nullptr, 10), 2048u) << *large;
}

}  // namespace
}  // namespace ulk
