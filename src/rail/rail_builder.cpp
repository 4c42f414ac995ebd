#include "rail/rail_builder.h"

#include <cmath>

#include "gfxutil/vector_ops.h"
#include "graphics/direct3d.h"
#include "rail/rail_curve.h"
#include "scene/camera.h"

float CosAngle(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return Dot(Normalized(a), Normalized(b)); }

bool RailBuilder::AddControlPoint(D3DXVECTOR3 p, float height) {
  if (count >= kMaxControlPoints) return false;
  // A non-finite point would poison every curve traced through the list.
  if (!IsFinite(p) || !std::isfinite(height)) return false;
  if (count > 0 && Length(p - point[count - 1]) < kMinControlPointSpacing) return false;
  if (count >= 2 && CosAngle(p - point[count - 1], point[count - 1] - point[count - 2]) < 0.0f) return false;
  point[count] = p;
  baseHeight[count] = height;
  ++count;
  return true;
}

void RailBuilder::RemoveLastControlPoint() {
  if (count > 0) --count;
}

void RailBuilder::ClearControlPoints() {
  while (count > 0) RemoveLastControlPoint();
}

void RailBuilder::DrawStalk(const D3DXVECTOR3& top, float height) const {
  DrawLine3D(D3DXVECTOR3(top.x, height, top.z), top, Red());
}

void RailBuilder::PreviewWithPoint(D3DXVECTOR3 p, float height, bool drawStalk) {
  if (count == 0) return;
  Graphics().d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  for (int k = 0; k + 1 < count; ++k) {
    DrawLine3D(point[k], point[k + 1], Red());
    DrawStalk(point[k], baseHeight[k]);
  }
  DrawLine3D(point[count - 1], p, Red());
  DrawStalk(point[count - 1], baseHeight[count - 1]);
  if (drawStalk) DrawStalk(p, height);

  bool accepted = AddControlPoint(p, height);
  TraceCurve();
  if (accepted) RemoveLastControlPoint();
  Graphics().d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
}

void RailBuilder::TraceCurve() const { ::TraceCurve(point, count, Magenta()); }
