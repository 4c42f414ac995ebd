// The uncompressed and bit-field BMP forms, through stb_image's BMP decoder.
#pragma once
#include "gfxutil/image/decoded.h"

// The caller has checked that the file holds all the pixel rows its header declares.
bool DecodeBmpWithStb(ImageBytes data, DecodedImage& image, std::string& error);
