#include "gfxutil/mesh/normal_split.h"

#include <cstring>

size_t NormalSplitter::CopyKeyHash::operator()(const CopyKey& key) const {
  uint64_t h = key.vertex;
  for (float f : {key.x, key.y, key.z}) {
    uint32_t bits;
    float positiveZero = f == 0.0f ? 0.0f : f;
    std::memcpy(&bits, &positiveZero, 4);
    h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
  }
  return static_cast<size_t>(h ^ (h >> 29));
}

NormalSplitter::NormalSplitter(size_t vertexCount, const std::vector<D3DXVECTOR3>& normals) : normals_(normals) {
  split_.originalCount = vertexCount;
  split_.normalIndex.assign(vertexCount, kNoNormal);
}

uint32_t NormalSplitter::AssignOther(uint32_t vertex, uint32_t normal, uint32_t own) {
  if (own == kNoNormal) {
    split_.normalIndex[vertex] = normal;
    return vertex;
  }
  const D3DXVECTOR3& wanted = normals_[normal];
  if (normals_[own] == wanted) return vertex;
  auto [found, added] = copies_.try_emplace(CopyKey{vertex, wanted.x, wanted.y, wanted.z},
                                            static_cast<uint32_t>(split_.VertexCount()));
  if (added) {
    split_.copyOf.push_back(vertex);
    split_.normalIndex.push_back(normal);
  }
  return found->second;
}
