// HeapPages: asks the system to back the converter's heap with large pages.
//
// A conversion builds some tens of megabytes of small objects, and each first
// touch of a 4 KiB page is a fault; where faults are dear (virtual machines, where
// they took a third of a conversion's time) 2 MiB pages save most of them. On
// Linux with glibc the heap is grown once by a large step, kept in one piece (no
// separate mappings for big blocks, no trimming), and marked for transparent huge
// pages, which the kernel uses when it is set to "always" or "madvise". Elsewhere
// nothing is done. Nothing the converter writes depends on it.
#pragma once

namespace zaro3 {

// Call first thing in main, before the conversion allocates.
void PreferLargeHeapPages();

}  // namespace zaro3
