#include "platform/os/screen_saver.h"

#include <SDL2/SDL_syswm.h>
#include <X11/extensions/scrnsaver.h>

#include "platform/os/lazy_library.h"
#include "platform/os/sdl_library.h"

namespace {

#define VDL_XSS_FUNCTIONS(X) \
  X(XScreenSaverQueryExtension) \
  X(XScreenSaverQueryVersion) \
  X(XScreenSaverSuspend)

struct ScreenSaverLibrary {
  VDL_LIBRARY_POINTER(XFlush)
  VDL_XSS_FUNCTIONS(VDL_LIBRARY_POINTER)
};

// X's screen-saver extension, opened when a window first lets the screen
// saver go: Xlib is SDL's already, the extension's library is one more.
const ScreenSaverLibrary& ScreenSaver() {
  static const ScreenSaverLibrary record = [] {
    ScreenSaverLibrary functions;
    const char* soname = "libX11.so.6";
    void* library = OpenLibraryOrEnd(soname);
    VDL_LIBRARY_FIND(XFlush)
    soname = "libXss.so.1";
    library = OpenLibraryOrEnd(soname);
    VDL_XSS_FUNCTIONS(VDL_LIBRARY_FIND)
    return functions;
  }();
  return record;
}

// SDL 2 suspends the X server's screen saver (MIT-SCREEN-SAVER) when the desktop
// offers no D-Bus screen-saver service, but on the way back it asks only D-Bus,
// so the suspension would last as long as the program. The X server counts
// suspensions per connection: ending one that SDL did not make changes nothing.
void EndX11Suspension(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !Sdl().SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  int unused = 0, major = 0, minor = 0;
  // Suspension came with version 1.1; on a server without it the request would be an error.
  const ScreenSaverLibrary& x = ScreenSaver();
  if (!x.XScreenSaverQueryExtension(display, &unused, &unused) || !x.XScreenSaverQueryVersion(display, &major, &minor) ||
      major * 100 + minor < 101)
    return;
  x.XScreenSaverSuspend(display, False);
  x.XFlush(display);
}

}  // namespace

void HoldScreenSaver() { Sdl().SDL_DisableScreenSaver(); }

void ReleaseScreenSaver(SDL_Window* window) {
  Sdl().SDL_EnableScreenSaver();
  EndX11Suspension(window);
}
