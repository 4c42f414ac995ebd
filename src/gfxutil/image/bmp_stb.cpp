#include "gfxutil/image/bmp_stb.h"

#include <climits>

// Private to this file: the functions of the library that it does not call are unused.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS (1 << 24)
#include <stb_image.h>
#pragma GCC diagnostic pop

bool DecodeBmpWithStb(ImageBytes data, DecodedImage& image, std::string& error) {
  if (data.size() > INT_MAX) {
    error = "BMP file too large";
    return false;
  }
  int width = 0, height = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(data.data(), static_cast<int>(data.size()), &width, &height, &channels, 4);
  if (!pixels) {
    error = std::string("BMP not decoded: ") + stbi_failure_reason();
    return false;
  }
  bool ok = AllocateImage(image, static_cast<uint32_t>(width), static_cast<uint32_t>(height), D3DFMT_A8R8G8B8, error);
  if (ok) {
    const stbi_uc* source = pixels;
    for (size_t i = 0; i < image.bytes.size(); i += 4, source += 4) {
      StorePixel(&image.bytes[i], source[0], source[1], source[2], source[3]);
    }
  }
  stbi_image_free(pixels);
  return ok;
}
