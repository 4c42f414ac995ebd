#include "gfxutil/mesh/adjacency.h"

#include <algorithm>

namespace {

// Each edge of each face, filed under the lower of its two vertices, in face
// order: the faces sharing an edge meet in one short list.
struct EdgeLists {
  std::vector<uint32_t> start;  // vertexCount + 1 offsets
  std::vector<uint32_t> other;  // the edge's higher vertex
  std::vector<uint32_t> face;

  EdgeLists(const uint32_t* indices, size_t faceCount, size_t vertexCount) : start(vertexCount + 1, 0) {
    size_t edges = 0;
    ForEachEdge(indices, faceCount, [&](uint32_t low, uint32_t, size_t) {
      ++start[low + 1];
      ++edges;
    });
    for (size_t v = 0; v < vertexCount; ++v) start[v + 1] += start[v];
    other.resize(edges);
    face.resize(edges);
    std::vector<uint32_t> fill(start.begin(), start.end() - 1);
    ForEachEdge(indices, faceCount, [&](uint32_t low, uint32_t high, size_t f) {
      uint32_t at = fill[low]++;
      other[at] = high;
      face[at] = static_cast<uint32_t>(f);
    });
  }

  // Calls `each(low, high, face)` for every edge whose two corners differ.
  template <class Each>
  static void ForEachEdge(const uint32_t* indices, size_t faceCount, Each&& each) {
    for (size_t f = 0; f < faceCount; ++f) {
      for (int k = 0; k < 3; ++k) {
        uint32_t a = indices[f * 3 + k], b = indices[f * 3 + (k + 1) % 3];
        if (a != b) each(std::min(a, b), std::max(a, b), f);
      }
    }
  }
};

}  // namespace

void ComputeAdjacency(const uint32_t* indices, size_t faceCount, size_t vertexCount, DWORD* adjacency) {
  std::fill(adjacency, adjacency + faceCount * 3, kNoAdjacentFace);
  EdgeLists edges(indices, faceCount, vertexCount);
  for (size_t f = 0; f < faceCount; ++f) {
    for (int k = 0; k < 3; ++k) {
      uint32_t a = indices[f * 3 + k], b = indices[f * 3 + (k + 1) % 3];
      if (a == b) continue;
      uint32_t low = std::min(a, b), high = std::max(a, b);
      for (uint32_t i = edges.start[low]; i < edges.start[low + 1]; ++i) {
        if (edges.other[i] == high && edges.face[i] != f) {
          adjacency[f * 3 + k] = edges.face[i];
          break;
        }
      }
    }
  }
}
