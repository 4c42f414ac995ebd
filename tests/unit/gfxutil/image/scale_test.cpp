#include <gtest/gtest.h>

#include "gfxutil/image/colour_key.h"
#include "gfxutil/image/scale.h"
#include "image_test_support.h"

namespace {

DecodedImage Argb(uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels) {
  DecodedImage image{width, height, D3DFMT_A8R8G8B8, {}};
  for (uint32_t p : pixels) {
    for (int shift = 0; shift < 32; shift += 8) image.bytes.push_back(static_cast<uint8_t>(p >> shift));
  }
  return image;
}

DecodedImage Scaled(const DecodedImage& source, uint32_t width, uint32_t height) {
  DecodedImage target;
  std::string error;
  EXPECT_TRUE(BoxScale(source, width, height, target, error)) << error;
  return target;
}

TEST(BoxScale, HalvingAveragesEachTwoByTwo) {
  DecodedImage source = Argb(4, 2, {0xFF000000, 0xFF040404, 0x00FF0000, 0x00FF0000,  //
                                    0xFF080808, 0xFF0C0C0C, 0xFF00FF00, 0xFF00FF00});
  DecodedImage target = Scaled(source, 2, 1);
  EXPECT_EQ(Pixels(target), (std::vector<uint32_t>{0xFF060606, 0x80808000}));
}

TEST(BoxScale, NonIntegerRatioWeighsByCoveredArea) {
  // 3 -> 2: the first target pixel covers source 0 fully and half of source 1.
  DecodedImage target = Scaled(Argb(3, 1, {0xFF000000, 0xFF5A5A5A, 0xFFB4B4B4}), 2, 1);
  EXPECT_EQ(Pixels(target), (std::vector<uint32_t>{0xFF1E1E1E, 0xFF969696}));
}

TEST(BoxScale, SameSizeIsACopyAndOneAxisAlone) {
  DecodedImage source = Argb(2, 2, {0x01020304, 0x05060708, 0x090A0B0C, 0x0D0E0F10});
  EXPECT_EQ(Pixels(Scaled(source, 2, 2)), Pixels(source));
  EXPECT_EQ(Pixels(Scaled(source, 2, 1)), (std::vector<uint32_t>{0x05060708, 0x090A0B0C}));
}

TEST(ColourKey, MatchingPixelsBecomeTransparentBlack) {
  DecodedImage image = Argb(4, 1, {0xFFFF00FF, 0x00FF00FF, 0xFFFF00FE, 0xFFFF00FF});
  ApplyColourKey(image, 0xFFFF00FF);
  EXPECT_EQ(Pixels(image), (std::vector<uint32_t>{0, 0x00FF00FF, 0xFFFF00FE, 0}));
  DecodedImage black = Argb(1, 1, {0});
  ApplyColourKey(black, 0);  // 0 means no key
  EXPECT_EQ(Pixels(black), std::vector<uint32_t>{0});
}

}  // namespace
