#include "gfxutil/picture_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "gfxutil/image/decode.h"
#include "image_test_support.h"
#include "scratch_directory.h"

namespace {

struct ScaleCase {
  uint32_t width, height;
};

TEST(PictureFile, ThePictureIsWrittenAtTheAskedSize) {
  ScratchDirectory scratch;
  // Left half red, right half blue: the halves survive every scale.
  std::vector<uint32_t> picture(64 * 48);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = (i % 64) < 32 ? 0x00FF0000 : 0xFF0000FF;
  const ScaleCase cases[] = {{64, 48}, {32, 24}, {16, 12}, {128, 96}, {4, 3}};
  for (const ScaleCase& c : cases) {
    std::string error;
    ASSERT_TRUE(SavePicturePng("shot.png", picture, 64, 48, c.width, c.height, error)) << error;
    DecodedImage image;
    ASSERT_TRUE(LoadImageFile("shot.png", image, error)) << error;
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFFFF0000u) << c.width;
    EXPECT_EQ(PixelAt(image, c.width - 1, c.height - 1), 0xFF0000FFu) << c.width;
  }
}

TEST(PictureFile, AFailureLeavesNoFileBehind) {
  ScratchDirectory scratch;
  std::vector<uint32_t> picture(4 * 3, 0xFF808080);
  std::string error;
  EXPECT_FALSE(SavePicturePng("no/such/directory/shot.png", picture, 4, 3, 4, 3, error));
  EXPECT_NE(error.find("no/such/directory/shot.png"), std::string::npos) << error;
  EXPECT_FALSE(SavePicturePng("shot.png", picture, 5, 3, 5, 3, error));
  EXPECT_TRUE(std::filesystem::is_empty(scratch.path()));
}

}  // namespace
