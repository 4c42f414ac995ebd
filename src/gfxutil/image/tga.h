#pragma once
#include "gfxutil/image/decoded.h"

// TGA has no signature: true when the header is that of an image type this decoder reads.
bool IsTga(ImageBytes data);

// Colour-mapped, true-colour and grey TGA, uncompressed or run-length encoded,
// in any of the four origins, to A8R8G8B8. 16-bit pixels carry alpha when the
// header declares an attribute bit.
bool DecodeTga(ImageBytes data, DecodedImage& image, std::string& error);
