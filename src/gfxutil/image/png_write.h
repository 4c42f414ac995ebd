#pragma once
#include "gfxutil/image/decoded.h"

// An A8R8G8B8 image as an 8-bit RGB PNG file in memory; alpha is left out.
bool EncodeRgbPng(const DecodedImage& image, std::vector<uint8_t>& file, std::string& error);
