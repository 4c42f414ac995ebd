// Face adjacency against its definition, on random meshes with repeated
// edges, fans and degenerate faces.
#include "gfxutil/mesh/adjacency.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The first other face, in face order, that holds both corners of the edge.
std::vector<DWORD> AdjacencyByDefinition(const std::vector<uint32_t>& indices) {
  size_t faces = indices.size() / 3;
  std::vector<DWORD> adjacency(faces * 3, kNoAdjacentFace);
  auto holds = [&](size_t g, uint32_t v) {
    return indices[g * 3] == v || indices[g * 3 + 1] == v || indices[g * 3 + 2] == v;
  };
  for (size_t f = 0; f < faces; ++f) {
    for (int k = 0; k < 3; ++k) {
      uint32_t a = indices[f * 3 + k], b = indices[f * 3 + (k + 1) % 3];
      if (a == b) continue;
      for (size_t g = 0; g < faces; ++g) {
        if (g != f && holds(g, a) && holds(g, b)) {
          adjacency[f * 3 + k] = static_cast<DWORD>(g);
          break;
        }
      }
    }
  }
  return adjacency;
}

TEST(MeshAdjacency, FollowsItsDefinition) {
  std::mt19937 random(15);
  for (uint32_t vertexCount : {3u, 5u, 12u, 40u}) {
    for (int round = 0; round < 20; ++round) {
      std::vector<uint32_t> indices(3 * (1 + random() % 60));
      for (uint32_t& v : indices) v = random() % vertexCount;
      ASSERT_EQ(ComputeAdjacency(indices.data(), indices.size() / 3, vertexCount), AdjacencyByDefinition(indices))
          << vertexCount << " vertices, round " << round;
    }
  }
}

}  // namespace
