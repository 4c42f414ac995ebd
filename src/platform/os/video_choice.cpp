#include "platform/os/video_choice.h"

#include <SDL2/SDL_hints.h>

#include <cstdlib>

#include "platform/os/sdl_library.h"

namespace {

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

}  // namespace

bool DisplayIsAvailable() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("SDL_VIDEODRIVER"); }

void UseOffscreenVideo() { Sdl().SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE); }
