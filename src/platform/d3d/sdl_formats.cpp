#include "platform/d3d/sdl_formats.h"

D3DFORMAT D3DFormatOfSdl(Uint32 sdlFormat) {
  if (SDL_ISPIXELFORMAT_FOURCC(sdlFormat) || SDL_ISPIXELFORMAT_INDEXED(sdlFormat)) return D3DFMT_UNKNOWN;
  bool alpha = SDL_ISPIXELFORMAT_ALPHA(sdlFormat);
  switch (SDL_PIXELLAYOUT(sdlFormat)) {
    case SDL_PACKEDLAYOUT_8888:
    case SDL_PACKEDLAYOUT_2101010:  // deeper than any D3DFMT of a display; drawn in 8 bits per channel
      return alpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    case SDL_PACKEDLAYOUT_565: return D3DFMT_R5G6B5;
    case SDL_PACKEDLAYOUT_1555: return alpha ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
    case SDL_PACKEDLAYOUT_4444: return alpha ? D3DFMT_A4R4G4B4 : D3DFMT_X4R4G4B4;
    case SDL_PACKEDLAYOUT_332: return D3DFMT_R3G3B2;
  }
  if (SDL_BYTESPERPIXEL(sdlFormat) == 3 && SDL_ISPIXELFORMAT_ARRAY(sdlFormat)) return D3DFMT_R8G8B8;
  return D3DFMT_UNKNOWN;
}

bool IsBackBufferFormat(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4:
    case D3DFMT_R3G3B2: return true;
  }
  return false;
}

bool HasAlpha(D3DFORMAT format) {
  return format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4 ||
         format == D3DFMT_A8 || format == D3DFMT_A8R3G3B2;
}
