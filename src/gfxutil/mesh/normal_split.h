// A vertex of an X file may carry a different normal at each corner that uses
// it. Corners are visited in file order: a vertex takes the first normal it is
// given; a corner with another normal reuses the earlier copy of the vertex
// with exactly that normal, or gets a new copy appended after all vertices.
#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_map>
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

// Fed the corners one at a time, as the file lists them.
class NormalSplitter {
 public:
  NormalSplitter(size_t vertexCount, const std::vector<D3DXVECTOR3>& normals);

  // The vertex that the corner of `vertex` with normal `normal` uses. Inline
  // for the common case of a corner repeating its vertex's normal.
  uint32_t Assign(uint32_t vertex, uint32_t normal) {
    uint32_t own = split_.normalIndex[vertex];
    return own == normal ? vertex : AssignOther(vertex, normal, own);
  }
  NormalSplit Finish() { return std::move(split_); }

 private:
  uint32_t AssignOther(uint32_t vertex, uint32_t normal, uint32_t own);

  // A copy is found by its original and the exact normal value; +0 and -0
  // compare equal, as floats do.
  struct CopyKey {
    uint32_t vertex;
    float x, y, z;
    bool operator==(const CopyKey& o) const { return vertex == o.vertex && x == o.x && y == o.y && z == o.z; }
  };
  struct CopyKeyHash {
    size_t operator()(const CopyKey& key) const;
  };

  const std::vector<D3DXVECTOR3>& normals_;
  NormalSplit split_;
  std::unordered_map<CopyKey, uint32_t, CopyKeyHash> copies_;
};
