// Which kind of video the program gets: windows on a display, or off-screen
// rendering that needs no display at all.
#pragma once

// True when a display is named (DISPLAY, WAYLAND_DISPLAY) or a video driver is
// chosen explicitly (SDL_VIDEODRIVER, as render tests and benchmarks do).
bool DisplayIsAvailable();
// From now on SDL uses its off-screen driver, whatever the environment names:
// no window is ever mapped and OpenGL runs through EGL without a window
// system. Call it before anything starts SDL's video.
void UseOffscreenVideo();
