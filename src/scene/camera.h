// The orbiting camera: camera operations driven by the mouse and keys, and coloured
// 3D lines (the axes and light gizmo, the rail preview).
#pragma once
#include "gfxutil/d3dx_math.h"
#include "graphics/view_transforms.h"
#include "platform/os/os.h"

// The eye point, taken back out of the view matrix (the camera stores no position).
D3DXVECTOR3 EyePosition();
// Moves the eye to `eye` keeping the orientation.
void SetEyePosition(const D3DXVECTOR3& eye);
// Turns the camera at its current eye towards `at`, Y up.
void LookAtFromEye(const D3DXVECTOR3& at);

// (cos pitch cos yaw, sin pitch, cos pitch sin yaw): the unit vector of a yaw around Y and a pitch above the XZ plane.
D3DXVECTOR3 DirectionFromAngles(float yaw, float pitch);

// Removes whole turns: the remainder of angle / 2pi with the quotient truncated
// toward zero, so a negative angle stays negative.
float ReduceAngle(float angle);

// The cursor offset from the client centre turns yaw and pitch (pitch kept within +-81 degrees).
void OrbitCamera(POINT cursor, float& yaw, float& pitch);
// Wheel and Page Up / Page Down, ten times faster with Ctrl; the distance is kept within [1, 400].
void ZoomCamera(float& distance);
// Moves the target in the camera plane by 0.01 units per pixel of cursor offset.
void PanTarget(POINT cursor, D3DXVECTOR3& target);
// Puts the eye on the sphere of radius `distance` around the target.
void UpdateCamera(float yaw, float pitch, float distance, const D3DXVECTOR3& target);

// World axes and the light direction, scaled to the eye's distance from the origin.
void DrawAxesGizmo();
// One line with colour1 at the start and colour2 at the end; colour2 = 0 means colour1 at both ends.
void DrawLine3D(float x1, float y1, float z1, float x2, float y2, float z2, D3DCOLOR colour1, D3DCOLOR colour2);
inline void DrawLine3D(const D3DXVECTOR3& start, const D3DXVECTOR3& end, D3DCOLOR colour1, D3DCOLOR colour2 = 0) {
  DrawLine3D(start.x, start.y, start.z, end.x, end.y, end.z, colour1, colour2);
}
