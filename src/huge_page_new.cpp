// The program's operator new: the library's, but the whole 2 MiB spans of a
// block are advised onto transparent huge pages, so that filling a span faults
// once instead of 512 times. A load's arrays (vertices, faces, the optimiser's
// working copies) are such blocks; where a page fault is dear (about 10 us on
// a virtual machine) their faults were a fifth or more of a large model's load.
#include "huge_page_new.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

#ifndef VDL_SANITIZER_NEW

namespace {

// A block of a huge page or more starts on one, so that all its whole spans
// count; the address space skipped before it is never touched.
void* Allocate(std::size_t size) {
  if (size < kHugePageBytes) return std::malloc(size);
  void* block = nullptr;
  return posix_memalign(&block, kHugePageBytes, size) == 0 ? block : nullptr;
}

void AdviseHugePages(void* block, std::size_t size) {
  uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(block) + size) & ~(kHugePageBytes - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

// The other forms of new (arrays, nothrow) call this one, and the library's
// delete frees with free().
void* operator new(std::size_t size) {
  if (size == 0) size = 1;
  void* block;
  while (!(block = Allocate(size))) {
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
  AdviseHugePages(block, size);
  return block;
}

#endif
