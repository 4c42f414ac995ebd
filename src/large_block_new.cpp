// The program's operator new: the library's, but a large block's pages are
// made ready before the block is filled. Filling fresh memory costs a page
// fault per 4 KiB page, and where a fault is dear (about 10 us on a virtual
// machine) the first touches of a load's arrays (vertices, faces, the
// optimiser's working copies) were a fifth or more of a model's load. So:
// * the whole 2 MiB spans of a block are advised onto transparent huge pages:
//   filling a span faults once instead of 512 times;
// * the rest of a block of kFaultInBytes or more is faulted in by one call,
//   at about half the cost of a fault per page. The load sizes its arrays to
//   what they will hold, so those pages would be written anyway.
#include "large_block_new.h"

#include <sys/mman.h>
#include <unistd.h>

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

void PrepareLargeBlock(void* block, std::size_t size) {
  if (size < kFaultInBytes) return;
  uintptr_t start = reinterpret_cast<uintptr_t>(block);
  uintptr_t hugeBegin = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  uintptr_t hugeEnd = (start + size) & ~(kHugePageBytes - 1);
  uintptr_t rest = start;
  if (hugeEnd > hugeBegin) {
    madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE);
    rest = hugeEnd;  // a block this large starts on a huge page: only its tail is left
  }
  static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  uintptr_t pagesBegin = (rest + page - 1) & ~(page - 1);
  uintptr_t pagesEnd = (start + size) & ~(page - 1);
  if (pagesEnd > pagesBegin) madvise(reinterpret_cast<void*>(pagesBegin), pagesEnd - pagesBegin, MADV_POPULATE_WRITE);
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
  PrepareLargeBlock(block, size);
  return block;
}

#endif
