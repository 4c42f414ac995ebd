// Shared body of the image decoder fuzz targets: any input must either fail
// with a reason and no pixels, or give an image whose bytes match its size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfxutil/image/decoded.h"

inline DecodedImage CheckDecoder(ImageDecoder decode, const uint8_t* data, size_t size) {
  DecodedImage image;
  std::string error;
  if (decode(ImageBytes(data, size), image, error)) {
    if (image.bytes.size() != ImageDataSize(image.width, image.height, image.format)) std::abort();
  } else if (error.empty() || !image.bytes.empty()) {
    std::abort();
  }
  return image;
}
