#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "base/program_state.h"
#include "graphics/direct3d.h"
#include "graphics/overlay_text.h"
#include "platform/d3d/read_back.h"
#include "shell/main_window.h"
#include "state_names.h"

namespace {

constexpr D3DCOLOR kBackground = 0xff808080;  // grey, so the black shadow stands out

int Brightness(uint32_t argb) { return int((argb >> 16) & 0xFF) + int((argb >> 8) & 0xFF) + int(argb & 0xFF); }
bool IsWhite(uint32_t argb) { return Brightness(argb) >= 3 * 0xF0; }
bool IsBlack(uint32_t argb) { return Brightness(argb) <= 3 * 0x20; }
bool IsBackground(uint32_t argb) { return std::abs(Brightness(argb) - Brightness(kBackground)) <= 3 * 4; }

// The program's own start-up path: main window, device, overlay font.
class OverlayRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDisplaySize();
    ASSERT_EQ(CreateMainWindow(), 1);
    ASSERT_EQ(InitDirect3D(screenWidth, screenHeight), 1);
  }
  void TearDown() override {
    FreeDirect3D();
    if (mainWindow) Os().DestroyWindow(mainWindow);
    mainWindow = nullptr;
  }
  template <typename Draw>
  void RenderFrame(Draw draw) {
    ASSERT_EQ(BeginFrame(kBackground), 1);
    draw();
    UINT width = 0, height = 0;
    ASSERT_TRUE(ReadBackBuffer(d3dDevice, pixels, &width, &height));
    ASSERT_EQ(int(width), screenWidth);
    EndFrame();
  }
  uint32_t At(int x, int y) const { return pixels[size_t(y) * screenWidth + x]; }

  std::vector<uint32_t> pixels;
};

TEST_F(OverlayRenderTest, FrameRateIsWhiteWithABlackShadowToTheLowerRight) {
  framePacing.fps = 29.97f;
  RenderFrame([] { DrawFps(5, 5); });
  int white = 0, shadowed = 0;
  for (int y = 0; y < screenHeight - 1; ++y) {
    for (int x = 0; x < screenWidth - 1; ++x) {
      uint32_t pixel = At(x, y);
      if (IsBackground(pixel)) continue;
      // "FPS: 30.0" is nine half-width characters on one 14-pixel line, shadow included.
      ASSERT_TRUE(x >= 5 && x < 5 + 9 * 7 + 1 && y >= 5 && y < 5 + 14 + 1) << x << "," << y;
      if (!IsWhite(pixel)) continue;
      ++white;
      EXPECT_FALSE(IsBackground(At(x + 1, y + 1))) << x << "," << y;
      if (IsBlack(At(x + 1, y + 1))) ++shadowed;
    }
  }
  EXPECT_GT(white, 30);
  EXPECT_GT(shadowed, 10);
  EXPECT_FALSE(IsBlack(At(5, 5)));  // the shadow starts one pixel in
}

TEST_F(OverlayRenderTest, JapaneseTextDrawsDistinctGlyphsNotBoxes) {
  // Four kanji, then four characters no font has, which all come out as the missing-glyph shape.
  RenderFrame([] {
    DrawOverlayText(10, 10, "昼夜補完");
    DrawOverlayText(10, 40, "\U0010FFFD\U0010FFFD\U0010FFFD\U0010FFFD");
  });
  auto cell = [&](int left, int top) {
    std::vector<bool> mask;
    for (int y = top; y < top + 14; ++y)
      for (int x = left; x < left + 14; ++x) mask.push_back(Brightness(At(x, y)) >= 3 * 0xC0);
    return mask;
  };
  std::vector<std::vector<bool>> kanji;
  for (int i = 0; i < 4; ++i) kanji.push_back(cell(10 + 14 * i, 10));
  EXPECT_EQ(cell(10, 40), cell(10 + 14, 40));
  for (int i = 0; i < 4; ++i) {
    EXPECT_GT(std::count(kanji[i].begin(), kanji[i].end(), true), 15) << i;
    EXPECT_NE(kanji[i], cell(10, 40)) << i;
    for (int j = i + 1; j < 4; ++j) EXPECT_NE(kanji[i], kanji[j]) << i << " " << j;
  }
}

}  // namespace
