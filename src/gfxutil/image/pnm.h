#pragma once
#include "gfxutil/image/decoded.h"

bool IsPnm(ImageBytes data);

// Portable pixmaps and greymaps: binary P6/P5 and plain-text P3/P2, any
// maximum value up to 65535 (samples scaled to 8 bits), to A8R8G8B8.
bool DecodePnm(ImageBytes data, DecodedImage& image, std::string& error);
