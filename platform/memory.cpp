// Memory policy.
#include "platform/memory.h"

#include <malloc.h>

namespace ulk {

void KeepFreedMemory() {
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}

}  // namespace ulk
