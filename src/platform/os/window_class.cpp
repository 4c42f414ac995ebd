#include "platform/os/window_class.h"

#include <cstdlib>

void NameWindowClass() {
  // SDL 2 takes the class from these variables (Wayland falls back to the X11
  // one); without them it would use the program file's name.
  setenv("SDL_VIDEO_X11_WMCLASS", kWindowClassName, 1);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClassName, 1);
}
