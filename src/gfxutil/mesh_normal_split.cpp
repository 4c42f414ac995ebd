#include "gfxutil/mesh_normal_split.h"

#include <cstring>
#include <unordered_map>

namespace {

// A copy of a vertex is found by the original and the exact normal value;
// +0 and -0 compare equal, as floats do.
struct CopyKey {
  uint32_t vertex;
  float x, y, z;
  bool operator==(const CopyKey& o) const { return vertex == o.vertex && x == o.x && y == o.y && z == o.z; }
};

struct CopyKeyHash {
  size_t operator()(const CopyKey& key) const {
    uint64_t h = key.vertex;
    for (float f : {key.x, key.y, key.z}) {
      uint32_t bits;
      float positiveZero = f == 0.0f ? 0.0f : f;
      std::memcpy(&bits, &positiveZero, 4);
      h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
    }
    return static_cast<size_t>(h ^ (h >> 29));
  }
};

}  // namespace

NormalSplit SplitVerticesByNormal(size_t vertexCount, std::vector<uint32_t>& corners,
                                  const std::vector<uint32_t>& normalCorners, const std::vector<D3DXVECTOR3>& normals) {
  NormalSplit split;
  split.originalCount = vertexCount;
  split.normalIndex.assign(vertexCount, kNoNormal);
  std::unordered_map<CopyKey, uint32_t, CopyKeyHash> copies;
  for (size_t c = 0; c < corners.size(); ++c) {
    uint32_t vertex = corners[c];
    uint32_t normal = normalCorners[c];
    uint32_t& own = split.normalIndex[vertex];
    if (own == kNoNormal) {
      own = normal;
      continue;
    }
    const D3DXVECTOR3& wanted = normals[normal];
    if (normals[own] == wanted) continue;
    auto [found, added] = copies.try_emplace(CopyKey{vertex, wanted.x, wanted.y, wanted.z},
                                             static_cast<uint32_t>(split.VertexCount()));
    if (added) {
      split.copyOf.push_back(vertex);
      split.normalIndex.push_back(normal);
    }
    corners[c] = found->second;
  }
  return split;
}
