// The program's operator new (large_block_new.cpp) makes a large block's
// pages ready before the block is filled. A sanitizer's runtime has an
// operator new of its own, which its operator delete checks against: such a
// build keeps it.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VDL_SANITIZER_NEW 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define VDL_SANITIZER_NEW 1
#endif
#endif

#include <cstddef>
#include <cstdint>

// The size of a huge page, and of the spans advised.
inline constexpr uintptr_t kHugePageBytes = uintptr_t{2} << 20;
// The pages of a block this large or larger, outside its whole huge-page
// spans, are faulted in by one call.
inline constexpr std::size_t kFaultInBytes = std::size_t{64} << 10;
