#include "gfxutil/mesh/optimize.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <numeric>

#include "gfxutil/mesh/vertex_cache.h"

namespace {

constexpr DWORD kFaceOrdering = D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER;
constexpr uint32_t kUnused = UINT32_MAX;

void SortFaces(const DWORD* attributes, std::vector<uint32_t>& faces) {
  auto byAttribute = [&](uint32_t a, uint32_t b) { return attributes[a] < attributes[b]; };
  if (!std::is_sorted(faces.begin(), faces.end(), byAttribute))
    std::stable_sort(faces.begin(), faces.end(), byAttribute);
}

bool OrderGroupsForVertexCache(DWORD flags, const uint32_t* indices, const DWORD* attributes, size_t vertexCount,
                               std::vector<uint32_t>& faces) {
  VertexCacheOrderer orderer(indices, vertexCount, (flags & D3DXMESHOPT_STRIPREORDER) != 0);
  for (size_t start = 0; start < faces.size();) {
    size_t end = start + 1;
    while (end < faces.size() && attributes[faces[end]] == attributes[faces[start]]) ++end;
    if (!orderer.Order(faces.data() + start, end - start)) return false;
    start = end;
  }
  return true;
}

// Vertices numbered in the order the faces first use them; the unused ones
// dropped, or kept after them in their old order.
void NumberVerticesByFirstUse(bool compact, size_t vertexCount, MeshOrder& order) {
  std::vector<uint32_t> newOf(vertexCount);
  size_t used = meshopt_optimizeVertexFetchRemap(newOf.data(), order.indices.data(), order.indices.size(), vertexCount);
  size_t total = compact ? used : vertexCount;
  for (uint32_t& n : newOf)
    if (n == kUnused && !compact) n = static_cast<uint32_t>(used++);
  meshopt_remapIndexBuffer(order.indices.data(), order.indices.data(), order.indices.size(), newOf.data());
  order.vertexOrder.assign(total, 0);
  for (size_t old = 0; old < vertexCount; ++old)
    if (newOf[old] != kUnused) order.vertexOrder[newOf[old]] = static_cast<uint32_t>(old);
}

// Unused vertices dropped, the others in their old order.
void DropUnusedVertices(size_t vertexCount, MeshOrder& order) {
  std::vector<uint32_t> newOf(vertexCount, kUnused);
  for (uint32_t v : order.indices) newOf[v] = 0;
  order.vertexOrder.clear();
  for (size_t old = 0; old < vertexCount; ++old) {
    if (newOf[old] == kUnused) continue;
    newOf[old] = static_cast<uint32_t>(order.vertexOrder.size());
    order.vertexOrder.push_back(static_cast<uint32_t>(old));
  }
  for (uint32_t& v : order.indices) v = newOf[v];
}

}  // namespace

bool SortsByAttribute(DWORD flags) { return (flags & (D3DXMESHOPT_ATTRSORT | kFaceOrdering)) != 0; }

HRESULT PlanMeshOrder(DWORD flags, bool hasAdjacency, const uint32_t* indices, size_t faceCount,
                      const DWORD* attributes, size_t vertexCount, MeshOrder& order) {
  if (flags == 0 || (flags & kFaceOrdering) == kFaceOrdering || ((flags & kFaceOrdering) && !hasAdjacency))
    return D3DERR_INVALIDCALL;
  if (std::any_of(indices, indices + faceCount * 3, [&](uint32_t v) { return v >= vertexCount; }))
    return D3DERR_INVALIDCALL;
  order.faceOrder.resize(faceCount);
  std::iota(order.faceOrder.begin(), order.faceOrder.end(), 0u);
  if (SortsByAttribute(flags)) SortFaces(attributes, order.faceOrder);
  if ((flags & kFaceOrdering) && !OrderGroupsForVertexCache(flags, indices, attributes, vertexCount, order.faceOrder))
    return E_FAIL;

  order.indices.resize(faceCount * 3);
  for (size_t f = 0; f < faceCount; ++f)
    std::copy_n(indices + static_cast<size_t>(order.faceOrder[f]) * 3, 3, order.indices.begin() + f * 3);

  bool compact = (flags & D3DXMESHOPT_COMPACT) != 0;
  bool moveVertices = (flags & D3DXMESHOPT_IGNOREVERTS) == 0;
  if (moveVertices && (flags & kFaceOrdering)) {
    NumberVerticesByFirstUse(compact, vertexCount, order);
  } else if (moveVertices && compact) {
    DropUnusedVertices(vertexCount, order);
  } else {
    order.vertexOrder.resize(vertexCount);
    std::iota(order.vertexOrder.begin(), order.vertexOrder.end(), 0u);
  }
  return D3D_OK;
}
