#include <gtest/gtest.h>

#include <cstdlib>

#include "gfxutil/image/jpeg.h"
#include "image_test_support.h"

namespace {

// JPEG is lossy: channels are compared with a tolerance.
void ExpectNear(uint32_t actual, uint32_t expected, int tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    int a = actual >> shift & 0xFF, e = expected >> shift & 0xFF;
    EXPECT_LE(std::abs(a - e), tolerance) << std::hex << "actual " << actual << " expected " << expected;
  }
}

// 16x16 in four flat quadrants: red, green, blue, white.
Bytes QuadrantSamples() {
  const uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  Bytes samples;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const uint8_t* c = colours[(y / 8) * 2 + x / 8];
      samples.insert(samples.end(), c, c + 3);
    }
  }
  return samples;
}

void ExpectQuadrants(const DecodedImage& image) {
  ASSERT_EQ(image.width, 16u);
  ASSERT_EQ(image.height, 16u);
  ExpectNear(PixelAt(image, 3, 3), 0xFFFF0000, 12);
  ExpectNear(PixelAt(image, 12, 3), 0xFF00FF00, 12);
  ExpectNear(PixelAt(image, 3, 12), 0xFF0000FF, 12);
  ExpectNear(PixelAt(image, 12, 12), 0xFFFFFFFF, 12);
}

TEST(JpegDecode, ColourBaselineAndProgressive) {
  for (bool progressive : {false, true}) {
    DecodedImage image;
    std::string error;
    ASSERT_TRUE(DecodeJpeg(EncodeJpeg(16, 16, 3, QuadrantSamples(), progressive), image, error)) << error;
    EXPECT_EQ(image.format, D3DFMT_A8R8G8B8);
    ExpectQuadrants(image);
  }
}

TEST(JpegDecode, GreyBecomesEqualChannels) {
  Bytes samples;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) samples.push_back(static_cast<uint8_t>(x * 32));
  }
  DecodedImage image;
  std::string error;
  ASSERT_TRUE(DecodeJpeg(EncodeJpeg(8, 8, 1, samples), image, error)) << error;
  for (uint32_t x = 0; x < 8; ++x) ExpectNear(PixelAt(image, x, 4), 0xFF000000 | 0x010101u * (x * 32), 10);
}

TEST(JpegDecode, TruncatedFileFails) {
  Bytes file = EncodeJpeg(16, 16, 3, QuadrantSamples());
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(DecodeJpeg(Bytes(file.begin(), file.begin() + file.size() / 2), image, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(image.bytes.empty());
  EXPECT_FALSE(DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF}, image, error));
}

TEST(JpegDecode, DeclaredSizeAboveTheLimitFails) {
  Bytes file = EncodeJpeg(16, 16, 3, QuadrantSamples());
  // The frame header (FFC0): length, precision, then height and width, big-endian.
  for (size_t i = 2; i + 9 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      file[i + 5] = file[i + 7] = 0xEA;  // 60000 x 60000
      file[i + 6] = file[i + 8] = 0x60;
      break;
    }
  }
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(DecodeJpeg(file, image, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

}  // namespace
