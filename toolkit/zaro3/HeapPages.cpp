#include "HeapPages.h"

#include <cstdint>
#include <cstdlib>  // also tells which C library this is

#if defined(__linux__) && defined(__GLIBC__)
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace zaro3 {

#if defined(__linux__) && defined(__GLIBC__)

void PreferLargeHeapPages() {
  constexpr std::size_t kStep = std::size_t{64} << 20;  // the heap's first growth
  constexpr std::size_t kLargestInHeap = std::size_t{32} << 20;  // glibc's ceiling for the threshold
  constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargestInHeap));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * kStep));
  mallopt(M_TOP_PAD, static_cast<int>(kStep));
  // One block the heap cannot hold yet grows it by the step; freed, its room stays in the heap.
  void* grow = std::malloc(kLargestInHeap / 2);
  if (grow == nullptr) return;
  const auto start = (reinterpret_cast<std::uintptr_t>(grow) + kLargePage - 1) & ~(kLargePage - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0)) & ~(kLargePage - 1);
  // Only a hint: without huge pages the heap simply stays as it is.
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
  std::free(grow);
}

#else

void PreferLargeHeapPages() {}

#endif

}  // namespace zaro3
