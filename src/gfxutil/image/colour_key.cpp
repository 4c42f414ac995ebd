#include "gfxutil/image/colour_key.h"

#include <algorithm>

#include "gfxutil/image/bytes.h"

void ApplyColourKey(DecodedImage& image, D3DCOLOR key) {
  if (key == 0) return;
  for (size_t i = 0; i + 4 <= image.bytes.size(); i += 4) {
    if (LoadLe32(image.bytes, i) == key) std::fill_n(&image.bytes[i], 4, uint8_t{0});
  }
}
