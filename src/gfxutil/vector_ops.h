// Value-returning forms of the pointer-style vector operations, for formulas
// that read better written out.
#pragma once
#include <cmath>

#include "gfxutil/d3dx_math.h"

// World coordinates are left-handed with Y up.
inline const D3DXVECTOR3 kWorldUp(0, 1, 0);

inline float Length(const D3DXVECTOR3& v) { return D3DXVec3Length(&v); }
inline float Dot(const D3DXVECTOR3& a, const D3DXVECTOR3& b) { return D3DXVec3Dot(&a, &b); }

inline D3DXVECTOR3 Cross(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  D3DXVECTOR3 out;
  D3DXVec3Cross(&out, &a, &b);
  return out;
}

// A zero vector stays zero.
inline D3DXVECTOR3 Normalized(const D3DXVECTOR3& v) {
  D3DXVECTOR3 out;
  D3DXVec3Normalize(&out, &v);
  return out;
}

inline bool IsFinite(const D3DXVECTOR3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }
