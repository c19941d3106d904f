// Process-wide memory policy of our programs.
#pragma once

namespace ulk {

// Keeps freed memory in the process instead of handing it back at once:
// reading and generating large modules allocate and free tens of megabytes
// in a row, and taking fresh pages from the system again each time costs
// more than the work itself.
void KeepFreedMemory();

}  // namespace ulk
