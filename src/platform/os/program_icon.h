// The program's window icon: the 48-pixel PNG of desktop/icons, which the
// build embeds (see CMakeLists.txt), so no file is read for it at run time.
#pragma once
#include <SDL2/SDL_video.h>

#include <cstddef>

extern const unsigned char kProgramIconPng[];
extern const size_t kProgramIconPngSize;

// The decoded icon in SDL_PIXELFORMAT_RGBA32; null (with a message on standard
// error) when it cannot be decoded. The caller frees it.
SDL_Surface* CreateProgramIconSurface();
// Gives the window the icon; without one the window keeps the desktop's default.
void SetProgramIcon(SDL_Window* window);
