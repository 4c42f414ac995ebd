#include "rail/station_rails.h"

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "rail_fixture.h"

namespace {

using Platform = std::array<float, 6>;

class StationRails : public SceneTest {
 protected:
  // The frame routine's placement: origin (0, 0, 0), forward +z, up +y.
  std::vector<RecordedLine> Draw(const std::vector<Platform>& platforms, float blinkAngle = 0) {
    DrawStationRails(platforms.data(), static_cast<int>(platforms.size()), blinkAngle, D3DXVECTOR3(0, 0, 0),
                     D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    auto lines = RecordedLines(device);
    EXPECT_EQ(lines.size(), device.Count("DrawPrimitiveUP"));
    return lines;
  }

  std::vector<double> DepthFunctions() {
    std::vector<double> out;
    for (const DeviceCall* call : device.Named("SetRenderState"))
      if (call->Arg(0) == static_cast<double>(D3DRS_ZFUNC)) out.push_back(call->Arg(1));
    return out;
  }
};

TEST_F(StationRails, EmptyStationStillSwitchesTheDepthFunction) {
  EXPECT_TRUE(Draw({}).empty());
  EXPECT_EQ(DepthFunctions(), (std::vector<double>{D3DCMP_ALWAYS, D3DCMP_LESSEQUAL}));
  device.ClearCalls();
  DrawStationRails(nullptr, 3, 0, D3DXVECTOR3(), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
  EXPECT_EQ(device.Count("DrawPrimitiveUP"), 0u);
  EXPECT_EQ(DepthFunctions(), (std::vector<double>{D3DCMP_ALWAYS, D3DCMP_LESSEQUAL}));
}

TEST_F(StationRails, SegmentOfTwoIsDrawnAndShorterIsNot) {
  EXPECT_TRUE(Draw({{0, 0.05f, 0, 0, 0.05f, 1.99f}}).empty());
  device.ClearCalls();
  EXPECT_EQ(LinesOfColour(Draw({{0, 0.05f, 0, 0, 0.05f, 2.0f}}), kRed).size(), 3u);
}

TEST_F(StationRails, DrawnSegmentHasItsRedLineStalksAndMagentaChords) {
  auto lines = Draw({{0, 0.05f, 0, 0, 0.05f, 3}});
  auto red = LinesOfColour(lines, kRed);
  ASSERT_EQ(red.size(), 3u);
  ExpectNear(red[0].start, D3DXVECTOR3(0, 0.05f, 0), 0);
  ExpectNear(red[0].end, D3DXVECTOR3(0, 0.05f, 3), 0);
  ExpectNear(red[1].start, D3DXVECTOR3(0, 0, 0), 0);  // stalks from base height 0.0
  ExpectNear(red[1].end, D3DXVECTOR3(0, 0.05f, 0), 0);
  ExpectNear(red[2].start, D3DXVECTOR3(0, 0, 3), 0);
  ExpectNear(red[2].end, D3DXVECTOR3(0, 0.05f, 3), 0);
  auto curve = LinesOfColour(lines, kMagenta);
  ASSERT_EQ(curve.size(), 8u);
  ExpectConnectedChords(curve);
  for (size_t i = 0; i < curve.size(); ++i) {
    ExpectNear(curve[i].start, D3DXVECTOR3(0, 0.05f, 0.375f * i), 1e-5f);
    EXPECT_NEAR(curve[i].Length(), 0.375f, 1e-5f);
  }
  EXPECT_EQ(red.size() + curve.size(), lines.size());
  // Red first, then the curve.
  EXPECT_EQ(lines[2].startColour & kColourMask, kRed);
}

TEST_F(StationRails, AlphaFollowsTheBlinkPhase) {
  EXPECT_EQ(BlinkAlpha(0), 128u);
  EXPECT_EQ(BlinkAlpha(1.5707964f), 254u);  // just below 255: truncated
  EXPECT_EQ(BlinkAlpha(4.712389f), 1u);
  EXPECT_EQ(BlinkAlpha(std::numeric_limits<float>::quiet_NaN()), 1u);
  EXPECT_EQ(BlinkAlpha(std::numeric_limits<float>::infinity()), 1u);
  auto lines = Draw({{0, 0, 0, 4, 0, 0}}, 1.5707964f);
  ASSERT_FALSE(lines.empty());
  for (const RecordedLine& line : lines) {
    EXPECT_EQ(line.startColour >> 24, 254u);
    EXPECT_EQ(line.endColour >> 24, 254u);
  }
}

TEST_F(StationRails, EachSegmentIsItsOwnRail) {
  auto lines = Draw({{0, 0, 0, 10, 0, 0}, {20, 0, 0, 20, 0, 10}});
  auto red = LinesOfColour(lines, kRed);
  ASSERT_EQ(red.size(), 6u);
  ExpectNear(red[3].start, D3DXVECTOR3(20, 0, 0), 0);
  ExpectNear(red[3].end, D3DXVECTOR3(20, 0, 10), 0);
  auto curve = LinesOfColour(lines, kMagenta);
  ASSERT_EQ(curve.size(), 64u);  // two straight rails of 10: 32 chords each
  ExpectNear(curve[31].end, D3DXVECTOR3(10, 0, 0), 1e-5f);
  ExpectNear(curve[32].start, D3DXVECTOR3(20, 0, 0), 1e-5f);
}

TEST_F(StationRails, ShortSegmentLeavesItsStartPointForTheNext) {
  auto lines = Draw({{0, 0, 0, 1, 0, 0}, {0, 0, 5, 0, 0, 10}});
  auto red = LinesOfColour(lines, kRed);
  // Control lines (0,0,0) -> (0,0,5) -> (0,0,10) with three stalks.
  ASSERT_EQ(red.size(), 5u);
  ExpectNear(red[0].start, D3DXVECTOR3(0, 0, 0), 0);
  ExpectNear(red[0].end, D3DXVECTOR3(0, 0, 5), 0);
  ExpectNear(red[2].start, D3DXVECTOR3(0, 0, 5), 0);
  ExpectNear(red[2].end, D3DXVECTOR3(0, 0, 10), 0);
  auto curve = LinesOfColour(lines, kMagenta);
  ExpectNear(curve.front().start, D3DXVECTOR3(0, 0, 0), 0);
  ExpectNear(curve.back().end, D3DXVECTOR3(0, 0, 10), 1e-5f);
  // Nothing is left for the next pass.
  device.ClearCalls();
  EXPECT_EQ(LinesOfColour(Draw({{0, 0, 20, 0, 0, 25}}), kRed).size(), 3u);
}

TEST_F(StationRails, PlatformsArePlacedInTheStationFrame) {
  // Forward +x, up +y (given unnormalised), origin (10, 1, 0): right is -z.
  Platform entry = {2, 0.5f, 0, 2, 0.5f, 4};
  DrawStationRails(&entry, 1, 0, D3DXVECTOR3(10, 1, 0), D3DXVECTOR3(3, 0, 0), D3DXVECTOR3(0, 2, 0));
  auto red = LinesOfColour(RecordedLines(device), kRed);
  ASSERT_EQ(red.size(), 3u);
  ExpectNear(red[0].start, D3DXVECTOR3(10, 1.5f, -2), 1e-6f);
  ExpectNear(red[0].end, D3DXVECTOR3(14, 1.5f, -2), 1e-6f);
  ExpectNear(red[1].start, D3DXVECTOR3(10, 1, -2), 1e-6f);  // stalk down to the origin's height
}

TEST_F(StationRails, NonFiniteEntriesAreSkippedAndThePassEnds) {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  auto lines = Draw({{nan, 0, 0, 5, 0, 0}, {0, 0, 0, inf, 0, 0}, {0, 0, 0, 0, 0, nan}, {-inf, inf, 0, inf, 0, 0},
                     {30, 0, 0, 30, 0, 4}});
  for (const RecordedLine& line : lines) {
    EXPECT_TRUE(std::isfinite(line.start.x) && std::isfinite(line.start.y) && std::isfinite(line.start.z));
    EXPECT_TRUE(std::isfinite(line.end.x) && std::isfinite(line.end.y) && std::isfinite(line.end.z));
  }
  // The finite segment at the end is still drawn from the start point left by the others.
  auto red = LinesOfColour(lines, kRed);
  ASSERT_FALSE(red.empty());
  ExpectNear(red.back().end, D3DXVECTOR3(30, 0, 4), 0);
  EXPECT_EQ(DepthFunctions().back(), D3DCMP_LESSEQUAL);
}

}  // namespace
