#include "gfxutil/image/dxt.h"

#include <array>

#include "gfxutil/image/bytes.h"

namespace {

using BlockTexels = std::array<Bgra, 16>;  // row by row

Bgra Rgb565(uint16_t value) {
  unsigned red = value >> 11, green = value >> 5 & 63, blue = value & 31;
  return {static_cast<uint8_t>(blue << 3 | blue >> 2), static_cast<uint8_t>(green << 2 | green >> 4),
          static_cast<uint8_t>(red << 3 | red >> 2), 255};
}

Bgra Mix(const Bgra& a, const Bgra& b, unsigned weightA, unsigned weightB) {
  Bgra out{};
  unsigned total = weightA + weightB;
  for (int i = 0; i < 3; ++i) out[i] = static_cast<uint8_t>((a[i] * weightA + b[i] * weightB + total / 2) / total);
  out[3] = 255;
  return out;
}

// The colour half of a block. DXT1 uses three colours and transparent black
// when the first endpoint is not greater; DXT3 and DXT5 always use four.
void DecodeColourBlock(ImageBytes block, bool allowTransparent, BlockTexels& texels) {
  uint16_t endpoint0 = LoadLe16(block, 0), endpoint1 = LoadLe16(block, 2);
  Bgra c0 = Rgb565(endpoint0), c1 = Rgb565(endpoint1);
  std::array<Bgra, 4> palette;
  if (endpoint0 > endpoint1 || !allowTransparent) {
    palette = {c0, c1, Mix(c0, c1, 2, 1), Mix(c0, c1, 1, 2)};
  } else {
    palette = {c0, c1, Mix(c0, c1, 1, 1), Bgra{0, 0, 0, 0}};
  }
  uint32_t indices = LoadLe32(block, 4);
  for (int i = 0; i < 16; ++i) texels[i] = palette[indices >> (2 * i) & 3];
}

void DecodeExplicitAlpha(ImageBytes block, BlockTexels& texels) {
  for (int i = 0; i < 16; ++i) {
    unsigned nibble = block[i / 2] >> (4 * (i % 2)) & 0x0F;
    texels[i][3] = static_cast<uint8_t>(nibble * 17);
  }
}

void DecodeInterpolatedAlpha(ImageBytes block, BlockTexels& texels) {
  unsigned a0 = block[0], a1 = block[1];
  std::array<uint8_t, 8> alphas{static_cast<uint8_t>(a0), static_cast<uint8_t>(a1)};
  unsigned steps = a0 > a1 ? 7 : 5;
  for (unsigned i = 1; i < steps; ++i) {
    alphas[i + 1] = static_cast<uint8_t>(((steps - i) * a0 + i * a1 + steps / 2) / steps);
  }
  if (steps == 5) {
    alphas[6] = 0;
    alphas[7] = 255;
  }
  uint64_t indices = 0;
  for (int i = 0; i < 6; ++i) indices |= uint64_t{block[2 + i]} << (8 * i);
  for (int i = 0; i < 16; ++i) texels[i][3] = alphas[indices >> (3 * i) & 7];
}

}  // namespace

bool DecompressDxt(const DecodedImage& blocks, DecodedImage& pixels, std::string& error) {
  if (!AllocateImage(pixels, blocks.width, blocks.height, D3DFMT_A8R8G8B8, error)) return false;
  size_t blockBytes = blocks.format == D3DFMT_DXT1 ? 8 : 16;
  size_t blocksAcross = (blocks.width + 3) / 4, blocksDown = (blocks.height + 3) / 4;
  for (size_t by = 0; by < blocksDown; ++by) {
    for (size_t bx = 0; bx < blocksAcross; ++bx) {
      ImageBytes block(blocks.bytes.data() + (by * blocksAcross + bx) * blockBytes, blockBytes);
      BlockTexels texels;
      if (blocks.format == D3DFMT_DXT1) {
        DecodeColourBlock(block, true, texels);
      } else {
        DecodeColourBlock(block.subspan(8), false, texels);
        if (blocks.format == D3DFMT_DXT3) {
          DecodeExplicitAlpha(block, texels);
        } else {
          DecodeInterpolatedAlpha(block, texels);
        }
      }
      for (size_t i = 0; i < 16; ++i) {
        size_t x = bx * 4 + i % 4, y = by * 4 + i / 4;
        if (x < pixels.width && y < pixels.height) {
          std::copy(texels[i].begin(), texels[i].end(), pixels.bytes.begin() + (y * pixels.width + x) * 4);
        }
      }
    }
  }
  return true;
}
