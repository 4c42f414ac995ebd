#pragma once
#include "gfxutil/image/decoded.h"

bool IsDds(ImageBytes data);

// The top level of a DirectDraw surface: DXT1/3/5 kept as blocks; 8 to 32-bit
// RGB, luminance and alpha formats described by bit masks to A8R8G8B8.
bool DecodeDds(ImageBytes data, DecodedImage& image, std::string& error);
