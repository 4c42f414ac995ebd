// Holding the screen saver and the display's power-down off, and letting them
// run again.
#pragma once
#include <SDL2/SDL_video.h>

void HoldScreenSaver();
// The window is one of ours on SDL's display connection.
void ReleaseScreenSaver(SDL_Window* window);
