#include "graphics/view_transforms.h"

#include "base/debug_log.h"
#include "gfxutil/vector_ops.h"
#include "graphics/direct3d.h"

D3DXMATRIX worldMatrix;
D3DXMATRIX viewMatrix;
D3DXMATRIX projectionMatrix;

namespace {
constexpr float kFieldOfView = 0.7853982f;
constexpr float kNearPlane = 0.1f;
constexpr float kFarPlane = 2000.0f;
}  // namespace

void InitViewTransforms() {
  D3DXMatrixIdentity(&worldMatrix);
  d3dDevice->SetTransform(D3DTS_WORLD, &worldMatrix);

  const D3DXVECTOR3 eye(0, 0, -1), at(0, 0, 0);
  D3DXMatrixLookAtLH(&viewMatrix, &eye, &at, &kWorldUp);
  d3dDevice->SetTransform(D3DTS_VIEW, &viewMatrix);

  float aspect = 1.0f;
  if (requestedWidth > 0 && requestedHeight > 0)
    aspect = static_cast<float>(requestedWidth) / static_cast<float>(requestedHeight);
  else
    LogPrintf("InitViewTransforms: back buffer %d x %d, aspect 1 used\n", requestedWidth, requestedHeight);
  D3DXMatrixPerspectiveFovLH(&projectionMatrix, kFieldOfView, aspect, kNearPlane, kFarPlane);
  d3dDevice->SetTransform(D3DTS_PROJECTION, &projectionMatrix);

  const D3DCLIPSTATUS8 clipStatus{D3DCS_ALL, D3DCS_ALL};
  d3dDevice->SetClipStatus(&clipStatus);
}
