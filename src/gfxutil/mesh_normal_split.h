// A vertex of an X file may carry a different normal at each corner that uses
// it. Corners are visited in file order: a vertex takes the first normal it is
// given; a corner with another normal reuses the earlier copy of the vertex
// with exactly that normal, or gets a new copy appended after all vertices.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfxutil/d3dx_math.h"

constexpr uint32_t kNoNormal = UINT32_MAX;

struct NormalSplit {
  size_t originalCount = 0;
  std::vector<uint32_t> copyOf;       // for each appended copy, the vertex it copies
  std::vector<uint32_t> normalIndex;  // for every vertex, its normal, or kNoNormal when no corner uses it

  size_t VertexCount() const { return originalCount + copyOf.size(); }
  uint32_t SourceOf(size_t vertex) const {
    return vertex < originalCount ? static_cast<uint32_t>(vertex) : copyOf[vertex - originalCount];
  }
};

// Rewrites `corners` to the split vertices.
NormalSplit SplitVerticesByNormal(size_t vertexCount, std::vector<uint32_t>& corners,
                                  const std::vector<uint32_t>& normalCorners, const std::vector<D3DXVECTOR3>& normals);
