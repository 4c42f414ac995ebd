// Arbitrary bytes decoded as a PPM/PGM file.
#include "gfxutil/image/pnm.h"
#include "image_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckDecoder(DecodePnm, data, size);
  return 0;
}
