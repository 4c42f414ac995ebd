#include "graphics/overlay_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/program_state.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "latin_only_fonts.h"
#include "recording_device.h"
#include "state_names.h"

namespace {

struct Extent {
  float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
};

class OverlayText : public ::testing::Test {
 protected:
  void SetUp() override {
    screenWidth = 640;
    screenHeight = 480;
    d3dDevice = &device;
    ASSERT_EQ(CreateOverlayFont(14, 400), 1);
    device.ClearCalls();
  }
  void TearDown() override {
    ReleaseOverlayFont();
    d3dDevice = nullptr;
  }
  // The vertices of every draw call, with the colour they were drawn in.
  std::vector<std::pair<D3DCOLOR, Extent>> Passes() const {
    std::vector<std::pair<D3DCOLOR, Extent>> passes;
    for (const DeviceCall* draw : device.Named("DrawPrimitiveUP")) {
      Extent e;
      D3DCOLOR colour = 0;
      for (const RecordedVertex& v : DecodeVertices(*draw)) {
        colour = v.diffuse;
        e = {std::min(e.left, v.position.x), std::min(e.top, v.position.y), std::max(e.right, v.position.x),
             std::max(e.bottom, v.position.y)};
      }
      passes.push_back({colour, e});
    }
    return passes;
  }
  std::vector<std::vector<uint8_t>> DrawnVertices() const {
    std::vector<std::vector<uint8_t>> drawn;
    for (const DeviceCall* draw : device.Named("DrawPrimitiveUP")) drawn.push_back(draw->vertices);
    return drawn;
  }
  FakeOs os;
  RecordingDevice device;
};

TEST_F(OverlayText, BlackShadowOnePixelDownRightThenWhiteText) {
  DrawOverlayText(100, 50, "Info");
  auto passes = Passes();
  ASSERT_EQ(passes.size(), 2u);
  EXPECT_EQ(passes[0].first, 0xff000000u);
  EXPECT_EQ(passes[1].first, 0xffffffffu);
  EXPECT_FLOAT_EQ(passes[0].second.left, passes[1].second.left + 1);
  EXPECT_FLOAT_EQ(passes[0].second.top, passes[1].second.top + 1);
  EXPECT_FLOAT_EQ(passes[0].second.right, passes[1].second.right + 1);
  EXPECT_GE(passes[1].second.left, 99.5f);
  EXPECT_GE(passes[1].second.top, 49.5f);
}

TEST_F(OverlayText, TextIsClippedAtTheScreenEdge) {
  DrawOverlayText(630, 470, "WWWWWW\nWWWWWW");
  for (auto [colour, extent] : Passes()) {
    EXPECT_LE(extent.right, 639.5f);
    EXPECT_LE(extent.bottom, 479.5f);
  }
}

TEST_F(OverlayText, FormattedAndFrameRateTextsDrawAsTheirPlainText) {
  DrawOverlayTextf(460, 5, "時間帯(TAB)    : %s", "昼");
  auto formatted = DrawnVertices();
  device.ClearCalls();
  DrawOverlayText(460, 5, "時間帯(TAB)    : 昼");
  EXPECT_EQ(formatted, DrawnVertices());

  framePacing.fps = 29.97f;
  device.ClearCalls();
  DrawFps(5, 5);
  auto fps = DrawnVertices();
  device.ClearCalls();
  DrawOverlayText(5, 5, "FPS: 30.0");
  EXPECT_EQ(fps, DrawnVertices());
  EXPECT_FALSE(fps.empty());
}

TEST_F(OverlayText, FrameRateTextStaysInItsBuffer) {
  framePacing.fps = 1e30f;
  DrawFps(5, 5);
  auto fps = DrawnVertices();
  device.ClearCalls();
  DrawOverlayText(5, 5, "FPS: 1000000015");  // "FPS: 1000000015047466219876688855040.0" cut to 15 bytes
  EXPECT_EQ(fps, DrawnVertices());
}

TEST_F(OverlayText, WithoutAFontNothingIsDrawnAndOneLineSaysWhy) {
  ReleaseOverlayFont();
  device.createTextureResult = E_OUTOFMEMORY;
  size_t logged = os.debugOutput.size();
  EXPECT_EQ(CreateOverlayFont(14, 400), 0);
  ASSERT_EQ(os.debugOutput.size(), logged + 1);
  EXPECT_NE(os.debugOutput.back().find("overlay text is not drawn"), std::string::npos) << os.debugOutput.back();
  device.ClearCalls();
  DrawOverlayText(5, 5, "text");
  DrawFps(5, 5);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(OverlayText, WithoutAJapaneseFaceTheBestFaceDrawsAndOneLineNamesIt) {
  LatinOnlyFonts fonts;
  size_t logged = os.debugOutput.size();
  ASSERT_EQ(CreateOverlayFont(14, 400), 1);
  ASSERT_EQ(os.debugOutput.size(), logged + 1);
  EXPECT_TRUE(os.debugOutput.back().starts_with("overlay font: no installed face covers Japanese; using DejaVu "))
      << os.debugOutput.back();
  EXPECT_TRUE(os.debugOutput.back().ends_with(".ttf)\n")) << os.debugOutput.back();
  device.ClearCalls();
  DrawFps(5, 5);
  EXPECT_EQ(device.Count("DrawPrimitiveUP"), 2u);  // shadow and text
}

// A machine without fonts: a configuration that lists none, set in a fresh
// process so that no other test sees it.
TEST(OverlayFontDeathTest, WithoutInstalledFontsOneLineSaysSo) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::string config = ::testing::TempDir() + "no_fonts.conf";
        FILE* file = fopen(config.c_str(), "w");
        fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", file);
        fclose(file);
        setenv("FONTCONFIG_FILE", config.c_str(), 1);
        FakeOs os;
        RecordingDevice device;
        d3dDevice = &device;
        int created = CreateOverlayFont(14, 400);
        DrawOverlayText(5, 5, "text");
        fputs(os.DebugText().c_str(), stderr);
        std::exit(created == 0 && os.debugOutput.size() == 1 && device.Count("DrawPrimitiveUP") == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "no installed font fits");
}

TEST_F(OverlayText, CreatingAgainReplacesTheFontAndReleaseForgetsIt) {
  ASSERT_EQ(CreateOverlayFont(14, 400), 1);
  EXPECT_EQ(device.ExtraReferences(), 1);
  EXPECT_EQ(RecordingTexture::liveCount, 1);
  ReleaseOverlayFont();
  ReleaseOverlayFont();
  EXPECT_EQ(device.ExtraReferences(), 0);
  EXPECT_EQ(RecordingTexture::liveCount, 0);
}

}  // namespace
