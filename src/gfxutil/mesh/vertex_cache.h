// Orders the faces of one attribute group so that consecutive faces reuse
// vertices still in the GPU's vertex cache (meshoptimizer's algorithms: the
// FIFO-cache ordering for VERTEXCACHE, its strip-friendly one for STRIPREORDER).
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

class VertexCacheOrderer {
 public:
  VertexCacheOrderer(size_t vertexCount, bool forStrips);

  // `faces` lists face numbers into `indices`; they are put in their new
  // order. False only if the optimiser's output cannot be matched.
  bool OrderFaces(const uint32_t* indices, uint32_t* faces, size_t count);
  // `count` faces (three indices each, at most a piece), reordered in place.
  void OrderPieceInPlace(uint32_t* pieceIndices, size_t count);

 private:
  // Numbers the group's vertices from 0 into `local`, so the optimiser's work
  // follows the group's size rather than the whole mesh's; `local` may be `indices`.
  void NumberLocally(const uint32_t* indices, const uint32_t* faces, size_t count, uint32_t* local);
  void RunOptimiser(const uint32_t* local, size_t count);
  bool MatchTriangles(uint32_t* faces, size_t count);

  bool forStrips_;
  std::vector<uint32_t> localOf_;  // per mesh vertex: its number within the group, or none
  std::vector<uint32_t> locals_;   // mesh vertices of the group, in local order
  std::vector<uint32_t> groupIndices_, orderedIndices_;
  std::vector<uint32_t> start_, byFirstCorner_, taken_, result_;
};

// Groups are ordered in place in pieces of this many faces, so that the
// optimiser's working memory follows the piece rather than the group, even
// with two pieces at work at once, at the cost of a few more cache misses
// where pieces meet (about 1 % more vertex-shader runs than pieces twice as
// large).
constexpr size_t kVertexCacheFacesPerPiece = 16384;

// Orders each run of faces (faces [first, second), three indices each in
// `indices`) in place, in pieces of up to kVertexCacheFacesPerPiece faces.
// The pieces are independent: with several of them and a second core, two
// threads share them, with the same result.
void OrderRunsInPlace(uint32_t* indices, const std::vector<std::pair<size_t, size_t>>& runs, size_t vertexCount,
                      bool forStrips);
