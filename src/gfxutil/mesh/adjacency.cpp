#include "gfxutil/mesh/adjacency.h"

#include <algorithm>

namespace {

// The faces around each vertex, as one array with an offset per vertex.
struct VertexFaces {
  std::vector<uint32_t> start;  // vertexCount + 1 offsets
  std::vector<uint32_t> faces;

  VertexFaces(const uint32_t* indices, size_t faceCount, size_t vertexCount)
      : start(vertexCount + 1, 0), faces(faceCount * 3) {
    for (size_t i = 0; i < faceCount * 3; ++i) ++start[indices[i] + 1];
    for (size_t v = 0; v < vertexCount; ++v) start[v + 1] += start[v];
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    for (size_t i = 0; i < faceCount * 3; ++i) faces[fill[indices[i]]++] = static_cast<uint32_t>(i / 3);
  }
  size_t Degree(uint32_t v) const { return start[v + 1] - start[v]; }
};

bool HasVertex(const uint32_t* face, uint32_t v) { return face[0] == v || face[1] == v || face[2] == v; }

}  // namespace

void ComputeAdjacency(const uint32_t* indices, size_t faceCount, size_t vertexCount, DWORD* adjacency) {
  std::fill(adjacency, adjacency + faceCount * 3, kNoAdjacentFace);
  VertexFaces around(indices, faceCount, vertexCount);
  for (size_t f = 0; f < faceCount; ++f) {
    for (int k = 0; k < 3; ++k) {
      uint32_t a = indices[f * 3 + k], b = indices[f * 3 + (k + 1) % 3];
      if (a == b) continue;
      // Walk the shorter list of faces: a vertex at the centre of a large fan
      // would otherwise be searched once per edge of the fan.
      uint32_t walk = around.Degree(a) <= around.Degree(b) ? a : b;
      uint32_t other = walk == a ? b : a;
      for (uint32_t i = around.start[walk]; i < around.start[walk + 1]; ++i) {
        uint32_t g = around.faces[i];
        if (g != f && HasVertex(indices + static_cast<size_t>(g) * 3, other)) {
          adjacency[f * 3 + k] = g;
          break;
        }
      }
    }
  }
}
