// The one implementation of ID3DXMesh: arrays in system memory, device
// buffers made when the mesh is first drawn.
#pragma once
#include <cstddef>
#include <vector>

#include "gfxutil/d3dx_mesh.h"

// Mesh options sit below the D3DXMESHOPT_ flags.
constexpr DWORD kMeshOptionBits = 0x00FFFFFF;

class MeshObject final : public ID3DXMesh {
 public:
  // Takes the vertices (in the layout of `fvf`), the faces' indices (three
  // per face) and attributes. Indices are 32-bit with D3DXMESH_32BIT or above
  // 65535 vertices.
  MeshObject(IDirect3DDevice8* device, DWORD options, DWORD fvf, std::vector<uint8_t>&& vertices,
             std::vector<uint32_t>&& indices, std::vector<DWORD>&& attributes);

  DWORD GetNumFaces() override { return static_cast<DWORD>(attributes_.size()); }
  DWORD GetNumVertices() override { return static_cast<DWORD>(vertexCount_); }
  DWORD GetFVF() override { return fvf_; }
  DWORD GetNumBytesPerVertex() override { return stride_; }
  DWORD GetOptions() override { return options_; }

  HRESULT LockVertexBuffer(DWORD flags, uint8_t** data) override;
  HRESULT UnlockVertexBuffer() override { return D3D_OK; }
  HRESULT LockIndexBuffer(DWORD flags, uint8_t** data) override;
  HRESULT UnlockIndexBuffer() override { return D3D_OK; }
  HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) override;
  HRESULT UnlockAttributeBuffer() override { return D3D_OK; }
  HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) override;

  HRESULT Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                   ID3DXBuffer** vertexRemap, ID3DXMesh** optimized) override;
  HRESULT OptimizeInplace(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                          ID3DXBuffer** vertexRemap) override;
  HRESULT DrawSubset(DWORD attribId) override;

  bool Indices32() const { return (options_ & D3DXMESH_32BIT) != 0; }

 private:
  ~MeshObject() override;
  // Keeps the indices as DWORDs, or as WORDs when the options and the vertex
  // count allow.
  void SetIndices(std::vector<uint32_t>&& indices);
  void* IndexData() { return Indices32() ? static_cast<void*>(indices32_.data()) : indices16_.data(); }
  HRESULT PrepareDeviceBuffers();
  const std::vector<D3DXATTRIBUTERANGE>& DrawRanges();

  IDirect3DDevice8* device_;
  DWORD requestedOptions_, options_, fvf_, stride_;
  size_t vertexCount_;
  std::vector<uint8_t> vertices_;
  std::vector<uint16_t> indices16_;
  std::vector<uint32_t> indices32_;
  std::vector<DWORD> attributes_;
  std::vector<D3DXATTRIBUTERANGE> attributeTable_;

  IDirect3DVertexBuffer8* vertexBuffer_ = nullptr;
  IDirect3DIndexBuffer8* indexBuffer_ = nullptr;
  bool verticesChanged_ = true, indicesChanged_ = true;
  std::vector<D3DXATTRIBUTERANGE> faceRuns_;  // drawn when there is no attribute table
  bool faceRunsStale_ = true;
};
