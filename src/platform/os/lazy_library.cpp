#include "platform/os/lazy_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

// What the dynamic loader ends a program with when a library it needs is missing.
constexpr int kLibraryMissingStatus = 127;

[[noreturn]] void EndWithout(const char* soname, const char* what) {
  const char* reason = dlerror();
  std::fprintf(stderr, "vondrel-viewer: %s %s: %s\n", soname, what, reason ? reason : "unknown reason");
  std::fflush(stderr);
  std::_Exit(kLibraryMissingStatus);
}

}  // namespace

void* OpenLibraryOrEnd(const char* soname) {
  // Never closed: the libraries keep threads and handlers of their own until the end.
  void* library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!library) EndWithout(soname, "cannot be opened");
  return library;
}

void* FindSymbolOrEnd(void* library, const char* soname, const char* name) {
  void* symbol = dlsym(library, name);
  if (!symbol) EndWithout(soname, "lacks a function the program calls");
  return symbol;
}
