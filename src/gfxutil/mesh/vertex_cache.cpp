#include "gfxutil/mesh/vertex_cache.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <tuple>

namespace {
constexpr uint32_t kNone = UINT32_MAX;
// The cache the FIFO ordering plans for: the post-transform cache of common GPUs.
constexpr unsigned kFifoCacheSize = 16;
}  // namespace

VertexCacheOrderer::VertexCacheOrderer(size_t vertexCount, bool forStrips)
    : forStrips_(forStrips), localOf_(vertexCount, kNone) {}

void VertexCacheOrderer::NumberLocally(const uint32_t* indices, const uint32_t* faces, size_t count,
                                       uint32_t* local) {
  locals_.clear();
  for (size_t f = 0; f < count; ++f) {
    const uint32_t* corners = indices + (faces ? static_cast<size_t>(faces[f]) : f) * 3;
    for (int k = 0; k < 3; ++k) {
      uint32_t v = corners[k];
      if (localOf_[v] == kNone) {
        localOf_[v] = static_cast<uint32_t>(locals_.size());
        locals_.push_back(v);
      }
      local[f * 3 + k] = localOf_[v];
    }
  }
  for (uint32_t v : locals_) localOf_[v] = kNone;
}

void VertexCacheOrderer::RunOptimiser(const uint32_t* local, size_t count) {
  orderedIndices_.resize(count * 3);
  if (forStrips_)
    meshopt_optimizeVertexCacheStrip(orderedIndices_.data(), local, count * 3, locals_.size());
  else
    meshopt_optimizeVertexCacheFifo(orderedIndices_.data(), local, count * 3, locals_.size(), kFifoCacheSize);
}

bool VertexCacheOrderer::OrderFaces(const uint32_t* indices, uint32_t* faces, size_t count) {
  groupIndices_.resize(count * 3);
  NumberLocally(indices, faces, count, groupIndices_.data());
  RunOptimiser(groupIndices_.data(), count);
  return MatchTriangles(faces, count);
}

void VertexCacheOrderer::OrderPieceInPlace(uint32_t* piece, size_t count) {
  NumberLocally(piece, nullptr, count, piece);
  RunOptimiser(piece, count);
  for (size_t i = 0; i < count * 3; ++i) piece[i] = locals_[orderedIndices_[i]];
}

void OrderRunsInPlace(uint32_t* indices, const std::vector<std::pair<size_t, size_t>>& runs, size_t vertexCount,
                      bool forStrips) {
  std::vector<std::pair<size_t, size_t>> pieces;  // first face, face count
  for (auto [first, end] : runs)
    for (size_t start = first; start < end; start += kVertexCacheFacesPerPiece)
      pieces.emplace_back(start, std::min(kVertexCacheFacesPerPiece, end - start));
  std::atomic<size_t> next = 0;
  auto orderPieces = [&] {
    VertexCacheOrderer orderer(vertexCount, forStrips);
    for (size_t i; (i = next++) < pieces.size();)
      orderer.OrderPieceInPlace(indices + pieces[i].first * 3, pieces[i].second);
  };
  std::thread helper;
  if (pieces.size() > 1 && std::thread::hardware_concurrency() > 1) {
    try {
      helper = std::thread(orderPieces);
    } catch (const std::system_error&) {
      // No thread to be had: this one orders every piece.
    }
  }
  orderPieces();
  if (helper.joinable()) helper.join();
}

// The optimiser returns triangles, not face numbers; each output triangle is
// found among the group's faces with its first corner, then the other two.
// Identical faces are handed out in turn.
bool VertexCacheOrderer::MatchTriangles(uint32_t* faces, size_t count) {
  const uint32_t* tri = groupIndices_.data();
  start_.assign(locals_.size() + 1, 0);
  for (size_t f = 0; f < count; ++f) ++start_[tri[f * 3] + 1];
  for (size_t v = 0; v < locals_.size(); ++v) start_[v + 1] += start_[v];
  byFirstCorner_.resize(count);
  taken_.assign(count, 0);
  {
    std::vector<uint32_t> fill(start_.begin(), start_.end() - 1);
    for (size_t f = 0; f < count; ++f) byFirstCorner_[fill[tri[f * 3]]++] = static_cast<uint32_t>(f);
  }
  auto rest = [&](uint32_t f) { return std::make_tuple(tri[f * 3 + 1], tri[f * 3 + 2], f); };
  for (size_t v = 0; v < locals_.size(); ++v)
    std::sort(byFirstCorner_.begin() + start_[v], byFirstCorner_.begin() + start_[v + 1],
              [&](uint32_t a, uint32_t b) { return rest(a) < rest(b); });

  result_.resize(count);
  for (size_t t = 0; t < count; ++t) {
    const uint32_t* out = &orderedIndices_[t * 3];
    auto first = byFirstCorner_.begin() + start_[out[0]];
    auto last = byFirstCorner_.begin() + start_[out[0] + 1];
    auto match = std::lower_bound(first, last, 0u, [&](uint32_t f, uint32_t) {
      return std::make_pair(tri[f * 3 + 1], tri[f * 3 + 2]) < std::make_pair(out[1], out[2]);
    });
    size_t slot = static_cast<size_t>(match - byFirstCorner_.begin());
    size_t pick = slot + taken_[slot]++;
    if (pick >= static_cast<size_t>(last - byFirstCorner_.begin())) return false;
    uint32_t f = byFirstCorner_[pick];
    if (tri[f * 3 + 1] != out[1] || tri[f * 3 + 2] != out[2]) return false;
    result_[t] = faces[f];
  }
  std::copy(result_.begin(), result_.end(), faces);
  return true;
}
