#include "rail/station_rails.h"

#include <cmath>

#include "gfxutil/vector_ops.h"
#include "graphics/direct3d.h"
#include "rail/rail_builder.h"

namespace {

// Empty between passes; within a pass it holds the rail being drawn.
RailBuilder railBuilder;

}  // namespace

uint32_t BlinkAlpha(float blinkAngle) {
  double alpha = std::sin(static_cast<double>(blinkAngle)) * 127.0 + 128.0;
  if (std::isnan(alpha)) return 1;  // a non-finite angle gives the faintest alpha
  return static_cast<uint32_t>(alpha);
}

void DrawStationRails(const std::array<float, 6>* platforms, int platformCountRead, float blinkAngle,
                      const D3DXVECTOR3& origin, const D3DXVECTOR3& forward, const D3DXVECTOR3& up) {
  Graphics().d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  railBuilder.ClearControlPoints();
  railBuilder.alpha = BlinkAlpha(blinkAngle);

  D3DXVECTOR3 f = Normalized(forward), u = Normalized(up);
  D3DXVECTOR3 r = Cross(u, f);
  auto place = [&](const float* e) { return origin + r * e[0] + u * e[1] + f * e[2]; };
  for (int i = 0; platforms && i < platformCountRead; ++i) {
    D3DXVECTOR3 start = place(platforms[i].data()), end = place(platforms[i].data() + 3);
    // A segment too short to preview leaves its start point in the list for the next one.
    railBuilder.AddControlPoint(start, origin.y);
    if (IsFinite(end) && Length(end - start) >= kMinControlPointSpacing) {
      railBuilder.PreviewWithPoint(end, origin.y, true);
      railBuilder.ClearControlPoints();
    }
  }
  railBuilder.ClearControlPoints();
  Graphics().d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
}
