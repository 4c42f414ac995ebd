// Little-endian fields of image headers. Callers check the bounds first.
#pragma once
#include <cstddef>
#include <cstdint>

#include "gfxutil/image_decoded.h"

inline uint16_t LoadLe16(ImageBytes data, size_t offset) {
  return static_cast<uint16_t>(data[offset] | data[offset + 1] << 8);
}

inline uint32_t LoadLe32(ImageBytes data, size_t offset) {
  return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
         static_cast<uint32_t>(data[offset + 2]) << 16 | static_cast<uint32_t>(data[offset + 3]) << 24;
}
