#include <gtest/gtest.h>

#include "gfxutil/image/dds.h"
#include "gfxutil/image/dxt.h"
#include "image_test_support.h"

namespace {

constexpr uint32_t kAlphaPixels = 0x1, kFourCc = 0x4, kRgb = 0x40, kLuminance = 0x20000;

struct PixelFormat {
  uint32_t flags = kRgb;
  uint32_t fourCc = 0;
  uint32_t bits = 32;
  uint32_t red = 0x00FF0000, green = 0x0000FF00, blue = 0x000000FF, alpha = 0;
};

Bytes Dds(uint32_t width, uint32_t height, const PixelFormat& format, const Bytes& data, uint32_t caps2 = 0) {
  ByteWriter w;
  w.Text("DDS ").U32(124).U32(0x1007).U32(height).U32(width).U32(0).U32(0).U32(1);
  for (int i = 0; i < 11; ++i) w.U32(0);
  w.U32(32).U32(format.flags).U32(format.fourCc).U32(format.bits);
  w.U32(format.red).U32(format.green).U32(format.blue).U32(format.alpha);
  w.U32(0x1000).U32(caps2).U32(0).U32(0).U32(0);
  w.bytes.insert(w.bytes.end(), data.begin(), data.end());
  return w.bytes;
}

DecodedImage DecodeOk(const Bytes& file) { return DecodeOkWith(DecodeDds, file); }

std::string DecodeError(const Bytes& file) { return DecodeErrorWith(DecodeDds, file); }

DecodedImage Expanded(const DecodedImage& blocks) {
  DecodedImage pixels;
  std::string error;
  EXPECT_TRUE(DecompressDxt(blocks, pixels, error)) << error;
  return pixels;
}

TEST(DdsDecode, MaskedFormatsBecomeArgb) {
  PixelFormat argb{.flags = kRgb | kAlphaPixels, .alpha = 0xFF000000};
  EXPECT_EQ(Pixels(DecodeOk(Dds(2, 1, argb, {1, 2, 3, 4, 5, 6, 7, 8}))), (std::vector<uint32_t>{0x04030201, 0x08070605}));
  PixelFormat xrgb;  // no alpha flag: opaque whatever the fourth byte says
  EXPECT_EQ(Pixels(DecodeOk(Dds(1, 1, xrgb, {1, 2, 3, 4}))), std::vector<uint32_t>{0xFF030201});
  PixelFormat rgb24{.bits = 24};
  EXPECT_EQ(Pixels(DecodeOk(Dds(2, 1, rgb24, {1, 2, 3, 4, 5, 6}))), (std::vector<uint32_t>{0xFF030201, 0xFF060504}));
  PixelFormat r5g6b5{.bits = 16, .red = 0xF800, .green = 0x07E0, .blue = 0x001F};
  EXPECT_EQ(Pixels(DecodeOk(Dds(2, 1, r5g6b5, {0xE0, 0x07, 0x1F, 0x00}))), (std::vector<uint32_t>{0xFF00FF00, 0xFF0000FF}));
  PixelFormat a4r4g4b4{.flags = kRgb | kAlphaPixels, .bits = 16, .red = 0x0F00, .green = 0x00F0, .blue = 0x000F,
                       .alpha = 0xF000};
  EXPECT_EQ(Pixels(DecodeOk(Dds(1, 1, a4r4g4b4, {0x5F, 0x8A}))), std::vector<uint32_t>{0x88AA55FF});
  PixelFormat luminance{.flags = kLuminance, .bits = 8, .red = 0xFF, .green = 0, .blue = 0};
  EXPECT_EQ(Pixels(DecodeOk(Dds(1, 1, luminance, {0x40}))), std::vector<uint32_t>{0xFF404040});
}

TEST(DdsDecode, DxtKeptAsBlocks) {
  Bytes blocks(2 * 2 * 8);
  for (size_t i = 0; i < blocks.size(); ++i) blocks[i] = static_cast<uint8_t>(i * 7);
  DecodedImage image = DecodeOk(Dds(8, 6, {.flags = kFourCc, .fourCc = D3DFMT_DXT1, .bits = 0}, blocks));
  EXPECT_EQ(image.format, D3DFMT_DXT1);
  EXPECT_EQ(image.width, 8u);
  EXPECT_EQ(image.height, 6u);
  EXPECT_EQ(image.bytes, blocks);
  DecodedImage dxt5 = DecodeOk(Dds(4, 4, {.flags = kFourCc, .fourCc = D3DFMT_DXT5, .bits = 0}, Bytes(16, 1)));
  EXPECT_EQ(dxt5.format, D3DFMT_DXT5);
}

TEST(DdsDecode, UnsupportedAndDamagedFilesFail) {
  PixelFormat dx10{.flags = kFourCc, .fourCc = 0x30315844};  // 'DX10'
  EXPECT_NE(DecodeError(Dds(4, 4, dx10, Bytes(64))).find("'DX10'"), std::string::npos);
  EXPECT_NE(DecodeError(Dds(4, 4, PixelFormat{}, Bytes(64 * 6), 0x200)).find("cube"), std::string::npos);
  EXPECT_NE(DecodeError(Dds(4, 4, PixelFormat{}, Bytes(63))).find("truncated"), std::string::npos);
  EXPECT_NE(DecodeError(Dds(8, 8, {.flags = kFourCc, .fourCc = D3DFMT_DXT3}, Bytes(63))).find("truncated"),
            std::string::npos);
  EXPECT_NE(DecodeError(Dds(1, 1, {.bits = 12}, Bytes(4))).find("pixel format"), std::string::npos);
  EXPECT_NE(DecodeError(Dds(1, 1, {.bits = 16}, Bytes(4))).find("pixel format"), std::string::npos);  // masks beyond 16 bits
  EXPECT_NE(DecodeError(Dds(70000, 70000, PixelFormat{}, {})).find("too large"), std::string::npos);
  EXPECT_FALSE(DecodeError(Bytes{'D', 'D', 'S', ' ', 124, 0}).empty());
}

// One DXT1 block: endpoints, then 2-bit indices for the 16 texels, row by row, lowest bits first.
Bytes Dxt1Block(uint16_t c0, uint16_t c1, uint32_t indices) {
  return ByteWriter().U16(c0).U16(c1).U32(indices).bytes;
}

TEST(DxtDecompress, Dxt1FourAndThreeColourBlocks) {
  // Red over blue: four colours. Texels 0..3 take indices 0..3.
  DecodedImage image{4, 4, D3DFMT_DXT1, Dxt1Block(0xF800, 0x001F, 0b11100100)};
  DecodedImage pixels = Expanded(image);
  EXPECT_EQ(pixels.format, D3DFMT_A8R8G8B8);
  EXPECT_EQ(PixelAt(pixels, 0, 0), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(pixels, 1, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(pixels, 2, 0), 0xFFAA0055u);  // two thirds red
  EXPECT_EQ(PixelAt(pixels, 3, 0), 0xFF5500AAu);
  EXPECT_EQ(PixelAt(pixels, 0, 3), 0xFFFF0000u);

  // Blue before red: three colours and transparent black.
  image.bytes = Dxt1Block(0x001F, 0xF800, 0b11100100);
  pixels = Expanded(image);
  EXPECT_EQ(PixelAt(pixels, 2, 0), 0xFF800080u);
  EXPECT_EQ(PixelAt(pixels, 3, 0), 0x00000000u);
}

TEST(DxtDecompress, Dxt3AndDxt5Alpha) {
  Bytes colour = Dxt1Block(0x001F, 0xF800, 0);  // DXT3/5 colour blocks always use four colours: all texels blue
  Bytes explicitAlpha = {0xF0, 0x00, 0, 0, 0, 0, 0, 0x70};  // texel 1: 15, texel 15: 7
  Bytes dxt3 = explicitAlpha;
  dxt3.insert(dxt3.end(), colour.begin(), colour.end());
  DecodedImage pixels = Expanded({4, 4, D3DFMT_DXT3, dxt3});
  EXPECT_EQ(PixelAt(pixels, 0, 0), 0x000000FFu);
  EXPECT_EQ(PixelAt(pixels, 1, 0), 0xFF0000FFu);
  EXPECT_EQ(PixelAt(pixels, 3, 3), 0x770000FFu);

  // Alpha endpoints 200 and 100 (eight steps): texel 0 index 0, texel 1 index 1, texel 2 index 2.
  Bytes dxt5 = {200, 100, 0b10001000, 0, 0, 0, 0, 0};
  dxt5.insert(dxt5.end(), colour.begin(), colour.end());
  pixels = Expanded({4, 4, D3DFMT_DXT5, dxt5});
  EXPECT_EQ(PixelAt(pixels, 0, 0) >> 24, 200u);
  EXPECT_EQ(PixelAt(pixels, 1, 0) >> 24, 100u);
  EXPECT_EQ(PixelAt(pixels, 2, 0) >> 24, 186u);  // (6 * 200 + 100) / 7
  // Endpoints 100 and 200 (six steps): indices 6 and 7 are 0 and 255.
  dxt5[0] = 100;
  dxt5[1] = 200;
  dxt5[2] = 6 | 7 << 3;  // texel 0 index 6, texel 1 index 7
  pixels = Expanded({4, 4, D3DFMT_DXT5, dxt5});
  EXPECT_EQ(PixelAt(pixels, 0, 0) >> 24, 0u);
  EXPECT_EQ(PixelAt(pixels, 1, 0) >> 24, 255u);
}

TEST(DxtDecompress, PartialEdgeBlocksAndSizeLimit) {
  DecodedImage image{5, 3, D3DFMT_DXT1, {}};
  for (int i = 0; i < 2; ++i) {
    Bytes block = Dxt1Block(i == 0 ? 0xF800 : 0x07E0, 0, 0);
    image.bytes.insert(image.bytes.end(), block.begin(), block.end());
  }
  DecodedImage pixels = Expanded(image);
  EXPECT_EQ(pixels.width, 5u);
  EXPECT_EQ(pixels.height, 3u);
  EXPECT_EQ(PixelAt(pixels, 3, 2), 0xFFFF0000u);
  EXPECT_EQ(PixelAt(pixels, 4, 2), 0xFF00FF00u);

  DecodedImage huge{16384, 16384, D3DFMT_DXT1, {}};  // 128 MiB of blocks would expand to 1 GiB
  std::string error;
  EXPECT_FALSE(DecompressDxt(huge, pixels, error));
  EXPECT_NE(error.find("too large"), std::string::npos);
}

}  // namespace
