#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include "gfxutil/image/decode.h"
#include "gfxutil/image/png.h"
#include "image_test_support.h"
#include "test_paths.h"

namespace {

DecodedImage DecodeOk(const Bytes& file) { return DecodeOkWith(DecodePng, file); }

TEST(PngDecode, RgbaPixelsInMemoryOrderBgra) {
  PngImage png{.width = 2, .height = 2, .colourType = PNG_COLOR_TYPE_RGBA, .bitDepth = 8};
  png.rows = {{0x10, 0x20, 0x30, 0x40, 0xFF, 0x00, 0x00, 0xFF}, {0x00, 0xFF, 0x00, 0x80, 0x00, 0x00, 0xFF, 0x00}};
  DecodedImage image = DecodeOk(EncodePng(png));
  EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);
  ASSERT_EQ(image.width, 2u);
  ASSERT_EQ(image.height, 2u);
  EXPECT_EQ(image.bytes[0], 0x30);  // blue first
  EXPECT_EQ(image.bytes[3], 0x40);  // alpha last
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0x40102030, 0xFFFF0000, 0x8000FF00, 0x000000FF}));
}

TEST(PngDecode, ColourTypesAndDepthsBecomeEightBitArgb) {
  PngImage rgb{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  rgb.rows = {{0x12, 0x34, 0x56}};
  EXPECT_EQ(Pixels(DecodeOk(EncodePng(rgb))), std::vector<uint32_t>{0xFF123456});

  PngImage grey1{.width = 3, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1};
  grey1.rows = {{0b10100000}};
  EXPECT_EQ(Pixels(DecodeOk(EncodePng(grey1))), (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));

  PngImage greyAlpha16{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY_ALPHA, .bitDepth = 16};
  greyAlpha16.rows = {{0xFF, 0xFF, 0x80, 0x80}};
  EXPECT_EQ(Pixels(DecodeOk(EncodePng(greyAlpha16))), std::vector<uint32_t>{0x80FFFFFF});

  PngImage rgb16{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 16};
  rgb16.rows = {{0x00, 0x00, 0x80, 0x80, 0xFF, 0xFF}};  // 0x8080 is exactly 128 / 255
  EXPECT_EQ(Pixels(DecodeOk(EncodePng(rgb16))), std::vector<uint32_t>{0xFF0080FF});
}

TEST(PngDecode, PaletteAndTransparencyChunk) {
  PngImage png{.width = 4, .height = 1, .colourType = PNG_COLOR_TYPE_PALETTE, .bitDepth = 2};
  png.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}};
  png.paletteAlpha = {0, 128};  // entries beyond the tRNS list stay opaque
  png.rows = {{0b00011011}};
  EXPECT_EQ(Pixels(DecodeOk(EncodePng(png))),
            (std::vector<uint32_t>{0x00FF0000, 0x8000FF00, 0xFF0000FF, 0xFF090909}));

  PngImage grey{.width = 2, .height = 1, .colourType = PNG_COLOR_TYPE_GRAY, .bitDepth = 8};
  grey.transparentGrey = 0x40;
  grey.rows = {{0x40, 0x41}};
  EXPECT_EQ(Pixels(DecodeOk(EncodePng(grey))), (std::vector<uint32_t>{0x00404040, 0xFF414141}));
}

TEST(PngDecode, InterlacedMatchesPlain) {
  PngImage png{.width = 9, .height = 7, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  for (uint8_t y = 0; y < png.height; ++y) {
    Bytes row;
    for (uint8_t x = 0; x < png.width; ++x) row.insert(row.end(), {static_cast<uint8_t>(x * 20), static_cast<uint8_t>(y * 30), 7});
    png.rows.push_back(row);
  }
  DecodedImage plain = DecodeOk(EncodePng(png));
  png.interlaced = true;
  DecodedImage interlaced = DecodeOk(EncodePng(png));
  EXPECT_EQ(Pixels(interlaced), Pixels(plain));
  EXPECT_EQ(PixelAt(interlaced, 8, 6), 0xFFA0B407u);
}

TEST(PngDecode, DamagedFilesFailWithReason) {
  PngImage png{.width = 16, .height = 16, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  png.rows.assign(16, Bytes(48, 0x5A));
  Bytes file = EncodePng(png);
  DecodedImage image;
  std::string error;

  Bytes truncated(file.begin(), file.end() - 30);  // inside the image data
  EXPECT_FALSE(DecodePng(truncated, image, error));
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  EXPECT_TRUE(image.bytes.empty());

  Bytes badCrc = file;
  badCrc[29] ^= 0xFF;  // the IHDR checksum
  error.clear();
  EXPECT_FALSE(DecodePng(badCrc, image, error));
  EXPECT_FALSE(error.empty());

  EXPECT_FALSE(DecodePng(Bytes(file.begin(), file.begin() + 8), image, error));
}

// A one-pixel PNG whose header is changed to claim another size, checksum fixed.
Bytes PngClaimingSize(uint32_t width, uint32_t height) {
  PngImage png{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  png.rows = {{1, 2, 3}};
  Bytes file = EncodePng(png);
  // IHDR data starts at 16: width and height, big-endian; then its checksum at 29.
  for (int i = 0; i < 4; ++i) {
    file[16 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
    file[20 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
  }
  uint32_t crc = static_cast<uint32_t>(crc32(0, file.data() + 12, 17));
  for (int i = 0; i < 4; ++i) file[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  return file;
}

TEST(PngDecode, DeclaredSizesTheFileCannotHoldFailBeforeAllocating) {
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(DecodePng(PngClaimingSize(16384, 16384), image, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_FALSE(DecodePng(PngClaimingSize(2048, 2048), image, error));
  EXPECT_NE(error.find("too short for a 2048x2048 image"), std::string::npos) << error;
  error.clear();
  EXPECT_FALSE(DecodePng(PngClaimingSize(2, 2), image, error));  // small enough to try: libpng finds too little data
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(image.bytes.empty());
}

TEST(PngDecode, SharedSampleFromAnotherTool) {
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(LoadImageFile(TestDataPath("x-peer/test.png"), image, error)) << error;
  EXPECT_EQ(image.width, 512u);
  EXPECT_EQ(image.height, 512u);
  EXPECT_EQ(PixelAt(image, 100, 100) >> 24, 0xFFu);  // RGB file: opaque
}

}  // namespace
