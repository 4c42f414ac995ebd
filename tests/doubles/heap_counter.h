// Live, peak and allocated heap bytes of the whole program, counted through
// the global allocation functions, which this header replaces: include it in
// one source file of a benchmark or test program only. Under ThreadSanitizer,
// whose runtime defines those functions itself, nothing is counted
// (heap_counter::kCounting is false) and the program keeps the runtime's.
#pragma once
#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VDL_HEAP_UNCOUNTED 1
#endif
#endif

namespace heap_counter {
#ifdef VDL_HEAP_UNCOUNTED
inline constexpr bool kCounting = false;
#else
inline constexpr bool kCounting = true;
#endif
inline std::atomic<size_t> liveBytes{0}, peakBytes{0}, allocatedBytes{0};

inline void* Allocate(size_t size) {
  void* block = std::malloc(size + 16);
  if (!block) throw std::bad_alloc();
  *static_cast<size_t*>(block) = size;
  allocatedBytes += size;
  size_t now = liveBytes += size;
  size_t peak = peakBytes.load();
  while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
  }
  return static_cast<char*>(block) + 16;
}

inline void Free(void* pointer) {
  if (!pointer) return;
  void* block = static_cast<char*>(pointer) - 16;
  liveBytes -= *static_cast<size_t*>(block);
  std::free(block);
}

// The peak of the heap above its present level while `work` runs.
template <class Work>
size_t PeakAbove(Work&& work) {
  size_t before = liveBytes;
  peakBytes = before;
  work();
  return peakBytes - before;
}

// The bytes allocated while `work` runs, whether freed again or not.
template <class Work>
size_t AllocatedDuring(Work&& work) {
  size_t before = allocatedBytes;
  work();
  return allocatedBytes - before;
}
}  // namespace heap_counter

#ifndef VDL_HEAP_UNCOUNTED
void* operator new(size_t size) { return heap_counter::Allocate(size); }
void* operator new[](size_t size) { return heap_counter::Allocate(size); }
void operator delete(void* pointer) noexcept { heap_counter::Free(pointer); }
void operator delete[](void* pointer) noexcept { heap_counter::Free(pointer); }
void operator delete(void* pointer, size_t) noexcept { heap_counter::Free(pointer); }
void operator delete[](void* pointer, size_t) noexcept { heap_counter::Free(pointer); }
#endif
