// Arbitrary bytes decoded as a TGA file.
#include "gfxutil/image/tga.h"
#include "image_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckDecoder(DecodeTga, data, size);
  return 0;
}
