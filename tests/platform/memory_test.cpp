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

// Whether the mapping that holds `address` may be backed by large pages;
// none when the system does not say.
std::optional<bool> LargePagesAllowedAt(const void* address) {
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream in("/proc/self/smaps");
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    unsigned long long from = 0;
    unsigned long long to = 0;
    char dash = 0;
    if (std::sscanf(line.c_str(), "%llx%c%llx", &from, &dash, &to) == 3 && dash == '-') {
      inside = from <= at && at < to;
    } else if (inside && line.rfind("THPeligible:", 0) == 0) {
      return line.find('1') != std::string::npos;
    }
  }
  return std::nullopt;
}

TEST(HeapReserveTest, TheFirstBlocksAfterItLieWhereLargePagesMayBackThem) {
#if defined(ULK_OWN_ALLOCATOR)
  GTEST_SKIP() << "the sanitizer's allocator keeps a heap of its own";
#endif
  if (!LargePagesOffered()) GTEST_SKIP() << "the system offers no large pages";
  KeepFreedMemory();
  ReserveHeapInLargePages();
  // Below the first 2 MB boundary of the reserve no large page fits; the
  // first blocks a program then takes must not be put there.
  void* block = std::malloc(1 << 20);
  ASSERT_NE(block, nullptr);
  const std::optional<bool> allowed = LargePagesAllowedAt(block);
  std::free(block);
  if (!allowed) GTEST_SKIP() << "the system does not tell which mappings may use large pages";
  EXPECT_TRUE(*allowed);
}

}  // namespace
}  // namespace ulk
