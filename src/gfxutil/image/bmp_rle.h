// The run-length encoded BMP forms (RLE8 and RLE4), which stb_image does not read.
#pragma once
#include "gfxutil/image/decoded.h"

using BmpPalette = std::vector<Bgra>;

// Decodes the stream into an allocated image, rows bottom-up as BMP stores
// them. Pixels the stream skips keep the colour of palette entry 0. Fails
// when the stream ends before the end-of-bitmap code and the last row.
bool DecodeBmpRle(ImageBytes stream, int bitsPerPixel, const BmpPalette& palette, DecodedImage& image,
                  std::string& error);
