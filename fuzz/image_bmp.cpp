// Arbitrary bytes decoded as a BMP file.
#include "gfxutil/image/bmp.h"
#include "image_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckDecoder(DecodeBmp, data, size);
  return 0;
}
