// Arbitrary bytes decoded as a PNG file.
#include "gfxutil/image/png.h"
#include "image_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckDecoder(DecodePng, data, size);
  return 0;
}
