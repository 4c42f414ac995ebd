#include "platform/os/sdl_library.h"

#include <atomic>

namespace {

std::atomic<bool> opened{false};

SdlLibrary Open() {
  const char* soname = "libSDL2-2.0.so.0";
  void* library = OpenLibraryOrEnd(soname);
  SdlLibrary functions;
  VDL_SDL_FUNCTIONS(VDL_LIBRARY_FIND)
  opened.store(true, std::memory_order_release);
  return functions;
}

}  // namespace

const SdlLibrary& Sdl() {
  static const SdlLibrary library = Open();
  return library;
}

bool SdlWasInit(Uint32 flags) { return opened.load(std::memory_order_acquire) && Sdl().SDL_WasInit(flags) != 0; }
