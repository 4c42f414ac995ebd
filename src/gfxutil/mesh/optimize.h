// The new order of faces and vertices that ID3DXMesh::Optimize gives a mesh,
// applied in place to plain arrays:
// * ATTRSORT: faces sorted by attribute, keeping their order within one;
// * VERTEXCACHE (or STRIPREORDER): also the faces of each attribute ordered
//   for the vertex cache, and vertices in the order the faces first use them;
// * COMPACT: vertices no face uses are dropped;
// * IGNOREVERTS: vertices keep their order and are never dropped.
// Vertices shared between attributes are never split. The face orderings use
// only the faces' shared vertices, so no adjacency is needed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfxutil/d3dx_mesh.h"

struct MeshArrays {
  std::vector<uint8_t>& vertices;  // `stride` bytes each
  size_t stride;
  std::vector<uint32_t>& indices;  // three per face
  std::vector<DWORD>& attributes;  // one per face
};

// What the caller asked to be told; each may be null.
struct MeshRemaps {
  std::vector<uint32_t>* faceOrder = nullptr;    // old face of each new face
  std::vector<uint32_t>* vertexOrder = nullptr;  // old vertex of each new vertex
};

// D3DERR_INVALIDCALL for flags the operation refuses (none at all, or
// VERTEXCACHE with STRIPREORDER) or an index beyond the vertices.
HRESULT CheckOptimize(DWORD flags, const uint32_t* indices, size_t indexCount, size_t vertexCount);

// Reorders the arrays after CheckOptimize has passed them. Fails (E_FAIL,
// nothing changed) only when a face order is asked for and the optimiser's
// output cannot be matched to the faces.
HRESULT OptimizeArrays(DWORD flags, const MeshArrays& mesh, const MeshRemaps& remaps);

// ATTRSORT, or a face ordering that implies it.
bool SortsByAttribute(DWORD flags);
