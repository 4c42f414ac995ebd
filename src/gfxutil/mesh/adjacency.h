// Face adjacency: for each face, the face across each of its edges (corner 0
// to 1, 1 to 2, 2 to 0), or kNoAdjacentFace. Faces are adjacent when they share
// both vertex indices of an edge; on an edge shared by more than two faces
// the first other face is taken.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfxutil/d3dx_mesh.h"

// Writes three DWORDs per face to `adjacency`.
void ComputeAdjacency(const uint32_t* indices, size_t faceCount, size_t vertexCount, DWORD* adjacency);

inline std::vector<DWORD> ComputeAdjacency(const uint32_t* indices, size_t faceCount, size_t vertexCount) {
  std::vector<DWORD> adjacency(faceCount * 3);
  ComputeAdjacency(indices, faceCount, vertexCount, adjacency.data());
  return adjacency;
}
