// Building image files in memory and on disk for the decoder tests.
#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "gfxutil/image/decoded.h"

using Bytes = std::vector<uint8_t>;

// Little-endian fields appended in order, as image headers store them.
struct ByteWriter {
  Bytes bytes;
  ByteWriter& U8(std::initializer_list<uint8_t> values);
  ByteWriter& U16(uint16_t value);
  ByteWriter& U32(uint32_t value);
  ByteWriter& Text(const std::string& text);
};

// The pixel at (x, y) of an A8R8G8B8 image as 0xAARRGGBB.
uint32_t PixelAt(const DecodedImage& image, uint32_t x, uint32_t y);

// Every pixel of an A8R8G8B8 image, row by row, as 0xAARRGGBB.
std::vector<uint32_t> Pixels(const DecodedImage& image);

// The file decoded, expecting success.
DecodedImage DecodeOkWith(ImageDecoder decode, const Bytes& file);
// The decoder's reason for refusing the file, expecting a refusal that leaves no pixels.
std::string DecodeErrorWith(ImageDecoder decode, const Bytes& file);

// A PNG written by libpng. rows: packed samples of each row as libpng takes
// them (16-bit samples big-endian).
struct PngImage {
  uint32_t width = 1, height = 1;
  int colourType = 6;  // PNG_COLOR_TYPE_RGBA
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<Bytes> rows{};
  std::vector<std::array<uint8_t, 3>> palette{};  // R, G, B
  Bytes paletteAlpha{};                        // tRNS for palette images
  int transparentGrey = -1;                    // tRNS for grey images
};
Bytes EncodePng(const PngImage& image);

// A JPEG written by libjpeg from interleaved samples (1 or 3 per pixel).
Bytes EncodeJpeg(uint32_t width, uint32_t height, int components, const Bytes& samples, bool progressive = false);

// A fresh directory, removed with its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  // Writes a file below the directory and returns its full path.
  std::string Write(const std::string& relative, const Bytes& bytes) const;

 private:
  std::string path_;
};

// Makes a directory current while it lives.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& path);
  ~ScopedCurrentDirectory();

 private:
  std::string previous_;
};
