// Fuzz target: the in-memory X-file reader, then the adjacency and the
// optimiser's ordering over whatever mesh it reads.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gfxutil/mesh/adjacency.h"
#include "gfxutil/mesh/optimize.h"
#include "gfxutil/xfile/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  XMeshData mesh;
  XReadError error;
  if (FAILED(ReadXFileMemory(std::span<const uint8_t>(data, size), mesh, error))) return 0;
  std::vector<DWORD> adjacency = ComputeAdjacency(mesh.indices.data(), mesh.FaceCount(), mesh.vertices.size());
  MeshOrder order;
  PlanMeshOrder(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE, true, mesh.indices.data(),
                mesh.FaceCount(), mesh.attributes.data(), mesh.vertices.size(), order);
  return 0;
}
