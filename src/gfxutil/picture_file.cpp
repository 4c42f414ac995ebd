#include "gfxutil/picture_file.h"

#include "gfxutil/image/png_write.h"
#include "gfxutil/image/scale.h"
#include "platform/os/atomic_file.h"

bool SavePicturePng(const std::string& path, const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                    uint32_t outWidth, uint32_t outHeight, std::string& error) {
  if (argb.size() != size_t{width} * height) {
    error = "the picture has " + std::to_string(argb.size()) + " pixels, not " + std::to_string(width) + "x" +
            std::to_string(height);
    return false;
  }
  DecodedImage picture;
  if (!AllocateImage(picture, width, height, D3DFMT_A8R8G8B8, error)) return false;
  for (size_t i = 0; i < argb.size(); ++i) {
    uint32_t pixel = argb[i];
    StorePixel(picture.bytes.data() + i * 4, static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
               static_cast<uint8_t>(pixel), 0xFF);
  }
  if (outWidth != width || outHeight != height) {
    DecodedImage scaled;
    if (!BoxScale(picture, outWidth, outHeight, scaled, error)) return false;
    picture = std::move(scaled);
  }
  std::vector<uint8_t> file;
  return EncodeRgbPng(picture, file, error) && WriteFileAtomically(path, file, error);
}
