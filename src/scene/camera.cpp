#include "scene/camera.h"

#include <cmath>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "gfxutil/vector_ops.h"
#include "graphics/direct3d.h"
#include "input/input.h"

namespace {

constexpr float kFullTurn = 6.2831855f;
constexpr float kPitchLimit = 1.4137167f;  // 81 degrees: the eye never reaches the pole
constexpr float kOrbitRate = 0.5f;
constexpr float kPanStep = 0.01f;
constexpr float kZoomStep = 0.002f;
constexpr float kCtrlZoomFactor = 10.0f;
constexpr float kPageZoomUnits = 120.0f;  // one paging frame moves as far as one wheel notch
constexpr float kMinDistance = 1.0f;
constexpr float kMaxDistance = 400.0f;

// A NaN ends at the lower bound.
float Clamp(float value, float low, float high) {
  if (!(value >= low)) value = low;
  if (value > high) value = high;
  return value;
}

// Offset of the cursor from the client centre, in whole pixels.
POINT CursorOffset(POINT cursor) {
  return POINT{cursor.x - Program().clientWidth / 2, cursor.y - Program().clientHeight / 2};
}

// One line of the light arrow, in the gizmo's (along the light, across it) units.
struct ArrowLine {
  float fromAlong, fromAcross, toAlong, toAcross;
  D3DCOLOR fromColour, toColour;
};

constexpr D3DCOLOR kWhite = 0xffffffff, kPaleOrange = 0xffffc080, kOrange = 0xffff8000, kCyan = 0xff00ffff;
constexpr ArrowLine kLightArrow[] = {
    {-1.0f, 0.0f, -1.5f, 0.2f, kWhite, kPaleOrange},       {-1.5f, 0.2f, -1.5f, 0.1f, kPaleOrange, kPaleOrange},
    {-1.5f, 0.1f, -2.0f, 0.1f, kPaleOrange, kOrange},      {-1.0f, 0.0f, -1.5f, -0.2f, kWhite, kPaleOrange},
    {-1.5f, -0.2f, -1.5f, -0.1f, kPaleOrange, kPaleOrange}, {-1.5f, -0.1f, -2.0f, -0.1f, kPaleOrange, kOrange},
    {-2.0f, 0.1f, -2.0f, -0.1f, kOrange, kOrange},
};

}  // namespace

D3DXVECTOR3 EyePosition() {
  const D3DXMATRIX& v = Graphics().viewMatrix;
  return D3DXVECTOR3(-(v._11 * v._41 + v._12 * v._42 + v._13 * v._43),
                     -(v._21 * v._41 + v._22 * v._42 + v._23 * v._43),
                     -(v._31 * v._41 + v._32 * v._42 + v._33 * v._43));
}

void SetEyePosition(const D3DXVECTOR3& eye) {
  D3DXVECTOR3 shift = EyePosition() - eye;
  D3DXMATRIX move;
  D3DXMatrixTranslation(&move, shift.x, shift.y, shift.z);
  D3DXMatrixMultiply(&Graphics().viewMatrix, &move, &Graphics().viewMatrix);
}

void LookAtFromEye(const D3DXVECTOR3& at) {
  D3DXVECTOR3 eye = EyePosition();
  D3DXMatrixLookAtLH(&Graphics().viewMatrix, &eye, &at, &kWorldUp);
}

D3DXVECTOR3 DirectionFromAngles(float yaw, float pitch) {
  return D3DXVECTOR3(std::cos(pitch) * std::cos(yaw), std::sin(pitch), std::cos(pitch) * std::sin(yaw));
}

float ReduceAngle(float angle) { return std::fmod(angle, kFullTurn); }

void OrbitCamera(POINT cursor, float& yaw, float& pitch) {
  // A minimised window has no size to measure the motion against.
  if (Program().clientWidth > 0 && Program().clientHeight > 0) {
    POINT offset = CursorOffset(cursor);
    yaw -= static_cast<float>(offset.x) * kOrbitRate / static_cast<float>(Program().clientWidth);
    pitch += static_cast<float>(offset.y) * kOrbitRate / static_cast<float>(Program().clientHeight);
  }
  yaw = ReduceAngle(yaw);
  pitch = Clamp(pitch, -kPitchLimit, kPitchLimit);
}

void ZoomCamera(float& distance) {
  float step = IsHeld(VirtualKeyState(VK_CONTROL)) ? kZoomStep * kCtrlZoomFactor : kZoomStep;
  distance -= static_cast<float>(WheelDelta()) * step;
  if (IsHeld(VirtualKeyState(VK_PRIOR))) distance -= step * kPageZoomUnits;
  if (IsHeld(VirtualKeyState(VK_NEXT))) distance += step * kPageZoomUnits;
  distance = Clamp(distance, kMinDistance, kMaxDistance);
}

void PanTarget(POINT cursor, D3DXVECTOR3& target) {
  const D3DXMATRIX& v = Graphics().viewMatrix;
  POINT offset = CursorOffset(cursor);
  D3DXVECTOR3 right = D3DXVECTOR3(v._11, v._21, v._31) * (static_cast<float>(offset.x) * -kPanStep);
  D3DXVECTOR3 up = D3DXVECTOR3(v._12, v._22, v._32) * (static_cast<float>(offset.y) * kPanStep);
  target += right + up;
}

void UpdateCamera(float yaw, float pitch, float distance, const D3DXVECTOR3& target) {
  D3DXVECTOR3 eye = target + DirectionFromAngles(yaw, pitch) * distance;
  D3DXMatrixLookAtLH(&Graphics().viewMatrix, &eye, &target, &kWorldUp);
}

void DrawAxesGizmo() {
  D3DXVECTOR3 eye = EyePosition();
  float s = Length(eye) * 0.2f;
  D3DXVECTOR3 light = Normalized(Graphics().directionalLight.Direction);
  D3DXVECTOR3 across = Normalized(Cross(light, Cross(kWorldUp, light)));
  auto gizmoPoint = [&](float along, float acrossShare) { return (light * along + across * acrossShare) * s; };

  const D3DXVECTOR3 origin;
  float axisLength = 2.5f * s;
  DrawLine3D(origin, D3DXVECTOR3(axisLength, 0, 0), 0xffff0000);
  DrawLine3D(origin, D3DXVECTOR3(0, axisLength, 0), 0xff00ff00);
  DrawLine3D(origin, D3DXVECTOR3(0, 0, axisLength), 0xff0000ff);

  for (const ArrowLine& line : kLightArrow)
    DrawLine3D(gizmoPoint(line.fromAlong, line.fromAcross), gizmoPoint(line.toAlong, line.toAcross), line.fromColour,
               line.toColour);

  D3DXVECTOR3 azimuth = Normalized(D3DXVECTOR3(light.x, 0, light.z));
  DrawLine3D(origin, light * (-axisLength), kWhite, kCyan);
  DrawLine3D(origin, azimuth * (-axisLength), kWhite, kCyan);
}

void DrawLine3D(float x1, float y1, float z1, float x2, float y2, float z2, D3DCOLOR colour1, D3DCOLOR colour2) {
  struct LineVertex {
    float x, y, z;
    D3DCOLOR diffuse;
  };
  static_assert(sizeof(LineVertex) == 16);
  if (colour2 == 0) colour2 = colour1;
  const LineVertex vertices[2] = {{x1, y1, z1, colour1}, {x2, y2, z2, colour2}};
  Graphics().d3dDevice->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
  Graphics().d3dDevice->DrawPrimitiveUP(D3DPT_LINELIST, 1, vertices, sizeof(LineVertex));
}
