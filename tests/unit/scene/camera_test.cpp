#include "scene/camera.h"

#include <cmath>
#include <limits>

#include "fake_os.h"
#include "scene/lighting.h"
#include "scene_fixture.h"
#include "state_names.h"

namespace {

constexpr float kInitialYaw = 5.4977875f;
constexpr float kInitialPitch = 0.5235988f;
constexpr float kPitchLimit = 1.4137167f;

D3DXMATRIX LookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& at) {
  D3DXMATRIX view;
  D3DXVECTOR3 up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  return view;
}

using ViewTransforms = SceneTest;

TEST_F(ViewTransforms, InitSendsWorldViewProjectionAndClipStatus) {
  requestedWidth = 800;
  requestedHeight = 600;
  InitViewTransforms();
  EXPECT_EQ(device.Names(),
            (std::vector<std::string>{"SetTransform", "SetTransform", "SetTransform", "SetClipStatus"}));
  auto transforms = device.Named("SetTransform");
  EXPECT_EQ(transforms[0]->Arg(0), D3DTS_WORLD);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  ExpectNear(transforms[0]->matrix, identity);
  EXPECT_EQ(transforms[1]->Arg(0), D3DTS_VIEW);
  ExpectNear(transforms[1]->matrix, LookAt(D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 0, 0)));
  EXPECT_EQ(transforms[2]->Arg(0), D3DTS_PROJECTION);
  const D3DMATRIX& projection = transforms[2]->matrix;
  EXPECT_NEAR(projection._22, 2.4142136f, 1e-5f);  // cot(pi/8)
  EXPECT_NEAR(projection._11, 2.4142136f * 600 / 800, 1e-5f);
  EXPECT_NEAR(projection._33, 2000.0f / 1999.9f, 1e-5f);
  EXPECT_NEAR(projection._43, -0.1f * 2000.0f / 1999.9f, 1e-5f);
  EXPECT_EQ(device.Named("SetClipStatus")[0]->args, (std::vector<double>{0xFFF, 0xFFF}));
  ExpectNear(EyePosition(), D3DXVECTOR3(0, 0, -1));
}

TEST_F(ViewTransforms, ZeroBackBufferHeightFallsBackToSquareAspect) {
  FakeOs os;
  requestedWidth = 640;
  requestedHeight = 0;
  InitViewTransforms();
  EXPECT_TRUE(std::isfinite(projectionMatrix._11));
  EXPECT_FLOAT_EQ(projectionMatrix._11, projectionMatrix._22);
  EXPECT_EQ(os.DebugText(), "InitViewTransforms: back buffer 640 x 0, aspect 1 used\n");
}

using Camera = SceneTest;

TEST_F(Camera, DefaultTrainViewPutsTheEyeAboveAndBehindTheTarget) {
  D3DXVECTOR3 target(1, 2, 3);
  UpdateCamera(kInitialYaw, kInitialPitch, 10.0f, target);
  ExpectNear(EyePosition(), target + D3DXVECTOR3(0.6124f, 0.5f, -0.6124f) * 10.0f, 1e-3f);
  ExpectNear(viewMatrix, LookAt(EyePosition(), target));
}

TEST_F(Camera, UpdateDoesNotTouchTheProjectionOrTheDevice) {
  D3DXMATRIX before = projectionMatrix;
  UpdateCamera(1, 0.3f, 50, D3DXVECTOR3(0, 0, 0));
  ExpectNear(projectionMatrix, before, 0);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(Camera, SetEyePositionMovesWithoutTurning) {
  UpdateCamera(0.7f, -0.4f, 20, D3DXVECTOR3(5, 0, 0));
  D3DXMATRIX before = viewMatrix;
  SetEyePosition(D3DXVECTOR3(-3, 7, 11));
  ExpectNear(EyePosition(), D3DXVECTOR3(-3, 7, 11));
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_NEAR(viewMatrix.m[row][column], before.m[row][column], 1e-6f);
}

TEST_F(Camera, LookAtFromEyeKeepsTheEye) {
  UpdateCamera(2, 0.2f, 30, D3DXVECTOR3(0, 0, 0));
  D3DXVECTOR3 eye = EyePosition();
  LookAtFromEye(D3DXVECTOR3(4, 4, 4));
  ExpectNear(EyePosition(), eye, 1e-3f);
  ExpectNear(viewMatrix, LookAt(eye, D3DXVECTOR3(4, 4, 4)));
}

TEST_F(Camera, OrbitFollowsTheCursorOffsetFromTheCentre) {
  float yaw = 1.0f, pitch = 0.2f;
  OrbitCamera(POINT{320, 240}, yaw, pitch);
  EXPECT_FLOAT_EQ(yaw, 1.0f);
  EXPECT_FLOAT_EQ(pitch, 0.2f);
  // Right by 64 of 640 pixels turns yaw down by 0.05; down by 48 of 480 raises pitch by 0.05.
  OrbitCamera(POINT{384, 288}, yaw, pitch);
  EXPECT_NEAR(yaw, 0.95f, 1e-6f);
  EXPECT_NEAR(pitch, 0.25f, 1e-6f);
}

TEST_F(Camera, OrbitUsesIntegerHalvesOfTheClientSize) {
  clientWidth = 641;
  clientHeight = 481;
  float yaw = 1.0f, pitch = 0.2f;
  OrbitCamera(POINT{320, 240}, yaw, pitch);
  EXPECT_FLOAT_EQ(yaw, 1.0f);
  EXPECT_FLOAT_EQ(pitch, 0.2f);
}

TEST_F(Camera, OrbitClampsPitchShortOfThePoles) {
  float yaw = 0, pitch = 0;
  OrbitCamera(POINT{320, 240 + 100000}, yaw, pitch);
  EXPECT_FLOAT_EQ(pitch, kPitchLimit);
  OrbitCamera(POINT{320, 240 - 100000}, yaw, pitch);
  EXPECT_FLOAT_EQ(pitch, -kPitchLimit);
  pitch = std::numeric_limits<float>::quiet_NaN();
  OrbitCamera(POINT{320, 240}, yaw, pitch);
  EXPECT_FLOAT_EQ(pitch, -kPitchLimit);
}

TEST_F(Camera, OrbitRemovesWholeTurnsAndKeepsNegativeYaw) {
  float pitch = 0;
  float yaw = -0.1f;
  OrbitCamera(POINT{320, 240}, yaw, pitch);
  EXPECT_FLOAT_EQ(yaw, -0.1f);
  yaw = 6.2831855f + 0.25f;
  OrbitCamera(POINT{320, 240}, yaw, pitch);
  EXPECT_NEAR(yaw, 0.25f, 1e-5f);
  yaw = -6.2831855f - 0.25f;
  OrbitCamera(POINT{320, 240}, yaw, pitch);
  EXPECT_NEAR(yaw, -0.25f, 1e-5f);
  // Dragged left past a full turn: 6.2 + 0.2 comes back near 0.
  yaw = 6.2f;
  OrbitCamera(POINT{320 - 256, 240}, yaw, pitch);
  EXPECT_NEAR(yaw, 6.4f - 6.2831855f, 1e-5f);
}

TEST_F(Camera, OrbitInAMinimisedWindowLeavesTheAnglesFinite) {
  clientWidth = 0;
  clientHeight = 0;
  float yaw = 1, pitch = 0.5f;
  OrbitCamera(POINT{50, 50}, yaw, pitch);
  EXPECT_FLOAT_EQ(yaw, 1);
  EXPECT_FLOAT_EQ(pitch, 0.5f);
}

TEST_F(Camera, PanMovesTheTargetInTheCameraPlane) {
  // Seen from -z: right is +x, up is +y.
  UpdateCamera(-1.5707964f, 0, 10, D3DXVECTOR3(0, 0, 0));
  D3DXVECTOR3 target(1, 1, 1);
  PanTarget(POINT{320, 240}, target);
  ExpectNear(target, D3DXVECTOR3(1, 1, 1), 0);
  PanTarget(POINT{330, 260}, target);
  ExpectNear(target, D3DXVECTOR3(1 - 0.1f, 1 + 0.2f, 1), 1e-5f);
}

TEST_F(Camera, PanStepDoesNotDependOnTheDistance) {
  UpdateCamera(-1.5707964f, 0, 400, D3DXVECTOR3(0, 0, 0));
  D3DXVECTOR3 target;
  PanTarget(POINT{420, 240}, target);
  ExpectNear(target, D3DXVECTOR3(-1, 0, 0), 1e-5f);
}

TEST_F(Camera, DrawLine3DSendsOneLineWithBothColours) {
  DrawLine3D(1, 2, 3, 4, 5, 6, 0x80ff0000, 0x8000ff00);
  EXPECT_EQ(device.Names(), (std::vector<std::string>{"SetVertexShader", "DrawPrimitiveUP"}));
  EXPECT_EQ(device.Named("SetVertexShader")[0]->Arg(0), 0x42);
  auto lines = RecordedLines(device);
  ASSERT_EQ(lines.size(), 1u);
  ExpectNear(lines[0].start, D3DXVECTOR3(1, 2, 3), 0);
  ExpectNear(lines[0].end, D3DXVECTOR3(4, 5, 6), 0);
  EXPECT_EQ(lines[0].startColour, 0x80ff0000u);
  EXPECT_EQ(lines[0].endColour, 0x8000ff00u);
}

TEST_F(Camera, DrawLine3DWithoutEndColourUsesTheStartColourTwice) {
  DrawLine3D(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0), 0xff123456);
  auto lines = RecordedLines(device);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].startColour, 0xff123456u);
  EXPECT_EQ(lines[0].endColour, 0xff123456u);
}

TEST_F(Camera, GizmoDrawsAxesArrowAndLightLinesScaledByTheEyeDistance) {
  SetLightFromAngles(0.7853982f, -0.9553165f, D3DCOLORVALUE{1, 1, 1, 1});
  UpdateCamera(kInitialYaw, kInitialPitch, 10, D3DXVECTOR3(0, 0, 0));  // |eye| = 10, so s = 2
  device.ClearCalls();
  DrawAxesGizmo();
  auto lines = RecordedLines(device);
  ASSERT_EQ(lines.size(), 12u);
  ASSERT_EQ(device.Count("DrawPrimitiveUP"), 12u);

  const D3DXVECTOR3 origin;
  const D3DCOLOR axisColours[3] = {0xffff0000, 0xff00ff00, 0xff0000ff};
  const D3DXVECTOR3 axisEnds[3] = {{5, 0, 0}, {0, 5, 0}, {0, 0, 5}};
  for (int i = 0; i < 3; ++i) {
    ExpectNear(lines[i].start, origin);
    ExpectNear(lines[i].end, axisEnds[i]);
    EXPECT_EQ(lines[i].startColour, axisColours[i]);
    EXPECT_EQ(lines[i].endColour, axisColours[i]);
  }

  // The light runs along (1, -2, 1)/sqrt 6; across it, in its vertical plane, lies (1, 1, 1)/sqrt 3.
  const D3DXVECTOR3 light = D3DXVECTOR3(1, -2, 1) * (1 / std::sqrt(6.0f));
  const D3DXVECTOR3 across = D3DXVECTOR3(1, 1, 1) * (1 / std::sqrt(3.0f));
  auto at = [&](float a, float b) { return (light * a + across * b) * 2.0f; };
  struct Expected {
    D3DXVECTOR3 from, to;
    D3DCOLOR fromColour, toColour;
  } arrow[7] = {
      {at(-1.0f, 0), at(-1.5f, 0.2f), 0xffffffff, 0xffffc080},
      {at(-1.5f, 0.2f), at(-1.5f, 0.1f), 0xffffc080, 0xffffc080},
      {at(-1.5f, 0.1f), at(-2.0f, 0.1f), 0xffffc080, 0xffff8000},
      {at(-1.0f, 0), at(-1.5f, -0.2f), 0xffffffff, 0xffffc080},
      {at(-1.5f, -0.2f), at(-1.5f, -0.1f), 0xffffc080, 0xffffc080},
      {at(-1.5f, -0.1f), at(-2.0f, -0.1f), 0xffffc080, 0xffff8000},
      {at(-2.0f, 0.1f), at(-2.0f, -0.1f), 0xffff8000, 0xffff8000},
  };
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    ExpectNear(lines[3 + i].start, arrow[i].from);
    ExpectNear(lines[3 + i].end, arrow[i].to);
    EXPECT_EQ(lines[3 + i].startColour, arrow[i].fromColour);
    EXPECT_EQ(lines[3 + i].endColour, arrow[i].toColour);
  }
  // The tip sits s from the origin, towards the light.
  EXPECT_NEAR(lines[3].start.y, 2 * 2 / std::sqrt(6.0f), 1e-4f);

  ExpectNear(lines[10].start, origin);
  ExpectNear(lines[10].end, light * -5.0f);
  ExpectNear(lines[11].start, origin);
  ExpectNear(lines[11].end, D3DXVECTOR3(-1, 0, -1) * (5 / std::sqrt(2.0f)));
  for (int i = 10; i < 12; ++i) {
    EXPECT_EQ(lines[i].startColour, 0xffffffffu);
    EXPECT_EQ(lines[i].endColour, 0xff00ffffu);
  }
}

}  // namespace
