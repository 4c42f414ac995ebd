#include "platform/os/video_choice.h"

#include <SDL2/SDL_hints.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/os/sdl_library.h"

namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

bool ShowsNothing(const char* driver) {
  for (const char* hidden : {"offscreen", "dummy", "evdev"})
    if (std::strcmp(driver, hidden) == 0) return true;
  return false;
}

}  // namespace

bool DisplayIsAvailable() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("SDL_VIDEODRIVER"); }

void UseOffscreenVideo() { Sdl().SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE); }

void UseOnlyVisibleVideo() {
  std::string drivers;
  for (int i = 0; i < Sdl().SDL_GetNumVideoDrivers(); ++i) {
    const char* driver = Sdl().SDL_GetVideoDriver(i);
    if (!driver || ShowsNothing(driver)) continue;
    if (!drivers.empty()) drivers += ',';
    drivers += driver;
  }
  // The default priority yields to SDL_VIDEODRIVER and to UseOffscreenVideo.
  if (!drivers.empty()) Sdl().SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, drivers.c_str(), SDL_HINT_DEFAULT);
}
