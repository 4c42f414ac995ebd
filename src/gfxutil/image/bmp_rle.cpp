#include "gfxutil/image/bmp_rle.h"

#include <algorithm>

namespace {

class RlePainter {
 public:
  RlePainter(const BmpPalette& palette, DecodedImage& image) : palette_(palette), image_(image) {
    for (size_t i = 0; i < image.bytes.size(); i += 4) std::copy_n(Colour(0).begin(), 4, &image.bytes[i]);
  }

  // Writes one palette index at the cursor and moves right; outside the image nothing is written.
  void Put(unsigned index) {
    if (x < image_.width && row < image_.height) {
      size_t y = image_.height - 1 - row;
      std::copy_n(Colour(index).begin(), 4, &image_.bytes[(y * image_.width + x) * 4]);
    }
    ++x;
  }

  bool Finished() const { return row >= image_.height; }

  uint64_t x = 0;
  uint64_t row = 0;  // counted from the bottom

 private:
  Bgra Colour(unsigned index) const {
    return index < palette_.size() ? palette_[index] : Bgra{0, 0, 0, 255};
  }

  const BmpPalette& palette_;
  DecodedImage& image_;
};

// The index of pixel i of a run or literal, given the byte that holds it.
unsigned PixelIndex(uint8_t byte, int bitsPerPixel, size_t i) {
  if (bitsPerPixel == 8) return byte;
  return (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
}

}  // namespace

bool DecodeBmpRle(ImageBytes stream, int bitsPerPixel, const BmpPalette& palette, DecodedImage& image,
                  std::string& error) {
  RlePainter painter(palette, image);
  size_t offset = 0;
  while (!painter.Finished()) {
    if (stream.size() - offset < 2) break;
    uint8_t count = stream[offset], value = stream[offset + 1];
    offset += 2;
    if (count > 0) {
      for (size_t i = 0; i < count; ++i) painter.Put(PixelIndex(value, bitsPerPixel, i));
    } else if (value == 0) {  // end of line
      painter.x = 0;
      ++painter.row;
    } else if (value == 1) {  // end of bitmap
      return true;
    } else if (value == 2) {  // move right and up
      if (stream.size() - offset < 2) break;
      painter.x += stream[offset];
      painter.row += stream[offset + 1];
      offset += 2;
    } else {  // literal pixels, padded to a 16-bit boundary
      size_t bytes = bitsPerPixel == 8 ? value : (value + 1) / 2;
      if (stream.size() - offset < bytes) break;
      for (size_t i = 0; i < value; ++i) {
        painter.Put(PixelIndex(stream[offset + (bitsPerPixel == 8 ? i : i / 2)], bitsPerPixel, i));
      }
      offset += std::min(stream.size() - offset, bytes + bytes % 2);
    }
  }
  if (painter.Finished()) return true;
  error = "BMP run-length data ends early (truncated file)";
  return false;
}
