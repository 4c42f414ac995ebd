// The control-point list of a preview rail: at most 32 points, each at least
// 2.0 from the previous one and turning no more than a right angle away from
// the incoming chord, with the base height its stalk is drawn down to.
#pragma once
#include <cstdint>

#include "gfxutil/d3dx_math.h"

constexpr int kMaxControlPoints = 32;
constexpr float kMinControlPointSpacing = 2.0f;

// Cosine of the angle between a and b (a zero vector gives 0).
float CosAngle(const D3DXVECTOR3& a, const D3DXVECTOR3& b);

struct RailBuilder {
  int count = 0;
  float baseHeight[kMaxControlPoints] = {};
  D3DXVECTOR3 point[kMaxControlPoints];
  uint32_t alpha = 255;  // top byte of every colour drawn

  // False, with the list unchanged, when the list is full, the point is not
  // finite, lies closer than 2.0 to the last point or turns back by more than 90 degrees.
  bool AddControlPoint(D3DXVECTOR3 p, float height);
  void RemoveLastControlPoint();
  void ClearControlPoints();
  // Draws the red control lines and stalks from the list to p, then the curve
  // with p appended if it is accepted; the list is unchanged afterwards.
  void PreviewWithPoint(D3DXVECTOR3 p, float height, bool drawStalk);
  // The magenta curve through the list.
  void TraceCurve() const;

  D3DCOLOR Red() const { return alpha << 24 | 0x00FF0000; }
  D3DCOLOR Magenta() const { return alpha << 24 | 0x00FF00FF; }

 private:
  void DrawStalk(const D3DXVECTOR3& top, float height) const;
};
