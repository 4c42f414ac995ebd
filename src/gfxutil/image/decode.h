// Image files of every supported format, recognised by their content rather
// than by their name: PNG, JPEG, BMP/DIB, DDS, PPM/PGM and TGA.
#pragma once
#include "gfxutil/image/decoded.h"

bool DecodeImage(ImageBytes data, DecodedImage& image, std::string& error);

// Reads and decodes one file; on failure image is empty and error says why.
bool LoadImageFile(const std::string& path, DecodedImage& image, std::string& error);
