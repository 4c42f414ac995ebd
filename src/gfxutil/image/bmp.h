#pragma once
#include "gfxutil/image/decoded.h"

bool IsBmp(ImageBytes data);

// Windows and OS/2 bitmaps (.bmp, .dib): 1, 4 and 8 bits with a palette,
// 16, 24 and 32 bits, bit fields (with an alpha mask, also after a 40-byte
// header), RLE8 and RLE4, bottom-up or top-down.
bool DecodeBmp(ImageBytes data, DecodedImage& image, std::string& error);
