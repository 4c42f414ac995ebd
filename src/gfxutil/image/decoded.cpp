#include "gfxutil/image/decoded.h"

#include <algorithm>

namespace {

uint64_t DxtBlockBytes(D3DFORMAT format) { return format == D3DFMT_DXT1 ? 8 : 16; }

uint64_t g_imageByteLimit = kMaxImageBytes;

}  // namespace

uint64_t ImageByteLimit() { return g_imageByteLimit; }

void SetImageByteLimit(uint64_t bytes) { g_imageByteLimit = std::min(bytes, kMaxImageBytes); }

uint64_t ImageDataSize(uint64_t width, uint64_t height, D3DFORMAT format) {
  if (format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5) {
    return ((width + 3) / 4) * ((height + 3) / 4) * DxtBlockBytes(format);
  }
  return width * height * 4;
}

bool CheckImageSize(uint64_t width, uint64_t height, D3DFORMAT format, std::string& error) {
  if (width == 0 || height == 0) {
    error = "image has no pixels (" + std::to_string(width) + "x" + std::to_string(height) + ")";
    return false;
  }
  // Sides beyond 2^24 would overflow the size computation; no real image has them.
  constexpr uint64_t kMaxSide = 1u << 24;
  if (width > kMaxSide || height > kMaxSide || ImageDataSize(width, height, format) > g_imageByteLimit) {
    error = "image too large (" + std::to_string(width) + "x" + std::to_string(height) + ", limit " +
            std::to_string(g_imageByteLimit >> 20) + " MiB)";
    return false;
  }
  return true;
}

bool AllocateImage(DecodedImage& image, uint64_t width, uint64_t height, D3DFORMAT format, std::string& error) {
  if (!CheckImageSize(width, height, format, error)) return false;
  image.width = static_cast<uint32_t>(width);
  image.height = static_cast<uint32_t>(height);
  image.format = format;
  image.bytes.assign(ImageDataSize(width, height, format), 0);
  return true;
}
