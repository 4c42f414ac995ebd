// Expanding DXT1/3/5 blocks, for devices that do not take them and for scaling.
#pragma once
#include "gfxutil/image/decoded.h"

// blocks: a DXT1, DXT3 or DXT5 image; pixels receives it as A8R8G8B8. Fails
// with the reason when the expanded image would exceed the size limit.
bool DecompressDxt(const DecodedImage& blocks, DecodedImage& pixels, std::string& error);
