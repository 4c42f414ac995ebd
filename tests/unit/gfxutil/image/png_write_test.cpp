#include <gtest/gtest.h>

#include "gfxutil/image/png.h"
#include "gfxutil/image/png_write.h"
#include "image_test_support.h"

namespace {

DecodedImage Image(uint32_t width, uint32_t height, const std::vector<uint32_t>& argb) {
  DecodedImage image;
  std::string error;
  EXPECT_TRUE(AllocateImage(image, width, height, D3DFMT_A8R8G8B8, error)) << error;
  for (size_t i = 0; i < argb.size(); ++i)
    StorePixel(image.bytes.data() + i * 4, argb[i] >> 16 & 0xFF, argb[i] >> 8 & 0xFF, argb[i] & 0xFF, argb[i] >> 24);
  return image;
}

TEST(PngWrite, PixelsComeBackOpaque) {
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(EncodeRgbPng(Image(3, 2, {0xFF102030, 0x00FFFFFF, 0x80000000, 0xFF0000FF, 0xFF00FF00, 0x12345678}), file,
                           error))
      << error;
  DecodedImage back = DecodeOkWith(DecodePng, file);
  EXPECT_EQ(back.width, 3u);
  EXPECT_EQ(back.height, 2u);
  EXPECT_EQ(Pixels(back),
            (std::vector<uint32_t>{0xFF102030, 0xFFFFFFFF, 0xFF000000, 0xFF0000FF, 0xFF00FF00, 0xFF345678}));
}

TEST(PngWrite, OnlyWholeArgbImagesAreWritten) {
  std::vector<uint8_t> file{1, 2, 3};
  std::string error;
  DecodedImage empty;
  EXPECT_FALSE(EncodeRgbPng(empty, file, error));
  EXPECT_TRUE(file.empty());
  DecodedImage cut = Image(2, 2, {0, 0, 0, 0});
  cut.bytes.pop_back();
  EXPECT_FALSE(EncodeRgbPng(cut, file, error));
  DecodedImage blocks = Image(4, 4, {});
  blocks.format = D3DFMT_DXT1;
  EXPECT_FALSE(EncodeRgbPng(blocks, file, error));
  EXPECT_EQ(error, "not an A8R8G8B8 image");
}

}  // namespace
