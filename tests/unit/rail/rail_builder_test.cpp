#include "rail/rail_builder.h"

#include <cmath>
#include <limits>

#include "rail_fixture.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(CosAngle, ComparesDirectionsOnly) {
  EXPECT_NEAR(CosAngle(D3DXVECTOR3(5, 0, 0), D3DXVECTOR3(0.1f, 0, 0)), 1, 1e-6f);
  EXPECT_NEAR(CosAngle(D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 0, 7)), 0, 1e-6f);
  EXPECT_NEAR(CosAngle(D3DXVECTOR3(1, 1, 0), D3DXVECTOR3(-3, 0, 0)), -std::sqrt(0.5f), 1e-6f);
  EXPECT_EQ(CosAngle(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0)), 0);
}

TEST(ControlPoints, SpacingOfExactlyTwoIsAcceptedAndCloserRefused) {
  RailBuilder rail;
  EXPECT_TRUE(rail.AddControlPoint(D3DXVECTOR3(0, 0, 0), 0.5f));
  EXPECT_FALSE(rail.AddControlPoint(D3DXVECTOR3(1.99f, 0, 0), 0));
  EXPECT_EQ(rail.count, 1);
  EXPECT_TRUE(rail.AddControlPoint(D3DXVECTOR3(0, 2, 0), 0.25f));
  ASSERT_EQ(rail.count, 2);
  EXPECT_EQ(rail.point[1], D3DXVECTOR3(0, 2, 0));
  EXPECT_EQ(rail.baseHeight[0], 0.5f);
  EXPECT_EQ(rail.baseHeight[1], 0.25f);
}

TEST(ControlPoints, TurnOfNinetyDegreesIsAcceptedAndNinetyOneRefused) {
  RailBuilder rail;
  rail.AddControlPoint(D3DXVECTOR3(0, 0, 0), 0);
  rail.AddControlPoint(D3DXVECTOR3(10, 0, 0), 0);
  float ninetyOne = 91.0f * 3.14159265f / 180.0f;
  EXPECT_FALSE(rail.AddControlPoint(D3DXVECTOR3(10 + 5 * std::cos(ninetyOne), 0, 5 * std::sin(ninetyOne)), 0));
  EXPECT_EQ(rail.count, 2);
  EXPECT_TRUE(rail.AddControlPoint(D3DXVECTOR3(10, 0, 5), 0));
  EXPECT_EQ(rail.count, 3);
}

TEST(ControlPoints, TheThirtySecondIsAcceptedAndTheThirtyThirdRefused) {
  RailBuilder rail;
  for (int i = 0; i < 32; ++i) EXPECT_TRUE(rail.AddControlPoint(D3DXVECTOR3(3.0f * i, 0, 0), 0)) << i;
  EXPECT_FALSE(rail.AddControlPoint(D3DXVECTOR3(3.0f * 32, 0, 0), 0));
  EXPECT_EQ(rail.count, 32);
}

TEST(ControlPoints, NonFinitePointsAreRefused) {
  RailBuilder rail;
  EXPECT_FALSE(rail.AddControlPoint(D3DXVECTOR3(kNaN, 0, 0), 0));
  EXPECT_FALSE(rail.AddControlPoint(D3DXVECTOR3(0, std::numeric_limits<float>::infinity(), 0), 0));
  EXPECT_FALSE(rail.AddControlPoint(D3DXVECTOR3(0, 0, 0), kNaN));
  EXPECT_TRUE(rail.AddControlPoint(D3DXVECTOR3(0, 0, 0), 0));
  // NaN compares false with every limit, so only the finiteness test keeps it out.
  EXPECT_FALSE(rail.AddControlPoint(D3DXVECTOR3(kNaN, 0, 0), 0));
  EXPECT_EQ(rail.count, 1);
}

TEST(ControlPoints, RemoveAndClearWorkFromTheEnd) {
  RailBuilder rail;
  rail.RemoveLastControlPoint();
  EXPECT_EQ(rail.count, 0);
  rail.AddControlPoint(D3DXVECTOR3(0, 0, 0), 0);
  rail.AddControlPoint(D3DXVECTOR3(5, 0, 0), 0);
  rail.AddControlPoint(D3DXVECTOR3(10, 0, 0), 0);
  rail.RemoveLastControlPoint();
  EXPECT_EQ(rail.count, 2);
  EXPECT_TRUE(rail.AddControlPoint(D3DXVECTOR3(5, 0, 5), 0));
  rail.ClearControlPoints();
  EXPECT_EQ(rail.count, 0);
}

using Preview = SceneTest;

TEST_F(Preview, EmptyListDrawsNothing) {
  RailBuilder rail;
  rail.PreviewWithPoint(D3DXVECTOR3(5, 0, 0), 0, true);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(Preview, DrawsControlLinesStalksAndCurveThenRestoresTheList) {
  RailBuilder rail;
  rail.alpha = 0x40;
  rail.AddControlPoint(D3DXVECTOR3(0, 1, 0), 0.5f);
  rail.AddControlPoint(D3DXVECTOR3(4, 1, 0), 0.25f);
  rail.PreviewWithPoint(D3DXVECTOR3(8, 1, 0), -1, true);
  EXPECT_EQ(rail.count, 2);

  auto lines = RecordedLines(device);
  ASSERT_EQ(lines.size(), device.Count("DrawPrimitiveUP"));
  auto red = LinesOfColour(lines, kRed);
  ASSERT_EQ(red.size(), 5u);
  ExpectNear(red[0].start, D3DXVECTOR3(0, 1, 0), 0);  // control line 0 -> 1
  ExpectNear(red[0].end, D3DXVECTOR3(4, 1, 0), 0);
  ExpectNear(red[1].start, D3DXVECTOR3(0, 0.5f, 0), 0);  // stalk of point 0
  ExpectNear(red[1].end, D3DXVECTOR3(0, 1, 0), 0);
  ExpectNear(red[2].start, D3DXVECTOR3(4, 1, 0), 0);  // line to the tentative point
  ExpectNear(red[2].end, D3DXVECTOR3(8, 1, 0), 0);
  ExpectNear(red[3].start, D3DXVECTOR3(4, 0.25f, 0), 0);  // stalk of the last point
  ExpectNear(red[4].start, D3DXVECTOR3(8, -1, 0), 0);     // stalk of the tentative point
  ExpectNear(red[4].end, D3DXVECTOR3(8, 1, 0), 0);
  for (const RecordedLine& line : red) EXPECT_EQ(line.startColour, 0x40FF0000u);

  auto curve = LinesOfColour(lines, kMagenta);
  ExpectConnectedChords(curve);
  ExpectNear(curve.front().start, D3DXVECTOR3(0, 1, 0), 1e-6f);
  ExpectNear(curve.back().end, D3DXVECTOR3(8, 1, 0), 1e-5f);
  EXPECT_EQ(curve.front().startColour, 0x40FF00FFu);
  EXPECT_EQ(red.size() + curve.size(), lines.size());
}

TEST_F(Preview, DepthTestIsOffWhileDrawingAndBackAfter) {
  RailBuilder rail;
  rail.AddControlPoint(D3DXVECTOR3(0, 0, 0), 0);
  rail.PreviewWithPoint(D3DXVECTOR3(3, 0, 0), 0, false);
  auto names = device.Names();
  auto states = device.Named("SetRenderState");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_EQ(states[0]->args, (std::vector<double>{D3DRS_ZFUNC, D3DCMP_ALWAYS}));
  EXPECT_EQ(states[1]->args, (std::vector<double>{D3DRS_ZFUNC, D3DCMP_LESSEQUAL}));
  EXPECT_EQ(names.front(), "SetRenderState");
  EXPECT_EQ(names.back(), "SetRenderState");
  // Without the stalk of the tentative point: one control line and one stalk.
  EXPECT_EQ(LinesOfColour(RecordedLines(device), kRed).size(), 2u);
}

TEST_F(Preview, RefusedTurnStillDrawsItsRedLineAndTracesTheEarlierPoints) {
  RailBuilder rail;
  rail.AddControlPoint(D3DXVECTOR3(0, 0, 0), 0);
  rail.AddControlPoint(D3DXVECTOR3(3, 0, 0), 0);
  float ninetyOne = 91.0f * 3.14159265f / 180.0f;
  D3DXVECTOR3 back(3 + 4 * std::cos(ninetyOne), 0, 4 * std::sin(ninetyOne));
  rail.PreviewWithPoint(back, 0, true);
  EXPECT_EQ(rail.count, 2);
  auto lines = RecordedLines(device);
  auto red = LinesOfColour(lines, kRed);
  ASSERT_EQ(red.size(), 5u);
  ExpectNear(red[2].end, back, 0);
  // The curve runs only from the first to the second point: 8 chords of 0.375.
  auto curve = LinesOfColour(lines, kMagenta);
  ASSERT_EQ(curve.size(), 8u);
  ExpectNear(curve.back().end, D3DXVECTOR3(3, 0, 0), 1e-5f);
}

}  // namespace
