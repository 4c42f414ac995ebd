#include "gfxutil/mesh/optimize.h"

#include <meshoptimizer.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "gfxutil/mesh/vertex_cache.h"

namespace {

constexpr DWORD kFaceOrdering = D3DXMESHOPT_VERTEXCACHE | D3DXMESHOPT_STRIPREORDER;
constexpr uint32_t kUnused = UINT32_MAX;

// The runs of faces with one attribute, as [first, end) face numbers.
std::vector<std::pair<size_t, size_t>> AttributeRunsOf(const std::vector<DWORD>& attributes) {
  std::vector<std::pair<size_t, size_t>> runs;
  for (size_t start = 0; start < attributes.size();) {
    size_t end = start + 1;
    while (end < attributes.size() && attributes[end] == attributes[start]) ++end;
    runs.emplace_back(start, end);
    start = end;
  }
  return runs;
}

// Faces `order` lists (old face of each new face) made the mesh's faces.
void ApplyFaceOrder(const std::vector<uint32_t>& order, const MeshArrays& mesh) {
  std::vector<uint32_t> indices(order.size() * 3);
  std::vector<DWORD> attributes(order.size());
  for (size_t f = 0; f < order.size(); ++f) {
    std::copy_n(mesh.indices.begin() + static_cast<ptrdiff_t>(order[f]) * 3, 3, indices.begin() + f * 3);
    attributes[f] = mesh.attributes[order[f]];
  }
  mesh.indices = std::move(indices);
  mesh.attributes = std::move(attributes);
}

std::vector<uint32_t> SortedByAttribute(const std::vector<DWORD>& attributes) {
  std::vector<uint32_t> faces(attributes.size());
  std::iota(faces.begin(), faces.end(), 0u);
  std::stable_sort(faces.begin(), faces.end(), [&](uint32_t a, uint32_t b) { return attributes[a] < attributes[b]; });
  return faces;
}

// The face order worked out in full before anything changes, for a caller
// that wants to know it.
HRESULT ReorderFacesTracked(DWORD flags, const MeshArrays& mesh, std::vector<uint32_t>& faceOrder) {
  if (SortsByAttribute(flags)) {
    faceOrder = SortedByAttribute(mesh.attributes);
  } else {
    faceOrder.resize(mesh.attributes.size());
    std::iota(faceOrder.begin(), faceOrder.end(), 0u);
  }
  if (flags & kFaceOrdering) {
    const size_t vertexCount = mesh.vertices.size() / mesh.stride;
    VertexCacheOrderer orderer(vertexCount, (flags & D3DXMESHOPT_STRIPREORDER) != 0);
    for (size_t start = 0; start < faceOrder.size();) {
      size_t end = start + 1;
      while (end < faceOrder.size() && mesh.attributes[faceOrder[end]] == mesh.attributes[faceOrder[start]]) ++end;
      if (!orderer.OrderFaces(mesh.indices.data(), faceOrder.data() + start, end - start)) return E_FAIL;
      start = end;
    }
  }
  ApplyFaceOrder(faceOrder, mesh);
  return D3D_OK;
}

// The same order with no record of where faces came from: sorted only when
// not sorted already, each group ordered within its own indices.
void ReorderFaces(DWORD flags, const MeshArrays& mesh) {
  if (SortsByAttribute(flags) && !std::is_sorted(mesh.attributes.begin(), mesh.attributes.end()))
    ApplyFaceOrder(SortedByAttribute(mesh.attributes), mesh);
  if (!(flags & kFaceOrdering)) return;
  OrderRunsInPlace(mesh.indices.data(), AttributeRunsOf(mesh.attributes), mesh.vertices.size() / mesh.stride,
                   (flags & D3DXMESHOPT_STRIPREORDER) != 0);
}

// The new number of each old vertex: in the order the faces first use them,
// or in their old order; unused ones after the used, in their old order.
// Returns the count of used vertices.
size_t NumberVertices(bool byFirstUse, const MeshArrays& mesh, std::vector<uint32_t>& newOf) {
  const size_t vertexCount = mesh.vertices.size() / mesh.stride;
  newOf.assign(vertexCount, kUnused);
  size_t used = 0;
  if (byFirstUse) {
    used = meshopt_optimizeVertexFetchRemap(newOf.data(), mesh.indices.data(), mesh.indices.size(), vertexCount);
  } else {
    for (uint32_t v : mesh.indices) newOf[v] = 0;
    for (uint32_t& n : newOf)
      if (n != kUnused) n = static_cast<uint32_t>(used++);
  }
  size_t next = used;
  for (uint32_t& n : newOf)
    if (n == kUnused) n = static_cast<uint32_t>(next++);
  return used;
}

// Vertices fetched ahead of a permutation's moves.
constexpr int kFetchAhead = 16;

// Starts fetching the vertex after `at` in its cycle, and returns its place.
size_t FetchVertex(const std::vector<uint32_t>& newOf, const MeshArrays& mesh, size_t at) {
  size_t next = newOf[at];
  const uint8_t* vertex = &mesh.vertices[next * mesh.stride];
  __builtin_prefetch(vertex, 1);
  __builtin_prefetch(vertex + mesh.stride - 1, 1);
  return next;
}

// Moves each vertex to its new number, following the permutation's cycles so
// that no second copy of the vertices is needed.
void PermuteVertices(const std::vector<uint32_t>& newOf, const MeshArrays& mesh) {
  const size_t stride = mesh.stride;
  std::vector<bool> placed(newOf.size());
  std::vector<uint8_t> carried(stride), swap(stride);
  for (size_t start = 0; start < newOf.size(); ++start) {
    if (placed[start] || newOf[start] == start) continue;
    std::memcpy(carried.data(), &mesh.vertices[start * stride], stride);
    // The cycle's later places follow from newOf alone: fetching their
    // vertices ahead hides the cache misses of these scattered moves.
    size_t scout = start;
    for (int i = 0; i < kFetchAhead; ++i) scout = FetchVertex(newOf, mesh, scout);
    for (size_t at = start;;) {
      placed[at] = true;
      scout = FetchVertex(newOf, mesh, scout);
      size_t to = newOf[at];
      uint8_t* target = &mesh.vertices[to * stride];
      if (to == start) {
        std::memcpy(target, carried.data(), stride);
        break;
      }
      std::memcpy(swap.data(), target, stride);
      std::memcpy(target, carried.data(), stride);
      carried.swap(swap);
      at = to;
    }
  }
}

void ReorderVertices(DWORD flags, const MeshArrays& mesh, std::vector<uint32_t>* vertexOrder) {
  const size_t vertexCount = mesh.vertices.size() / mesh.stride;
  const bool compact = (flags & D3DXMESHOPT_COMPACT) != 0;
  if ((flags & D3DXMESHOPT_IGNOREVERTS) || !(compact || (flags & kFaceOrdering))) {
    if (vertexOrder) {
      vertexOrder->resize(vertexCount);
      std::iota(vertexOrder->begin(), vertexOrder->end(), 0u);
    }
    return;
  }
  std::vector<uint32_t> newOf;
  size_t used = NumberVertices((flags & kFaceOrdering) != 0, mesh, newOf);
  for (uint32_t& v : mesh.indices) v = newOf[v];
  PermuteVertices(newOf, mesh);
  const size_t kept = compact ? used : vertexCount;
  if (vertexOrder) {
    vertexOrder->resize(kept);
    for (size_t old = 0; old < vertexCount; ++old)
      if (newOf[old] < kept) (*vertexOrder)[newOf[old]] = static_cast<uint32_t>(old);
  }
  if (kept < vertexCount) {
    mesh.vertices.resize(kept * mesh.stride);
    mesh.vertices.shrink_to_fit();
  }
}

}  // namespace

bool SortsByAttribute(DWORD flags) { return (flags & (D3DXMESHOPT_ATTRSORT | kFaceOrdering)) != 0; }

HRESULT CheckOptimize(DWORD flags, const uint32_t* indices, size_t indexCount, size_t vertexCount) {
  if (flags == 0 || (flags & kFaceOrdering) == kFaceOrdering) return D3DERR_INVALIDCALL;
  if (std::any_of(indices, indices + indexCount, [&](uint32_t v) { return v >= vertexCount; }))
    return D3DERR_INVALIDCALL;
  return D3D_OK;
}

HRESULT OptimizeArrays(DWORD flags, const MeshArrays& mesh, const MeshRemaps& remaps) {
  if (remaps.faceOrder) {
    HRESULT result = ReorderFacesTracked(flags, mesh, *remaps.faceOrder);
    if (FAILED(result)) return result;
  } else {
    ReorderFaces(flags, mesh);
  }
  ReorderVertices(flags, mesh, remaps.vertexOrder);
  return D3D_OK;
}
