// Fuzz target: the in-memory X-file reader, then the adjacency and the
// optimiser's ordering over whatever mesh it reads.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "gfxutil/mesh/adjacency.h"
#include "gfxutil/mesh/optimize.h"
#include "gfxutil/xfile/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  XMeshData mesh;
  XReadError error;
  if (FAILED(ReadXFileMemory(std::span<const uint8_t>(data, size), mesh, error))) return 0;
  std::vector<DWORD> adjacency = ComputeAdjacency(mesh.indices.data(), mesh.FaceCount(), mesh.VertexCount());
  std::vector<uint8_t> positions(mesh.VertexCount() * sizeof(D3DXVECTOR3));
  for (size_t v = 0; v < mesh.VertexCount(); ++v) {
    XVertex vertex = mesh.Vertex(v);
    std::memcpy(&positions[v * sizeof(D3DXVECTOR3)], &vertex.position, sizeof(D3DXVECTOR3));
  }
  std::vector<uint32_t> faceOrder;
  OptimizeArrays(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE,
                 {positions, sizeof(D3DXVECTOR3), mesh.indices, mesh.attributes}, {&faceOrder, nullptr});
  return 0;
}
