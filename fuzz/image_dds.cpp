// Arbitrary bytes decoded as a DDS file; DXT blocks are expanded too.
#include "gfxutil/image/dds.h"
#include "gfxutil/image/dxt.h"
#include "image_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodedImage image = CheckDecoder(DecodeDds, data, size);
  if (image.format != D3DFMT_A8R8G8B8 && !image.bytes.empty()) {
    DecodedImage pixels;
    std::string error;
    if (DecompressDxt(image, pixels, error) && pixels.bytes.size() != size_t{4} * image.width * image.height) {
      std::abort();
    }
  }
  return 0;
}
