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
// Unless the environment names a driver, SDL may only use drivers that show
// a window. Otherwise a display that cannot be opened for a moment (an X
// server resetting as its last client leaves) makes SDL fall back to its
// off-screen driver, and the viewer runs with a window nobody can see or close.
void UseOnlyVisibleVideo();
