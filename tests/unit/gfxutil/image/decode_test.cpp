#include <gtest/gtest.h>
#include <png.h>

#include "gfxutil/image/decode.h"
#include "image_test_support.h"

namespace {

Bytes SmallPng() {
  PngImage png{.width = 1, .height = 1, .colourType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  png.rows = {{0x11, 0x22, 0x33}};
  return EncodePng(png);
}

TEST(ImageDecode, FormatChosenByContentNotByName) {
  TempDir dir;
  ByteWriter tga;  // 1x1, 24 bits
  tga.U8({0, 0, 2, 0, 0, 0, 0, 0}).U16(0).U16(0).U16(1).U16(1).U8({24, 0, 0x33, 0x22, 0x11});
  ByteWriter bmp;  // 1x1, 24 bits, row padded to 4 bytes
  bmp.Text("BM").U32(58).U32(0).U32(54).U32(40).U32(1).U32(1).U16(1).U16(24);
  bmp.U32(0).U32(4).U32(0).U32(0).U32(0).U32(0).U8({0x33, 0x22, 0x11, 0});
  const std::pair<std::string, Bytes> files[] = {
      {"png-named.bmp", SmallPng()},
      {"ppm-named.png", Bytes{'P', '6', ' ', '1', ' ', '1', ' ', '2', '5', '5', '\n', 0x11, 0x22, 0x33}},
      {"tga-named.jpg", tga.bytes},
      {"bmp-named.dds", bmp.bytes},
  };
  for (const auto& [name, bytes] : files) {
    DecodedImage image;
    std::string error;
    ASSERT_TRUE(LoadImageFile(dir.Write(name, bytes), image, error)) << name << ": " << error;
    EXPECT_EQ(Pixels(image), std::vector<uint32_t>{0xFF112233}) << name;
  }
}

TEST(ImageDecode, FailuresSayWhy) {
  TempDir dir;
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(LoadImageFile(dir.Write("text.png", Bytes{'h', 'e', 'l', 'l', 'o'}), image, error));
  EXPECT_EQ(error, "unknown image format");
  EXPECT_FALSE(LoadImageFile(dir.Write("empty.bmp", {}), image, error));
  EXPECT_EQ(error, "unknown image format");
  EXPECT_FALSE(LoadImageFile(dir.path() + "/missing.png", image, error));
  EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
  EXPECT_FALSE(LoadImageFile(dir.path(), image, error));
  EXPECT_EQ(error, "not a regular file");
  Bytes png = SmallPng();
  EXPECT_FALSE(LoadImageFile(dir.Write("cut.png", Bytes(png.begin(), png.end() - 20)), image, error));
  EXPECT_NE(error.find("truncated"), std::string::npos) << error;
  EXPECT_TRUE(image.bytes.empty());
}

// A lowered limit refuses what the default allows; the limit never rises above the default.
TEST(ImageDecode, LoweredLimitRefusesLargerImages) {
  std::string error;
  SetImageByteLimit(1u << 20);
  EXPECT_TRUE(CheckImageSize(512, 512, D3DFMT_A8R8G8B8, error));
  EXPECT_FALSE(CheckImageSize(513, 512, D3DFMT_A8R8G8B8, error));
  EXPECT_EQ(error, "image too large (513x512, limit 1 MiB)");
  SetImageByteLimit(kMaxImageBytes * 2);
  EXPECT_EQ(ImageByteLimit(), kMaxImageBytes);
  EXPECT_TRUE(CheckImageSize(4096, 4096, D3DFMT_A8R8G8B8, error));
}

}  // namespace
