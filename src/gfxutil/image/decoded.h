// The result of decoding an image file, shared by the decoders and the texture loader.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/d3d/d3d8types.h"

using ImageBytes = std::span<const uint8_t>;

// Decoded pixels, rows from the top. For D3DFMT_A8R8G8B8 each pixel is the
// bytes B, G, R, A (a little-endian 0xAARRGGBB); for D3DFMT_DXT1/3/5 the
// bytes are the 4x4 blocks, block rows from the top.
struct DecodedImage {
  uint32_t width = 0;
  uint32_t height = 0;
  D3DFORMAT format = D3DFMT_UNKNOWN;
  std::vector<uint8_t> bytes;
};

// No image may need more memory than this, whatever its header claims.
constexpr uint64_t kMaxImageBytes = 64ull << 20;

// The limit in force: kMaxImageBytes unless set lower. The fuzz targets lower
// it, so that an input claiming a huge image is refused cheaply instead of
// filling 64 MiB each time. Whole MiB, as the refusal names them; never above
// kMaxImageBytes.
uint64_t ImageByteLimit();
void SetImageByteLimit(uint64_t bytes);

// Bytes that an image of this size takes in D3DFMT_A8R8G8B8 or a DXT format.
uint64_t ImageDataSize(uint64_t width, uint64_t height, D3DFORMAT format);

// Sets the size and format and allocates the bytes (zeroed). Fails with the
// reason when a side is 0 or the image would exceed ImageByteLimit().
bool AllocateImage(DecodedImage& image, uint64_t width, uint64_t height, D3DFORMAT format, std::string& error);

// Fails with the reason unless an image of this size is allowed.
bool CheckImageSize(uint64_t width, uint64_t height, D3DFORMAT format, std::string& error);

using Bgra = std::array<uint8_t, 4>;  // one A8R8G8B8 pixel in memory order

inline void StorePixel(uint8_t* pixel, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
  pixel[0] = blue;
  pixel[1] = green;
  pixel[2] = red;
  pixel[3] = alpha;
}

// Every decoder has this shape: bytes of a whole file in, image or reason out.
using ImageDecoder = bool (*)(ImageBytes data, DecodedImage& image, std::string& error);
