#include <cmath>
#include <cstring>

#include "gfxutil/d3dx_mesh.h"

namespace {

constexpr DWORD kPointSize = 0x020;
constexpr DWORD kSpecular = 0x080;
constexpr DWORD kTexCountMask = 0xF00;
constexpr int kTexCountShift = 8;

D3DXVECTOR3 PositionAt(const void* points, DWORD index, UINT stride) {
  D3DXVECTOR3 p;
  std::memcpy(&p.x, static_cast<const uint8_t*>(points) + static_cast<size_t>(index) * stride, 12);
  return p;
}

// std::fmin and std::fmax, inline: a NaN gives way to the other operand.
inline float Lesser(float a, float b) { return b < a || a != a ? b : a; }
inline float Greater(float a, float b) { return b > a || a != a ? b : a; }

}  // namespace

UINT D3DXGetFVFVertexSize(DWORD fvf) {
  UINT size = 0;
  if ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZ) size += 12;
  if ((fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW) size += 16;
  if (fvf & D3DFVF_NORMAL) size += 12;
  if (fvf & kPointSize) size += 4;
  if (fvf & D3DFVF_DIFFUSE) size += 4;
  if (fvf & kSpecular) size += 4;
  size += ((fvf & kTexCountMask) >> kTexCountShift) * 8;
  return size;
}

HRESULT D3DXComputeBoundingBox(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* min, D3DXVECTOR3* max) {
  UINT stride = D3DXGetFVFVertexSize(fvf);
  if (!points || !min || !max || stride < 12) return D3DERR_INVALIDCALL;
  // No vertices: an empty box at the origin rather than a read past the data.
  D3DXVECTOR3 low = count > 0 ? PositionAt(points, 0, stride) : D3DXVECTOR3(), high = low;
  for (DWORD i = 1; i < count; ++i) {
    D3DXVECTOR3 p = PositionAt(points, i, stride);
    low.x = Lesser(low.x, p.x);
    low.y = Lesser(low.y, p.y);
    low.z = Lesser(low.z, p.z);
    high.x = Greater(high.x, p.x);
    high.y = Greater(high.y, p.y);
    high.z = Greater(high.z, p.z);
  }
  *min = low;
  *max = high;
  return D3D_OK;
}

HRESULT D3DXComputeBoundingSphere(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* center, float* radius) {
  UINT stride = D3DXGetFVFVertexSize(fvf);
  if (!points || !center || !radius || stride < 12) return D3DERR_INVALIDCALL;
  *center = D3DXVECTOR3();
  *radius = 0;
  if (count == 0) return D3D_OK;  // a point at the origin, not a NaN centre
  double sum[3] = {0, 0, 0};
  for (DWORD i = 0; i < count; ++i) {
    D3DXVECTOR3 p = PositionAt(points, i, stride);
    sum[0] += p.x;
    sum[1] += p.y;
    sum[2] += p.z;
  }
  *center = D3DXVECTOR3(static_cast<float>(sum[0] / count), static_cast<float>(sum[1] / count),
                        static_cast<float>(sum[2] / count));
  float largest = 0;
  for (DWORD i = 0; i < count; ++i) {
    D3DXVECTOR3 offset = PositionAt(points, i, stride) - *center;
    largest = Greater(largest, offset.x * offset.x + offset.y * offset.y + offset.z * offset.z);
  }
  *radius = std::sqrt(largest);
  return D3D_OK;
}
