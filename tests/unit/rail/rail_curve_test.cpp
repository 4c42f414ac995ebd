#include "rail/rail_curve.h"

#include <cmath>
#include <limits>

#include "rail_fixture.h"

namespace {

constexpr D3DCOLOR kOpaqueMagenta = 0xFFFF00FF;
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
const D3DXVECTOR3 kAlongX(1, 0, 0);

class RailCurve : public SceneTest {
 protected:
  std::vector<RecordedLine> Trace(std::vector<D3DXVECTOR3> points) {
    TraceCurve(points.data(), static_cast<int>(points.size()), kOpaqueMagenta);
    return RecordedLines(device);
  }
};

TEST_F(RailCurve, FewerThanTwoPointsDrawNothing) {
  EXPECT_TRUE(Trace({}).empty());
  EXPECT_TRUE(Trace({D3DXVECTOR3(1, 2, 3)}).empty());
  EXPECT_EQ(device.Count("DrawPrimitiveUP"), 0u);
}

TEST_F(RailCurve, TwoPointsThreeApartGiveEightStraightChords) {
  auto chords = Trace({D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(3, 0, 0)});
  ASSERT_EQ(chords.size(), 8u);
  ASSERT_EQ(device.Count("DrawPrimitiveUP"), 8u);
  ExpectConnectedChords(chords);
  for (size_t i = 0; i < chords.size(); ++i) {
    ExpectNear(chords[i].start, D3DXVECTOR3(0.375f * i, 0, 0), 1e-5f);
    EXPECT_NEAR(chords[i].Length(), 0.375f, 1e-5f);
    EXPECT_EQ(chords[i].startColour, kOpaqueMagenta);
  }
  ExpectNear(chords.back().end, D3DXVECTOR3(3, 0, 0), 1e-5f);
}

TEST_F(RailCurve, ChordOfExactlyHalfIsDrawnWholeAndLongerIsHalved) {
  SubdivideSegment(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0.5f, 0, 0), kAlongX, kAlongX, kOpaqueMagenta);
  ASSERT_EQ(RecordedLines(device).size(), 1u);
  device.ClearCalls();
  SubdivideSegment(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0.5001f, 0, 0), kAlongX, kAlongX, kOpaqueMagenta);
  auto chords = RecordedLines(device);
  ASSERT_EQ(chords.size(), 2u);
  EXPECT_NEAR(chords[0].Length(), 0.25005f, 1e-6f);
  ExpectNear(chords[1].end, D3DXVECTOR3(0.5001f, 0, 0), 0);
}

TEST_F(RailCurve, ThreePointsRoundTheCornerWithBothEndsLifted) {
  auto chords = Trace({D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(10, 0, 10)});
  ASSERT_GT(chords.size(), 29u);  // the corner's path is longer than the 14.1 chord
  ExpectConnectedChords(chords);
  ExpectNear(chords.front().start, D3DXVECTOR3(0, 0.075f, 0), 1e-6f);
  ExpectNear(chords.back().end, D3DXVECTOR3(10, 0.075f, 10), 1e-5f);
  // The first midpoint is the middle of the quadratic curve through the corner (10, y, 0).
  bool passesMidpoint = false;
  for (const RecordedLine& chord : chords) {
    D3DXVECTOR3 d = chord.end - D3DXVECTOR3(7.5f, 0.075f, 2.5f);
    passesMidpoint |= D3DXVec3Length(&d) < 1e-5f;
  }
  EXPECT_TRUE(passesMidpoint);
  // The curve bulges toward the corner but never reaches it.
  for (const RecordedLine& chord : chords) {
    EXPECT_LE(chord.end.x, 10.0f + 1e-5f);
    EXPECT_GE(chord.end.z, -1e-5f);
    EXPECT_FLOAT_EQ(chord.end.y, 0.075f);
  }
}

TEST_F(RailCurve, AlternatingZigZagLeavesTheInnerPassPointDown) {
  auto chords = Trace({D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(10, 0, 10), D3DXVECTOR3(20, 0, 10)});
  ExpectConnectedChords(chords);
  ExpectNear(chords.front().start, D3DXVECTOR3(0, 0.075f, 0), 1e-6f);
  ExpectNear(chords.back().end, D3DXVECTOR3(20, 0.075f, 10), 1e-5f);
  bool passesInnerPoint = false;
  for (const RecordedLine& chord : chords) {
    D3DXVECTOR3 d = chord.end - D3DXVECTOR3(10, 0, 5);
    passesInnerPoint |= D3DXVec3Length(&d) < 1e-5f;
  }
  EXPECT_TRUE(passesInnerPoint);
}

TEST_F(RailCurve, ConsistentBendLiftsTheInnerPassPoint) {
  // Two left turns: bend 0.5 * 20 / 30, lift 0.375 times that.
  auto chords = Trace({D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(10, 0, 10), D3DXVECTOR3(0, 0, 10)});
  ExpectConnectedChords(chords);
  bool passesLiftedPoint = false;
  for (const RecordedLine& chord : chords) {
    D3DXVECTOR3 d = chord.end - D3DXVECTOR3(10, 0.125f, 5);
    passesLiftedPoint |= D3DXVec3Length(&d) < 1e-5f;
  }
  EXPECT_TRUE(passesLiftedPoint);
  ExpectNear(chords.back().end, D3DXVECTOR3(0, 0.075f, 10), 1e-5f);
}

TEST_F(RailCurve, CollinearPointsGiveStraightUnliftedChords) {
  auto chords = Trace({D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(5, 0, 0), D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(15, 0, 0)});
  ExpectConnectedChords(chords);
  ExpectNear(chords.front().start, D3DXVECTOR3(0, 0, 0), 0);
  ExpectNear(chords.back().end, D3DXVECTOR3(15, 0, 0), 1e-5f);
  for (const RecordedLine& chord : chords) {
    EXPECT_EQ(chord.end.y, 0.0f);
    EXPECT_EQ(chord.end.z, 0.0f);
  }
}

TEST_F(RailCurve, NonFiniteEndsAreSkipped) {
  SubdivideSegment(D3DXVECTOR3(kNaN, 0, 0), D3DXVECTOR3(3, 0, 0), kAlongX, kAlongX, kOpaqueMagenta);
  SubdivideSegment(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(kInf, 0, 0), kAlongX, kAlongX, kOpaqueMagenta);
  SubdivideSegment(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, -kInf, 0), kAlongX, kAlongX, kOpaqueMagenta);
  EXPECT_EQ(device.Count("DrawPrimitiveUP"), 0u);
}

TEST_F(RailCurve, NonFiniteTangentsStillEnd) {
  D3DXVECTOR3 nan(kNaN, kNaN, kNaN);
  SubdivideSegment(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(3, 0, 0), nan, nan, kOpaqueMagenta);
  for (const RecordedLine& chord : RecordedLines(device)) {
    EXPECT_TRUE(std::isfinite(chord.start.x) && std::isfinite(chord.end.x));
  }
}

TEST_F(RailCurve, OverflowingPointsEnd) {
  auto chords = Trace({D3DXVECTOR3(-3e38f, 0, 0), D3DXVECTOR3(3e38f, 0, 0), D3DXVECTOR3(3e38f, 0, 3e38f)});
  EXPECT_TRUE(chords.empty());
  chords = Trace({D3DXVECTOR3(kNaN, 0, 0), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(5, kInf, 0)});
  EXPECT_TRUE(chords.empty());
}

TEST_F(RailCurve, HugeFiniteSegmentStopsHalvingAtTheDepthBound) {
  SubdivideSegment(D3DXVECTOR3(-1e18f, 0, 0), D3DXVECTOR3(1e18f, 0, 0), kAlongX, kAlongX, kOpaqueMagenta);
  auto chords = RecordedLines(device);
  ASSERT_EQ(chords.size(), size_t{1} << kMaxSubdivisionDepth);
  EXPECT_EQ(chords.front().start.x, -1e18f);
  EXPECT_EQ(chords.back().end.x, 1e18f);
}

TEST_F(RailCurve, DepthBoundStillHalvesEverySegmentTheViewCanHold) {
  // The view reaches 2000 units deep; a straight rail across twice that still ends in short chords.
  SubdivideSegment(D3DXVECTOR3(-2000, 0, 0), D3DXVECTOR3(2000, 0, 0), kAlongX, kAlongX, kOpaqueMagenta);
  auto chords = RecordedLines(device);
  ASSERT_EQ(chords.size(), 8192u);
  ExpectConnectedChords(chords);
}

}  // namespace
