#include "platform/d3d/vertex_format.h"

VertexFormat DescribeVertexFormat(DWORD fvf) {
  constexpr DWORD known = D3DFVF_XYZ | D3DFVF_XYZRHW | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1;
  VertexFormat format;
  bool xyz = fvf & D3DFVF_XYZ, rhw = fvf & D3DFVF_XYZRHW;
  if ((fvf & ~known) || xyz == rhw || (rhw && (fvf & D3DFVF_NORMAL))) return format;
  format.valid = true;
  format.pretransformed = rhw;
  UINT offset = rhw ? 16 : 12;
  if (fvf & D3DFVF_NORMAL) {
    format.normalOffset = static_cast<int>(offset);
    offset += 12;
  }
  if (fvf & D3DFVF_DIFFUSE) {
    format.diffuseOffset = static_cast<int>(offset);
    offset += 4;
  }
  if (fvf & D3DFVF_TEX1) {
    format.texCoordOffset = static_cast<int>(offset);
    offset += 8;
  }
  format.stride = offset;
  return format;
}

UINT VertexCountOf(D3DPRIMITIVETYPE type, UINT primitiveCount) {
  switch (type) {
    case D3DPT_POINTLIST: return primitiveCount;
    case D3DPT_LINELIST: return primitiveCount * 2;
    case D3DPT_LINESTRIP: return primitiveCount == 0 ? 0 : primitiveCount + 1;
    case D3DPT_TRIANGLELIST: return primitiveCount * 3;
  }
  return 0;
}
