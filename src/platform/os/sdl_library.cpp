#include "platform/os/sdl_library.h"

#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* kSdlSoname = "libSDL2-2.0.so.0";
// What the dynamic loader ends a program with when a library it needs is missing.
constexpr int kLibraryMissingStatus = 127;

std::atomic<bool> opened{false};

[[noreturn]] void EndWithoutSdl() {
  const char* reason = dlerror();
  std::fprintf(stderr, "vondrel-viewer: %s cannot be opened: %s\n", kSdlSoname, reason ? reason : "unknown reason");
  std::fflush(stderr);
  std::_Exit(kLibraryMissingStatus);
}

template <class Function>
void Find(void* handle, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(handle, name));
  if (!function) EndWithoutSdl();
}

SdlLibrary Open() {
  void* handle = dlopen(kSdlSoname, RTLD_NOW | RTLD_LOCAL);
  if (!handle) EndWithoutSdl();
  SdlLibrary library;
#define VDL_SDL_FIND(name) Find(handle, #name, library.name);
  VDL_SDL_FUNCTIONS(VDL_SDL_FIND)
#undef VDL_SDL_FIND
  // Never closed: SDL keeps threads and handlers of its own until the end.
  opened.store(true, std::memory_order_release);
  return library;
}

}  // namespace

const SdlLibrary& Sdl() {
  static const SdlLibrary library = Open();
  return library;
}

bool SdlWasInit(Uint32 flags) { return opened.load(std::memory_order_acquire) && Sdl().SDL_WasInit(flags) != 0; }
