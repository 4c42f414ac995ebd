#pragma once
#include "gfxutil/image/decoded.h"

// In an A8R8G8B8 image, every pixel equal to the key (alpha included) becomes
// transparent black. A key of 0 means no key.
void ApplyColourKey(DecodedImage& image, D3DCOLOR key);
