#include <algorithm>
#include <string>
#include <vector>

#include "graphics/overlay_text.h"
#include "platform/dinput/dinput8.h"
#include "viewer_fixture.h"
#include "state_names.h"

namespace {

constexpr float kPitchLimit = 1.4137167f;

class FrameRoutineTest : public ViewerTest {};

TEST_F(FrameRoutineTest, PageUpHeldBringsTheDistanceDownAndStopsAtOne) {
  SetVirtualKey(VK_PRIOR, true);
  for (int frame = 0; frame < 100; ++frame) RunFrame(StructFrame);
  EXPECT_NEAR(ViewStateOf(kStructKind).distance, 6.0f, 1e-3f);
  for (int frame = 0; frame < 30; ++frame) RunFrame(StructFrame);
  EXPECT_FLOAT_EQ(ViewStateOf(kStructKind).distance, 1.0f);
}

TEST_F(FrameRoutineTest, WheelWithCtrlZoomsTenTimesFaster) {
  SetVirtualKey(VK_CONTROL, true);
  input.mouse.mouse.lZ = 240;
  PollVirtualKeys();
  PollInput();
  StructFrame();
  EXPECT_NEAR(ViewStateOf(kStructKind).distance, 30.0f - 4.8f, 1e-4f);
}

TEST_F(FrameRoutineTest, DraggingKeepsThePitchWithinItsLimitAndTheCursorCentred) {
  SetButton(1, true);
  for (int frame = 0; frame < 50; ++frame) {
    os.cursor = {320, 479};  // far down every frame
    RunFrame(StationFrame);
    EXPECT_EQ(os.cursor.x, 320);
    EXPECT_EQ(os.cursor.y, 240);
  }
  EXPECT_FLOAT_EQ(ViewStateOf(kStationKind).pitch, kPitchLimit);
  for (int frame = 0; frame < 50; ++frame) {
    os.cursor = {320, 0};
    RunFrame(StationFrame);
  }
  EXPECT_FLOAT_EQ(ViewStateOf(kStationKind).pitch, -kPitchLimit);
}

TEST_F(FrameRoutineTest, BothButtonsHeldPanOnly) {
  SetButton(0, true);
  SetButton(1, true);
  RunFrame(StructFrame);  // first frame: the target starts at the home point
  os.cursor = {420, 240};
  RunFrame(StructFrame);
  const ViewState& view = ViewStateOf(kStructKind);
  const ViewState initial = InitialViewState(kStructKind);
  EXPECT_EQ(view.yaw, initial.yaw);
  EXPECT_EQ(view.pitch, initial.pitch);
  // 100 pixels to the right move the target one unit to the camera's left.
  EXPECT_NEAR(D3DXVec3Length(&view.target), 1.0f, 1e-4f);
}

TEST_F(FrameRoutineTest, ShiftWithTheRightButtonTurnsTheLightAndShowsTheGizmo) {
  SetButton(1, true);
  SetVirtualKey(VK_SHIFT, true);
  os.cursor = {340, 260};
  device.ClearCalls();
  RunFrame(SurfaceFrame);
  const ViewState& view = ViewStateOf(kSurfaceKind);
  const ViewState initial = InitialViewState(kSurfaceKind);
  EXPECT_EQ(view.yaw, initial.yaw);
  EXPECT_EQ(view.pitch, initial.pitch);
  EXPECT_NEAR(view.lightYaw, initial.lightYaw - 20 * 0.5f / 640, 1e-6f);
  EXPECT_NEAR(view.lightPitch, initial.lightPitch + 20 * 0.5f / 480, 1e-6f);
  // Three axes, the seven-line arrow and the two light lines.
  EXPECT_EQ(device.Count("DrawPrimitiveUP"), 12u);

  SetVirtualKey(VK_SHIFT, false);
  os.cursor = {340, 260};
  device.ClearCalls();
  RunFrame(SurfaceFrame);
  EXPECT_EQ(device.Count("DrawPrimitiveUP"), 0u);
  EXPECT_NE(view.yaw, initial.yaw);  // without Shift the camera turns
}

TEST_F(FrameRoutineTest, TabTogglesNightInTheSameFrameAndTwiceReturnsToDay) {
  SetKey(DIK_TAB, true);
  RunFrame(StructFrame);
  EXPECT_EQ(nightMode, 1);
  EXPECT_EQ(device.RenderState(D3DRS_AMBIENT), 0xff202020u);
  RunFrame(StructFrame);  // held: no second toggle
  EXPECT_EQ(nightMode, 1);
  SetKey(DIK_TAB, false);
  RunFrame(StructFrame);
  SetKey(DIK_TAB, true);
  RunFrame(StructFrame);
  EXPECT_EQ(nightMode, 0);
  EXPECT_EQ(device.RenderState(D3DRS_AMBIENT), 0xff808080u);
}

TEST_F(FrameRoutineTest, SpaceSwitchesTheFilterOfThisFrame) {
  SetKey(DIK_SPACE, true);
  RunFrame(TrainFrame);
  EXPECT_EQ(isLinearFilter, 1);
  EXPECT_EQ(device.StageState(0, D3DTSS_MAGFILTER), D3DTEXF_LINEAR);
  EXPECT_EQ(device.StageState(0, D3DTSS_MINFILTER), D3DTEXF_LINEAR);
  EXPECT_EQ(device.StageState(0, D3DTSS_MIPFILTER), D3DTEXF_LINEAR);
}

TEST_F(FrameRoutineTest, HomeAfterPanningTakesEffectFromTheNextFrame) {
  SetButton(0, true);
  RunFrame(StructFrame);
  os.cursor = {420, 240};
  RunFrame(StructFrame);
  SetButton(0, false);
  const D3DXVECTOR3 panned = ViewStateOf(kStructKind).target;
  ASSERT_GT(D3DXVec3Length(&panned), 0.5f);

  SetKey(DIK_HOME, true);
  const D3DXVECTOR3 eyeBefore = EyePosition();
  RunFrame(StructFrame);
  EXPECT_EQ(ViewStateOf(kStructKind).target, D3DXVECTOR3());
  EXPECT_NEAR(EyePosition().x, eyeBefore.x, 1e-4f);  // this frame still looks at the panned target
  const ViewState initial = InitialViewState(kStructKind);
  EXPECT_EQ(ViewStateOf(kStructKind).distance, initial.distance);
  EXPECT_EQ(ViewStateOf(kStructKind).yaw, initial.yaw);

  RunFrame(StructFrame);
  D3DXVECTOR3 eye = EyePosition();
  D3DXVECTOR3 expected = DirectionFromAngles(initial.yaw, initial.pitch) * initial.distance;
  EXPECT_NEAR(eye.x, expected.x, 1e-3f);
  EXPECT_NEAR(eye.z, expected.z, 1e-3f);
}

TEST_F(FrameRoutineTest, BlinkAngleFreezesInTheTrainViewAndTurnsOnceEveryThirtyFramesElsewhere) {
  blinkAngle = 1.0f;
  for (int frame = 0; frame < 7; ++frame) RunFrame(TrainFrame);
  EXPECT_EQ(blinkAngle, 1.0f);
  for (int frame = 0; frame < 30; ++frame) RunFrame(StationFrame);
  EXPECT_NEAR(blinkAngle, 1.0f, 1e-4f);
  for (int frame = 0; frame < 15; ++frame) RunFrame(SurfaceFrame);
  EXPECT_NEAR(blinkAngle, 1.0f + 3.1415927f, 1e-4f);
}

TEST_F(FrameRoutineTest, FrameStepsRunInOrder) {
  device.ClearCalls();
  RunFrame(StructFrame);
  std::vector<std::string> names = device.Names();
  auto position = [&](const std::string& name) {
    return std::find(names.begin(), names.end(), name) - names.begin();
  };
  // The view goes to the device in BeginFrame, then the light, the filters, and the present last.
  EXPECT_LT(position("BeginScene"), position("SetTransform"));
  EXPECT_LT(position("SetTransform"), position("SetLight"));
  EXPECT_LT(position("SetLight"), position("SetTextureStageState"));
  EXPECT_EQ(names.back(), "Present");
  EXPECT_EQ(names[names.size() - 2], "EndScene");
  // The cursor goes back to the centre every frame, and stays hidden.
  EXPECT_FALSE(os.cursorMoves.empty());
  EXPECT_EQ(os.cursorMoves.back().x, 320);
  EXPECT_EQ(os.cursorMoves.back().y, 240);
  // The unlit line state is left behind for the overlay.
  EXPECT_EQ(device.RenderState(D3DRS_LIGHTING), static_cast<DWORD>(FALSE));
  EXPECT_EQ(device.RenderState(D3DRS_ZFUNC), D3DCMP_LESSEQUAL);
}

TEST_F(FrameRoutineTest, EachRoutineKeepsItsOwnCamera) {
  SetVirtualKey(VK_NEXT, true);
  RunFrame(TrainFrame);
  EXPECT_NEAR(ViewStateOf(kTrainKind).distance, 10.24f, 1e-4f);
  EXPECT_EQ(ViewStateOf(kStructKind).distance, 30.0f);
  EXPECT_EQ(ViewStateOf(kSurfaceKind).distance, 50.0f);
}

}  // namespace

namespace {

// Where the frame's white texts start: the top-left corner of the glyph quads
// of each white DrawPrimitiveUP (the shadow pass draws the same text in black).
struct TextPlacement {
  float left, top;
};

class OverlayPlacementTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    ASSERT_EQ(CreateOverlayFont(14, 400), 1);
  }
  void TearDown() override {
    ReleaseOverlayFont();  // the font holds the device
    ViewerTest::TearDown();
  }

  std::vector<TextPlacement> WhiteTexts(void (*routine)()) {
    device.ClearCalls();
    RunFrame(routine);
    std::vector<TextPlacement> texts;
    for (const DeviceCall* call : device.Named("DrawPrimitiveUP")) {
      std::vector<RecordedVertex> vertices = DecodeVertices(*call);
      if (call->fvf != (D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1) || vertices.empty()) continue;
      if (vertices[0].diffuse != 0xffffffff) continue;
      TextPlacement placement{vertices[0].position.x, vertices[0].position.y};
      for (const RecordedVertex& v : vertices) {
        placement.left = std::min(placement.left, v.position.x);
        placement.top = std::min(placement.top, v.position.y);
      }
      texts.push_back(placement);
    }
    return texts;
  }
};

TEST_F(OverlayPlacementTest, SwitchLinesAtTheUpperRightAndTheFrameRateAtTheUpperLeft) {
  std::vector<TextPlacement> texts = WhiteTexts(StructFrame);  // no plug-in: the info block is empty
  ASSERT_EQ(texts.size(), 3u);
  // Glyphs sit at most a few pixels right of and below the text's corner.
  EXPECT_NEAR(texts[0].left, 460, 3);  // time of day
  EXPECT_NEAR(texts[0].top, 5 + 2, 3);
  EXPECT_NEAR(texts[1].left, 460, 3);  // filter
  EXPECT_NEAR(texts[1].top, 19 + 2, 3);
  EXPECT_NEAR(texts[2].left, 5, 3);    // frame rate
  EXPECT_NEAR(texts[2].top, 5 + 2, 3);
}

TEST_F(OverlayPlacementTest, TrainTimeOfDayLineStartsWithFourBlanks) {
  std::vector<TextPlacement> train = WhiteTexts(TrainFrame);
  std::vector<TextPlacement> station = WhiteTexts(StationFrame);
  ASSERT_EQ(train.size(), 3u);
  ASSERT_EQ(station.size(), 3u);
  EXPECT_NEAR(train[0].left - station[0].left, 4 * 7, 2);  // four half-width blanks of 7 pixels
  EXPECT_EQ(train[1].left, station[1].left);
}

TEST_F(OverlayPlacementTest, ThePictureModesLeaveOutTheFrameRateOrAllText) {
  struct Case {
    OverlayTexts texts;
    size_t count;
  };
  for (Case c : {Case{OverlayTexts::kAll, 3}, Case{OverlayTexts::kAllButFrameRate, 2}, Case{OverlayTexts::kNone, 0}}) {
    SetOverlayTexts(c.texts);
    std::vector<TextPlacement> texts = WhiteTexts(StructFrame);
    EXPECT_EQ(texts.size(), c.count);
    if (c.texts == OverlayTexts::kAll) continue;
    for (const TextPlacement& text : texts) EXPECT_GT(text.left, 400) << "the frame rate is drawn";
  }
  SetOverlayTexts(OverlayTexts::kAll);
}

}  // namespace
