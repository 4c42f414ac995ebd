#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/os/file_source.h"
#include "gfxutil/image/png.h"
#include "platform/os/program_icon.h"
#include "test_paths.h"

namespace {

// The embedded icon is the committed 48-pixel PNG, decoded pixel for pixel as
// the image decoder of the textures decodes it (colour channels in their places).
TEST(ProgramIconTest, EmbeddedIconIsTheCommittedPng) {
  std::vector<uint8_t> file;
  std::string error;
  ASSERT_TRUE(Files().Read(SourcePath("desktop/icons/vondrel-viewer-48.png"), 1 << 20, BeyondLimit::kRefuse, file, error)) << error;
  ASSERT_EQ(kProgramIconPngSize, file.size());
  EXPECT_EQ(std::memcmp(kProgramIconPng, file.data(), file.size()), 0);

  DecodedImage expected;
  ASSERT_TRUE(DecodePng(file, expected, error)) << error;
  SDL_Surface* icon = CreateProgramIconSurface();
  ASSERT_NE(icon, nullptr);
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(icon, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(icon);
  ASSERT_NE(argb, nullptr);
  ASSERT_EQ(argb->w, 48);
  ASSERT_EQ(argb->h, 48);
  ASSERT_EQ(expected.width, 48u);
  int mismatches = 0;
  for (int y = 0; y < argb->h; ++y) {
    const uint8_t* row = static_cast<const uint8_t*>(argb->pixels) + static_cast<size_t>(y) * argb->pitch;
    mismatches += std::memcmp(row, expected.bytes.data() + static_cast<size_t>(y) * 48 * 4, 48 * 4) != 0;
  }
  EXPECT_EQ(mismatches, 0) << "rows that differ";
  SDL_FreeSurface(argb);
}

}  // namespace
