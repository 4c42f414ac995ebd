#include "platform/os/program_icon.h"

#include <png.h>

#include <cstdio>

#include "platform/os/sdl_library.h"

SDL_Surface* CreateProgramIconSurface() {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, kProgramIconPng, kProgramIconPngSize)) {
    std::fprintf(stderr, "program icon: %s\n", image.message);
    return nullptr;
  }
  image.format = PNG_FORMAT_RGBA;
  SDL_Surface* surface = Sdl().SDL_CreateRGBSurfaceWithFormat(0, static_cast<int>(image.width),
                                                        static_cast<int>(image.height), 32, SDL_PIXELFORMAT_RGBA32);
  if (!surface) {
    std::fprintf(stderr, "program icon: %s\n", Sdl().SDL_GetError());
    png_image_free(&image);
    return nullptr;
  }
  if (!png_image_finish_read(&image, nullptr, surface->pixels, surface->pitch, nullptr)) {
    std::fprintf(stderr, "program icon: %s\n", image.message);
    Sdl().SDL_FreeSurface(surface);
    return nullptr;
  }
  return surface;
}

void SetProgramIcon(SDL_Window* window) {
  SDL_Surface* icon = CreateProgramIconSurface();
  if (!icon) return;
  Sdl().SDL_SetWindowIcon(window, icon);
  Sdl().SDL_FreeSurface(icon);
}
