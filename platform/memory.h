// Process-wide memory policy of our programs.
#pragma once

namespace ulk {

// Keeps freed memory in the process instead of handing it back at once:
// reading and generating large modules allocate and free tens of megabytes
// in a row, and taking fresh pages from the system again each time costs
// more than the work itself.
void KeepFreedMemory();

// For a short-lived program that builds large models at once: grows the
// heap ahead by tens of megabytes of address space and asks the system to
// back it with large pages, where one page fault maps 2 MB, not 4 KB. A
// model of tens of thousands of texts touches tens of megabytes for the
// first time, and faulting them in page by page cost more than the work.
// Call after KeepFreedMemory.
void ReserveHeapInLargePages();

}  // namespace ulk
