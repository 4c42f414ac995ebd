// Where each element sits in a vertex of a flexible vertex format (FVF).
#pragma once
#include "platform/d3d/d3d8types.h"

struct VertexFormat {
  bool valid = false;      // a combination the devices can draw
  bool pretransformed = false;  // XYZRHW: screen pixels, not lit
  UINT stride = 0;
  int normalOffset = -1;   // -1: element absent
  int diffuseOffset = -1;
  int texCoordOffset = -1;
};

// The formats drawn: XYZ [| NORMAL] [| DIFFUSE] [| TEX1] and XYZRHW [| DIFFUSE] [| TEX1].
VertexFormat DescribeVertexFormat(DWORD fvf);

// Vertices of one draw call of the given primitive type and count.
UINT VertexCountOf(D3DPRIMITIVETYPE type, UINT primitiveCount);
