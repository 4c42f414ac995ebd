#pragma once
#include "gfxutil/image/decoded.h"

bool IsPng(ImageBytes data);

// Any PNG colour type and depth (palette, grey, 16-bit, tRNS, interlaced) to A8R8G8B8.
bool DecodePng(ImageBytes data, DecodedImage& image, std::string& error);
