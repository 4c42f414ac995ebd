// The SDL window behind a window handle of the real operating-system layer,
// for the graphics device that renders into it.
#pragma once
#include <SDL2/SDL_video.h>

#include "platform/os/os.h"

// Null when the handle is not a window created by the real layer.
SDL_Window* SdlWindowOf(HWND window);
