// Image files of every supported format, recognised by their content rather
// than by their name: PNG, JPEG, BMP/DIB, DDS, PPM/PGM and TGA.
#pragma once
#include "gfxutil/image/decoded.h"

// The kinds of file, as recognised.
enum class ImageFileType : uint8_t { Png, Jpeg, Bmp, Dds, Pnm, Tga };

// `type`, when given, receives the kind of file the data was recognised as.
bool DecodeImage(ImageBytes data, DecodedImage& image, std::string& error, ImageFileType* type = nullptr);

// Reads and decodes one file; on failure image is empty and error says why.
bool LoadImageFile(const std::string& path, DecodedImage& image, std::string& error, ImageFileType* type = nullptr);
