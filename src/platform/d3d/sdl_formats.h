// Display formats: SDL pixel formats named as D3DFMT_ values.
#pragma once
#include <SDL2/SDL_pixels.h>

#include "platform/d3d/d3d8types.h"

// D3DFMT_UNKNOWN for formats no back buffer can take (indexed, YUV, unknown).
D3DFORMAT D3DFormatOfSdl(Uint32 sdlFormat);

// Formats a back buffer may have: the picture is always rendered in 8 bits per
// channel, these only say which display formats are accepted.
bool IsBackBufferFormat(D3DFORMAT format);
bool HasAlpha(D3DFORMAT format);
