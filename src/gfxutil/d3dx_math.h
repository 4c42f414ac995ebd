// Vector and matrix operations with the published behaviour of their D3DX
// namesakes: row vectors, row-major matrices, left-handed coordinates.
#pragma once
#include "platform/d3d/d3d8types.h"

struct D3DXVECTOR3 : D3DVECTOR {
  D3DXVECTOR3() : D3DVECTOR{0, 0, 0} {}
  D3DXVECTOR3(float x_, float y_, float z_) : D3DVECTOR{x_, y_, z_} {}
  D3DXVECTOR3(const D3DVECTOR& v) : D3DVECTOR(v) {}
  D3DXVECTOR3 operator+(const D3DXVECTOR3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  D3DXVECTOR3 operator-(const D3DXVECTOR3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  D3DXVECTOR3 operator-() const { return {-x, -y, -z}; }
  D3DXVECTOR3 operator*(float s) const { return {x * s, y * s, z * s}; }
  D3DXVECTOR3& operator+=(const D3DXVECTOR3& o) { return *this = *this + o; }
  D3DXVECTOR3& operator-=(const D3DXVECTOR3& o) { return *this = *this - o; }
  bool operator==(const D3DXVECTOR3& o) const { return x == o.x && y == o.y && z == o.z; }
};
inline D3DXVECTOR3 operator*(float s, const D3DXVECTOR3& v) { return v * s; }

struct D3DXMATRIX : D3DMATRIX {
  D3DXMATRIX() : D3DMATRIX{} {}
  D3DXMATRIX(const D3DMATRIX& m_) : D3DMATRIX(m_) {}
};

float D3DXVec3Length(const D3DXVECTOR3* v);
float D3DXVec3Dot(const D3DXVECTOR3* a, const D3DXVECTOR3* b);
D3DXVECTOR3* D3DXVec3Cross(D3DXVECTOR3* out, const D3DXVECTOR3* a, const D3DXVECTOR3* b);
// A zero-length vector normalises to zero (no NaN).
D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* v);
// Point transform: (x, y, z, 1) x m, divided by the resulting w.
D3DXVECTOR3* D3DXVec3TransformCoord(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);
// Direction transform: (x, y, z, 0) x m.
D3DXVECTOR3* D3DXVec3TransformNormal(D3DXVECTOR3* out, const D3DXVECTOR3* v, const D3DXMATRIX* m);

D3DXMATRIX* D3DXMatrixIdentity(D3DXMATRIX* out);
D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* a, const D3DXMATRIX* b);
D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z);
D3DXMATRIX* D3DXMatrixScaling(D3DXMATRIX* out, float x, float y, float z);
// Returns null when the matrix is singular; determinant written when asked for.
D3DXMATRIX* D3DXMatrixInverse(D3DXMATRIX* out, float* determinant, const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixTranspose(D3DXMATRIX* out, const D3DXMATRIX* m);
D3DXMATRIX* D3DXMatrixLookAtLH(D3DXMATRIX* out, const D3DXVECTOR3* eye, const D3DXVECTOR3* at,
                               const D3DXVECTOR3* up);
D3DXMATRIX* D3DXMatrixPerspectiveFovLH(D3DXMATRIX* out, float fovY, float aspect, float zNear, float zFar);
