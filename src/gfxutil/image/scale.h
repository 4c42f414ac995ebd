#pragma once
#include "gfxutil/image/decoded.h"

// Resamples an A8R8G8B8 image to width x height with a box filter: each target
// pixel is the area-weighted mean of the source pixels it covers.
bool BoxScale(const DecodedImage& source, uint32_t width, uint32_t height, DecodedImage& target, std::string& error);
