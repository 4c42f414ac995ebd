// Arbitrary bytes decoded as a JPEG file.
#include "gfxutil/image/jpeg.h"
#include "image_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckDecoder(DecodeJpeg, data, size);
  return 0;
}
