// Shared body of the image decoder fuzz targets: any input must either fail
// with a reason and no pixels, or give an image whose bytes match its size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfxutil/image/decoded.h"

// 512 x 512 pixels reach every decoding path; a larger claim is refused at
// once instead of costing each input up to 64 MiB of painting.
constexpr uint64_t kFuzzImageBytes = 1u << 20;

inline DecodedImage CheckDecoder(ImageDecoder decode, const uint8_t* data, size_t size) {
  SetImageByteLimit(kFuzzImageBytes);
  DecodedImage image;
  std::string error;
  if (decode(ImageBytes(data, size), image, error)) {
    if (image.bytes.size() != ImageDataSize(image.width, image.height, image.format)) std::abort();
  } else if (error.empty() || !image.bytes.empty()) {
    std::abort();
  }
  return image;
}
