// The new order of faces and vertices that ID3DXMesh::Optimize gives a mesh,
// computed on plain arrays:
// * ATTRSORT: faces sorted by attribute, keeping their order within one;
// * VERTEXCACHE (or STRIPREORDER): also the faces of each attribute ordered
//   for the vertex cache, and vertices in the order the faces first use them;
// * COMPACT: vertices no face uses are dropped;
// * IGNOREVERTS: vertices keep their order and are never dropped.
// Vertices shared between attributes are never split.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfxutil/d3dx_mesh.h"

struct MeshOrder {
  std::vector<uint32_t> faceOrder;    // old face of each new face
  std::vector<uint32_t> vertexOrder;  // old vertex of each new vertex
  std::vector<uint32_t> indices;      // the new faces' corners, in new vertex numbers
};

// D3DERR_INVALIDCALL for flags the operation refuses: none at all, VERTEXCACHE
// with STRIPREORDER, either of them without adjacency, or an index beyond the
// vertices.
HRESULT PlanMeshOrder(DWORD flags, bool hasAdjacency, const uint32_t* indices, size_t faceCount,
                      const DWORD* attributes, size_t vertexCount, MeshOrder& order);

// ATTRSORT, or a face ordering that implies it.
bool SortsByAttribute(DWORD flags);
