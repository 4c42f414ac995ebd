#include "graphics/view_transforms.h"

#include "base/debug_log.h"
#include "gfxutil/vector_ops.h"
#include "graphics/direct3d.h"

namespace {
constexpr float kFieldOfView = 0.7853982f;
constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 2000.0f;
}  // namespace

void InitViewTransforms() {
  D3DXMatrixIdentity(&Graphics().worldMatrix);
  Graphics().d3dDevice->SetTransform(D3DTS_WORLD, &Graphics().worldMatrix);

  const D3DXVECTOR3 eye(0, 0, -1), at(0, 0, 0);
  D3DXMatrixLookAtLH(&Graphics().viewMatrix, &eye, &at, &kWorldUp);
  Graphics().d3dDevice->SetTransform(D3DTS_VIEW, &Graphics().viewMatrix);

  float aspect = 1.0f;
  if (Graphics().requestedWidth > 0 && Graphics().requestedHeight > 0)
    aspect = static_cast<float>(Graphics().requestedWidth) / static_cast<float>(Graphics().requestedHeight);
  else
    LogPrintf("InitViewTransforms: back buffer %d x %d, aspect 1 used\n", Graphics().requestedWidth,
              Graphics().requestedHeight);
  D3DXMatrixPerspectiveFovLH(&Graphics().projectionMatrix, kFieldOfView, aspect, kNearPlane, kFarPlane);
  Graphics().d3dDevice->SetTransform(D3DTS_PROJECTION, &Graphics().projectionMatrix);

  const D3DCLIPSTATUS8 clipStatus{D3DCS_ALL, D3DCS_ALL};
  Graphics().d3dDevice->SetClipStatus(&clipStatus);
}
