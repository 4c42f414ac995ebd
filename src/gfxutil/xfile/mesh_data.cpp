#include "gfxutil/xfile/mesh_data.h"

#include <cstring>

XVertexLayout::XVertexLayout(DWORD fvf) {
  if (fvf & D3DFVF_NORMAL) {
    normal = static_cast<int>(size);
    size += 12;
  }
  if (fvf & D3DFVF_DIFFUSE) {
    diffuse = static_cast<int>(size);
    size += 4;
  }
  if (fvf & D3DFVF_TEX1) {
    texCoord = static_cast<int>(size);
    size += 8;
  }
}

void XVertexLayout::Write(const XVertex& vertex, uint8_t* out) const {
  std::memcpy(out, &vertex.position, 12);
  if (normal >= 0) std::memcpy(out + normal, &vertex.normal, 12);
  if (diffuse >= 0) std::memcpy(out + diffuse, &vertex.colour, 4);
  if (texCoord >= 0) {
    std::memcpy(out + texCoord, &vertex.u, 4);
    std::memcpy(out + texCoord + 4, &vertex.v, 4);
  }
}

XVertex XVertexLayout::Read(const uint8_t* in) const {
  XVertex vertex;
  std::memcpy(&vertex.position, in, 12);
  if (normal >= 0) std::memcpy(&vertex.normal, in + normal, 12);
  if (diffuse >= 0) std::memcpy(&vertex.colour, in + diffuse, 4);
  if (texCoord >= 0) {
    std::memcpy(&vertex.u, in + texCoord, 4);
    std::memcpy(&vertex.v, in + texCoord + 4, 4);
  }
  return vertex;
}

XVertex XMeshData::Vertex(size_t index) const {
  XVertexLayout layout(fvf);
  return layout.Read(&vertexBytes[index * layout.size]);
}
