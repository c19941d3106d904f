// Memory policy.
#include "platform/memory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace ulk {
namespace {

constexpr std::size_t kLargePage = 2 * 1024 * 1024;
constexpr std::size_t kHeapReserve = 64 * 1024 * 1024;

}  // namespace

void KeepFreedMemory() {
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

void ReserveHeapInLargePages() {
  // Every growth of the heap reserves this much address space beyond what
  // it needs; pages are only taken when first written.
  mallopt(M_TOP_PAD, static_cast<int>(kHeapReserve));
  // An allocation larger than what is left of the heap makes it grow now,
  // by the reserve; freed, it stays in the heap (KeepFreedMemory).
  void* probe = std::malloc(kLargePage);
  if (!probe) return;
  const auto start = reinterpret_cast<std::uintptr_t>(probe);
  // The heap has already written just past the probe (where the rest of the
  // heap is described), taking a small page there: no large page can come
  // into that 2 MB any more. The reserve advised starts above it.
  const auto written = start + malloc_usable_size(probe) + 2 * sizeof(std::size_t);
  const auto begin = (written + kLargePage - 1) & ~(kLargePage - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(::sbrk(0)) & ~(kLargePage - 1);
  // Where the system offers it, the heap is then backed by large pages: a
  // single fault maps 2 MB instead of 4 KB. Without it nothing changes.
  const bool advised =
      end > begin && ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE) == 0;
  std::free(probe);
  if (!advised) return;
  // Below that boundary no large page can back the heap. A block that fills
  // the stretch, never used nor freed, makes the allocations that follow
  // start above it; it costs address space, not memory. The heap's next
  // write, just past it, is the first in the advised reserve: a large page.
  // (Kept where the compiler cannot drop it as unused.)
  static void* volatile head = nullptr;
  if (!head) head = std::malloc(begin - start);
}

}  // namespace ulk
