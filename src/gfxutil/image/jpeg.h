#pragma once
#include "gfxutil/image/decoded.h"

bool IsJpeg(ImageBytes data);

// Baseline and progressive JPEG, grey or colour, to A8R8G8B8 (alpha 255).
bool DecodeJpeg(ImageBytes data, DecodedImage& image, std::string& error);
