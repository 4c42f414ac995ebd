#include <gtest/gtest.h>

#include "graphics_fixture.h"
#include "state_names.h"

namespace {

using DisplayModeTest = GraphicsTest;

std::string WindowLine(const std::string& log) {
  size_t start = log.find("ウインドウ化 = ");
  return start == std::string::npos ? "" : log.substr(start, log.find('\n', start) - start + 1);
}

TEST_F(DisplayModeTest, WithoutOptionsTheConfiguredModeDecides) {
  EXPECT_EQ(ChooseDisplayMode(&d3d, 0, 640, 480), D3DFMT_X8R8G8B8);
  EXPECT_EQ(WindowLine(os.DebugText()), "ウインドウ化 = CFG(1)\n");
  EXPECT_EQ(isWindowed, 1);

  configuredWindowMode = 0;
  ChooseDisplayMode(&d3d, 0, 640, 480);
  EXPECT_EQ(isWindowed, 0);
}

TEST_F(DisplayModeTest, WindowedRequestGoesWindowedAndChangesTheSetting) {
  configuredWindowMode = 0;
  ChooseDisplayMode(&d3d, 0, 640, 480, WindowModeRequest::kWindowed);
  EXPECT_EQ(WindowLine(os.DebugText()), "ウインドウ化 = ON\n");
  EXPECT_EQ(isWindowed, 1);
  EXPECT_EQ(configuredWindowMode, 1);
}

TEST_F(DisplayModeTest, FullScreenRequestGoesFullScreenAndChangesTheSetting) {
  ChooseDisplayMode(&d3d, 0, 640, 480, WindowModeRequest::kFullScreen);
  EXPECT_EQ(WindowLine(os.DebugText()), "ウインドウ化 = OFF\n");
  EXPECT_EQ(isWindowed, 0);
  EXPECT_EQ(configuredWindowMode, 0);
}

TEST_F(DisplayModeTest, RequestedSizeOnlyInOtherFormatsTakesTheLastOfThemFullScreen) {
  d3d.currentMode = {1024, 768, 60, D3DFMT_X8R8G8B8};
  d3d.modes = {{640, 480, 60, D3DFMT_R5G6B5},
               {800, 600, 60, D3DFMT_X8R8G8B8},
               {640, 480, 75, D3DFMT_X1R5G5B5},
               {1024, 768, 60, D3DFMT_A8R8G8B8}};
  EXPECT_EQ(ChooseDisplayMode(&d3d, 0, 640, 480, WindowModeRequest::kWindowed), D3DFMT_X1R5G5B5);
  EXPECT_EQ(WindowLine(os.DebugText()), "ウインドウ化 = OFF(フォーマット変更)\n");
  EXPECT_EQ(isWindowed, 0);
  EXPECT_EQ(configuredWindowMode, 1);
  EXPECT_NE(os.DebugText().find("選択されたモード = 640 x 480 D3DFMT_X1R5G5B5 "), std::string::npos);
}

TEST_F(DisplayModeTest, WalkStopsAtTheRequestedSizeInTheDesktopFormat) {
  d3d.modes = {{640, 480, 60, D3DFMT_R5G6B5}, {640, 480, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_R5G6B5}};
  EXPECT_EQ(ChooseDisplayMode(&d3d, 0, 640, 480), D3DFMT_X8R8G8B8);
  EXPECT_EQ(d3d.Count("EnumAdapterModes"), 2u);
  EXPECT_EQ(isWindowed, 1);
}

TEST_F(DisplayModeTest, RequestedSizeMissingDecidesByTheLastListedFormat) {
  // The last listed mode is in the desktop format: windowed.
  d3d.modes = {{800, 600, 60, D3DFMT_R5G6B5}, {1024, 768, 60, D3DFMT_X8R8G8B8}};
  EXPECT_EQ(ChooseDisplayMode(&d3d, 0, 640, 480), D3DFMT_X8R8G8B8);
  EXPECT_EQ(isWindowed, 1);

  // It is not: full screen with no substitute format, which the device then refuses.
  d3d.modes = {{1024, 768, 60, D3DFMT_X8R8G8B8}, {800, 600, 60, D3DFMT_R5G6B5}};
  EXPECT_EQ(ChooseDisplayMode(&d3d, 0, 640, 480), D3DFMT_UNKNOWN);
  EXPECT_EQ(isWindowed, 0);
}

TEST_F(DisplayModeTest, EmptyModeListKeepsTheDesktopFormat) {
  d3d.modes.clear();
  EXPECT_EQ(ChooseDisplayMode(&d3d, 0, 640, 480), D3DFMT_X8R8G8B8);
  std::string log = os.DebugText();
  EXPECT_NE(log.find("アダプタのモード数 = 0\n現在のモード = 1920 x 1080 D3DFMT_X8R8G8B8\n"), std::string::npos);
  EXPECT_EQ(WindowLine(log), "ウインドウ化 = CFG(1)\n");
}

TEST(FormatNameTest, NamesTheListedFormatsAndNothingElse) {
  EXPECT_STREQ(FormatName(D3DFMT_R8G8B8), "D3DFMT_R8G8B8");
  EXPECT_STREQ(FormatName(D3DFMT_X4R4G4B4), "D3DFMT_X4R4G4B4");
  EXPECT_STREQ(FormatName(D3DFMT_D16_LOCKABLE), "D3DFMT_D16_LOCKABLE");
  EXPECT_STREQ(FormatName(D3DFMT_D24X4S4), "D3DFMT_D24X4S4");
  EXPECT_STREQ(FormatName(D3DFMT_D16), "D3DFMT_D16");
  for (D3DFORMAT other : {0u, 19u, 31u, 72u, 74u, 76u, 78u, 81u, D3DFMT_DXT1, D3DFMT_INDEX16})
    EXPECT_STREQ(FormatName(other), "D3DFMT_UNKNOWN") << other;
}

}  // namespace
