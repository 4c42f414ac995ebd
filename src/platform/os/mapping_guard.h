// Mapped files that cannot end the program. When another program cuts a
// mapped file short (an exporter saving again in place), touching the pages
// past its new end raises SIGBUS. Inside a guarded mapping such a page is
// replaced by a page of zeros instead, so the reader sees bytes that make no
// sense, which it reports, rather than the process ending.
#pragma once
#include <cstddef>

// Guards [address, address + size), a mapping made with mmap. False when all
// guard slots are taken; the mapping is then unguarded.
bool GuardMapping(const void* address, size_t size);
// Ends the guard; call it before unmapping.
void UnguardMapping(const void* address);
