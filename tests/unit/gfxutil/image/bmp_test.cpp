#include <gtest/gtest.h>

#include "gfxutil/image/bmp.h"
#include "image_test_support.h"

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

// A bitmap with a 40-byte info header; masks (bit fields) and palette (B, G, R, 0
// quads) follow it, then the pixel data.
Bytes Bmp(int32_t width, int32_t height, uint16_t bitsPerPixel, uint32_t compression, const Bytes& pixels,
          const Bytes& palette = {}, const Bytes& masks = {}) {
  ByteWriter w;
  uint32_t pixelOffset = static_cast<uint32_t>(14 + 40 + masks.size() + palette.size());
  w.Text("BM").U32(pixelOffset + static_cast<uint32_t>(pixels.size())).U32(0).U32(pixelOffset);
  w.U32(40).U32(static_cast<uint32_t>(width)).U32(static_cast<uint32_t>(height)).U16(1).U16(bitsPerPixel);
  w.U32(compression).U32(static_cast<uint32_t>(pixels.size())).U32(2835).U32(2835);
  w.U32(static_cast<uint32_t>(palette.size() / 4)).U32(0);
  w.bytes.insert(w.bytes.end(), masks.begin(), masks.end());
  w.bytes.insert(w.bytes.end(), palette.begin(), palette.end());
  w.bytes.insert(w.bytes.end(), pixels.begin(), pixels.end());
  return w.bytes;
}

DecodedImage DecodeOk(const Bytes& file) { return DecodeOkWith(DecodeBmp, file); }

std::string DecodeError(const Bytes& file) { return DecodeErrorWith(DecodeBmp, file); }

const Bytes kFourColours = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};  // red green blue white

TEST(BmpDecode, TwentyFourBitBottomUpWithRowPadding) {
  // 3x2: the bottom row first, each row padded to 12 bytes.
  Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,  10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
  DecodedImage image = DecodeOk(Bmp(3, 2, 24, kRgb, pixels));
  EXPECT_EQ(Pixels(image),
            (std::vector<uint32_t>{0xFF0C0B0A, 0xFF0F0E0D, 0xFF121110, 0xFF030201, 0xFF060504, 0xFF090807}));
}

TEST(BmpDecode, TopDownThirtyTwoBit) {
  Bytes pixels = {1, 2, 3, 0x80, 4, 5, 6, 0x40};  // 1x2, top row first
  DecodedImage image = DecodeOk(Bmp(1, -2, 32, kRgb, pixels));
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0x80030201, 0x40060504}));
}

TEST(BmpDecode, PaletteDepths) {
  EXPECT_EQ(Pixels(DecodeOk(Bmp(4, 1, 8, kRgb, {3, 2, 1, 0}, kFourColours))),
            (std::vector<uint32_t>{0xFFFFFFFF, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}));
  EXPECT_EQ(Pixels(DecodeOk(Bmp(3, 1, 4, kRgb, {0x12, 0x30, 0, 0}, kFourColours))),
            (std::vector<uint32_t>{0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));
  Bytes twoColours = {0, 0, 0, 0, 255, 255, 255, 0};
  EXPECT_EQ(Pixels(DecodeOk(Bmp(3, 1, 1, kRgb, {0b10100000, 0, 0, 0}, twoColours))),
            (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));
}

TEST(BmpDecode, SixteenBitDefaultAndBitFields) {
  // Default 16-bit layout is X1R5G5B5: 0x7C00 red, 0x001F blue.
  EXPECT_EQ(Pixels(DecodeOk(Bmp(2, 1, 16, kRgb, {0x00, 0x7C, 0x1F, 0x00}))),
            (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
  ByteWriter masks;
  masks.U32(0xF800).U32(0x07E0).U32(0x001F);  // R5G6B5
  EXPECT_EQ(Pixels(DecodeOk(Bmp(2, 1, 16, kBitFields, {0xE0, 0x07, 0x00, 0xF8}, {}, masks.bytes))),
            (std::vector<uint32_t>{0xFF00FF00, 0xFFFF0000}));
}

TEST(BmpDecode, BitFieldsWithAnAlphaMaskAfterTheInfoHeaderKeepTheirAlpha) {
  // A fourth mask after the three colour masks of a 40-byte header is the alpha mask.
  const struct {
    const char* form;
    uint16_t bits;
    uint32_t masks[4];  // red, green, blue, alpha
    Bytes pixels;       // 2x1, one row of whole 32-bit words
    std::vector<uint32_t> expected;
  } cases[] = {
      {"A8R8G8B8", 32, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {1, 2, 3, 0x80, 4, 5, 6, 0x00},
       {0x80030201, 0x00060504}},
      {"R8G8B8A8", 32, {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF}, {0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0xFF},
       {0x44112233, 0x00FF0000}},
      {"A1R5G5B5", 16, {0x7C00, 0x03E0, 0x001F, 0x8000}, {0x00, 0xFC, 0x1F, 0x00}, {0xFFFF0000, 0x000000FF}},
      {"A4R4G4B4", 16, {0x0F00, 0x00F0, 0x000F, 0xF000}, {0x00, 0x8F, 0x0F, 0x00}, {0x88FF0000, 0x000000FF}},
      // Alpha kept even when every pixel is clear, as with a version 4 header's alpha mask.
      {"A8R8G8B8 all clear", 32, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {1, 2, 3, 0, 4, 5, 6, 0},
       {0x00030201, 0x00060504}},
      // No alpha bits in the fourth mask: opaque.
      {"X8R8G8B8", 32, {0x00FF0000, 0x0000FF00, 0x000000FF, 0}, {1, 2, 3, 0x80, 4, 5, 6, 0}, {0xFF030201, 0xFF060504}},
  };
  for (const auto& c : cases) {
    ByteWriter masks;
    for (uint32_t mask : c.masks) masks.U32(mask);
    EXPECT_EQ(Pixels(DecodeOk(Bmp(2, 1, c.bits, kBitFields, c.pixels, {}, masks.bytes))), c.expected) << c.form;
  }
}

TEST(BmpDecode, CoreHeaderBitmap) {
  ByteWriter w;
  w.Text("BM").U32(26 + 4).U32(0).U32(26);
  w.U32(12).U16(1).U16(1).U16(1).U16(24);
  w.U8({0x11, 0x22, 0x33, 0});
  EXPECT_EQ(Pixels(DecodeOk(w.bytes)), std::vector<uint32_t>{0xFF332211});
}

TEST(BmpDecode, RunLengthEightBit) {
  // 5x3, bottom row first: a run of 2, then a literal of 3 (padded to a word);
  // end of line; a delta of (2, 1) skips to the top row; a run of 1; end of bitmap.
  Bytes stream = {2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 1, 1, 0, 1};
  DecodedImage image = DecodeOk(Bmp(5, 3, 8, kRle8, stream, kFourColours));
  const uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, white = 0xFFFFFFFF;
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{red, red, green, red, red,       // top: skipped, then green
                                                  red, red, red, red, red,          // middle: skipped
                                                  green, green, green, blue, white}));
}

TEST(BmpDecode, RunLengthFourBitWithOddLiteral) {
  // 4x1: run of 2 alternating 1 and 2, literal of 3 (two bytes, padded to a word)
  // of which one falls outside the row and is dropped.
  Bytes stream = {2, 0x12, 0, 3, 0x30, 0x10, 0, 1};
  DecodedImage image = DecodeOk(Bmp(4, 1, 4, kRle4, stream, kFourColours));
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000}));
}

TEST(BmpDecode, DamagedFilesFailWithReason) {
  Bytes full = Bmp(4, 4, 24, kRgb, Bytes(48, 7));
  EXPECT_NE(DecodeError(Bytes(full.begin(), full.end() - 1)).find("truncated"), std::string::npos);
  EXPECT_NE(DecodeError(Bmp(4, 1, 8, kRle8, {4, 1}, kFourColours)).find("truncated"), std::string::npos);
  EXPECT_NE(DecodeError(Bmp(4, 1, 8, kRle8, {0, 5, 1}, kFourColours)).find("truncated"), std::string::npos);
  EXPECT_NE(DecodeError(Bmp(4, 1, 24, 4, Bytes(16, 0))).find("compression"), std::string::npos);
  EXPECT_NE(DecodeError(Bmp(4, -1, 8, kRle8, {0, 1}, kFourColours)).find("top-down"), std::string::npos);
  EXPECT_NE(DecodeError(Bmp(0, 1, 24, kRgb, {})).find("no pixels"), std::string::npos);
  EXPECT_NE(DecodeError(Bmp(100000, 100000, 24, kRgb, {})).find("too large"), std::string::npos);
  EXPECT_FALSE(DecodeError(Bytes{'B', 'M', 0}).empty());
}

}  // namespace
