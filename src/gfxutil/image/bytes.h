// Little-endian fields of image headers, by offset. Callers check the bounds first.
#pragma once
#include <cstddef>
#include <cstdint>

#include "gfxutil/byte_order.h"
#include "gfxutil/image/decoded.h"

inline uint16_t LoadLe16(ImageBytes data, size_t offset) { return Le16(data.data() + offset); }
inline uint32_t LoadLe32(ImageBytes data, size_t offset) { return Le32(data.data() + offset); }
