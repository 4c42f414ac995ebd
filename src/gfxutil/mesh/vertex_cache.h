// Orders the faces of one attribute group so that consecutive faces reuse
// vertices still in the GPU's vertex cache (meshoptimizer's algorithms).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class VertexCacheOrderer {
 public:
  VertexCacheOrderer(const uint32_t* indices, size_t vertexCount, bool forStrips);

  // `faces` lists face numbers into the index array; they are put in their
  // new order. False only if the optimiser's output cannot be matched.
  bool Order(uint32_t* faces, size_t count);

 private:
  bool MatchTriangles(uint32_t* faces, size_t count);

  const uint32_t* indices_;
  bool forStrips_;
  std::vector<uint32_t> localOf_;  // per mesh vertex: its number within the group, or none
  std::vector<uint32_t> locals_;   // mesh vertices of the group, in local order
  std::vector<uint32_t> groupIndices_, orderedIndices_;
  std::vector<uint32_t> start_, byFirstCorner_, taken_, result_;
};
