#include "gfxutil/mesh/object.h"

#include <algorithm>
#include <cstring>

#include "gfxutil/mesh/adjacency.h"
#include "gfxutil/mesh/attribute_runs.h"
#include "gfxutil/mesh/optimize.h"

namespace {
constexpr size_t kMax16BitVertices = 65535;
}  // namespace

MeshObject::MeshObject(IDirect3DDevice8* device, DWORD options, DWORD fvf, std::vector<uint8_t>&& vertices,
                       std::vector<uint32_t>&& indices, std::vector<DWORD>&& attributes)
    : device_(device),
      requestedOptions_(options),
      options_(options),
      fvf_(fvf),
      stride_(D3DXGetFVFVertexSize(fvf)),
      vertexCount_(vertices.size() / stride_),
      vertices_(std::move(vertices)),
      attributes_(std::move(attributes)) {
  SetIndices(std::move(indices));
  device_->AddRef();
}

void MeshObject::SetIndices(std::vector<uint32_t>&& indices) {
  options_ = requestedOptions_ | (vertexCount_ > kMax16BitVertices ? D3DXMESH_32BIT : 0);
  if (Indices32()) {
    indices32_ = std::move(indices);
    indices16_ = std::vector<uint16_t>();
  } else {
    indices16_.assign(indices.begin(), indices.end());
    indices = std::vector<uint32_t>();
    indices32_ = std::vector<uint32_t>();
  }
  indicesChanged_ = faceRunsStale_ = true;
}

MeshObject::~MeshObject() {
  if (vertexBuffer_) vertexBuffer_->Release();
  if (indexBuffer_) indexBuffer_->Release();
  device_->Release();
}

HRESULT MeshObject::LockVertexBuffer(DWORD flags, uint8_t** data) {
  if (!data) return D3DERR_INVALIDCALL;
  *data = vertices_.data();
  if (!(flags & D3DLOCK_READONLY)) verticesChanged_ = true;
  return D3D_OK;
}

HRESULT MeshObject::LockIndexBuffer(DWORD flags, uint8_t** data) {
  if (!data) return D3DERR_INVALIDCALL;
  *data = static_cast<uint8_t*>(IndexData());
  if (!(flags & D3DLOCK_READONLY)) indicesChanged_ = faceRunsStale_ = true;
  return D3D_OK;
}

HRESULT MeshObject::LockAttributeBuffer(DWORD flags, DWORD** data) {
  if (!data) return D3DERR_INVALIDCALL;
  *data = attributes_.data();
  if (!(flags & D3DLOCK_READONLY)) faceRunsStale_ = true;
  return D3D_OK;
}

HRESULT MeshObject::GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) {
  if (!size) return D3DERR_INVALIDCALL;
  if (table) std::copy(attributeTable_.begin(), attributeTable_.end(), table);
  *size = static_cast<DWORD>(attributeTable_.size());
  return D3D_OK;
}

HRESULT MeshObject::Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                             ID3DXBuffer** vertexRemap, ID3DXMesh** optimized) {
  if (!optimized) return D3DERR_INVALIDCALL;
  *optimized = nullptr;
  std::vector<uint32_t> indices = Indices32() ? indices32_ : std::vector<uint32_t>(indices16_.begin(), indices16_.end());
  auto* copy = new MeshObject(device_, flags & kMeshOptionBits, fvf_, std::vector<uint8_t>(vertices_),
                              std::move(indices), std::vector<DWORD>(attributes_));
  HRESULT result = copy->OptimizeInplace(flags, adjacencyIn, adjacencyOut, faceRemap, vertexRemap);
  if (FAILED(result)) {
    copy->Release();
    return result;
  }
  *optimized = copy;
  return D3D_OK;
}

HRESULT MeshObject::OptimizeInplace(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                                    ID3DXBuffer** vertexRemap) {
  // The mesh's own indices are let go while the wide copy is worked on.
  std::vector<uint32_t> indices = Indices32() ? std::move(indices32_)
                                              : std::vector<uint32_t>(indices16_.begin(), indices16_.end());
  indices16_ = std::vector<uint16_t>();
  HRESULT result = CheckOptimize(flags, indices.data(), indices.size(), vertexCount_);
  const size_t faceCount = attributes_.size(), oldVertexCount = vertexCount_;
  std::vector<uint32_t> faceOrder, vertexOrder;
  MeshRemaps remaps;
  if (faceRemap || (adjacencyOut && adjacencyIn)) remaps.faceOrder = &faceOrder;
  if (vertexRemap) remaps.vertexOrder = &vertexOrder;
  if (SUCCEEDED(result)) result = OptimizeArrays(flags, {vertices_, stride_, indices, attributes_}, remaps);
  if (FAILED(result)) {
    // A refusal leaves the indices as they were.
    if (Indices32())
      indices32_ = std::move(indices);
    else
      indices16_.assign(indices.begin(), indices.end());
    return result;
  }
  vertexCount_ = vertices_.size() / stride_;
  if (vertexRemap) {
    D3DXCreateBuffer(static_cast<DWORD>(oldVertexCount * sizeof(DWORD)), vertexRemap);
    DWORD* remap = static_cast<DWORD*>((*vertexRemap)->GetBufferPointer());
    std::fill(std::copy(vertexOrder.begin(), vertexOrder.end(), remap), remap + oldVertexCount, kNoAdjacentFace);
  }
  if (adjacencyOut && adjacencyIn) {
    std::vector<uint32_t> newFaceOf(faceCount);
    for (size_t f = 0; f < faceCount; ++f) newFaceOf[faceOrder[f]] = static_cast<uint32_t>(f);
    std::vector<DWORD> adjacency(faceCount * 3);
    for (size_t f = 0; f < faceCount; ++f) {
      for (int k = 0; k < 3; ++k) {
        DWORD old = adjacencyIn[faceOrder[f] * size_t{3} + k];
        adjacency[f * 3 + k] = old < faceCount ? newFaceOf[old] : kNoAdjacentFace;
      }
    }
    std::copy(adjacency.begin(), adjacency.end(), adjacencyOut);  // the two may be one array
  } else if (adjacencyOut) {
    ComputeAdjacency(indices.data(), faceCount, vertexCount_, adjacencyOut);
  }
  if (faceRemap) std::copy(faceOrder.begin(), faceOrder.end(), faceRemap);
  SetIndices(std::move(indices));
  verticesChanged_ = true;
  attributeTable_.clear();
  if (SortsByAttribute(flags)) attributeTable_ = AttributeRuns(IndexData(), Indices32(), attributes_.data(), faceCount);
  return D3D_OK;
}

HRESULT MeshObject::PrepareDeviceBuffers() {
  HRESULT result;
  UINT vertexBytes = static_cast<UINT>(vertices_.size());
  UINT indexBytes = static_cast<UINT>(Indices32() ? indices32_.size() * 4 : indices16_.size() * 2);
  if (!vertexBuffer_ &&
      FAILED(result = device_->CreateVertexBuffer(vertexBytes, D3DUSAGE_WRITEONLY, fvf_, D3DPOOL_MANAGED,
                                                   &vertexBuffer_)))
    return result;
  if (!indexBuffer_ &&
      FAILED(result = device_->CreateIndexBuffer(indexBytes, D3DUSAGE_WRITEONLY,
                                                  Indices32() ? D3DFMT_INDEX32 : D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                                  &indexBuffer_)))
    return result;
  uint8_t* target;
  if (verticesChanged_) {
    if (FAILED(result = vertexBuffer_->Lock(0, vertexBytes, &target, 0))) return result;
    std::memcpy(target, vertices_.data(), vertexBytes);
    vertexBuffer_->Unlock();
    verticesChanged_ = false;
  }
  if (indicesChanged_) {
    if (FAILED(result = indexBuffer_->Lock(0, indexBytes, &target, 0))) return result;
    std::memcpy(target, IndexData(), indexBytes);
    indexBuffer_->Unlock();
    indicesChanged_ = false;
  }
  return D3D_OK;
}

const std::vector<D3DXATTRIBUTERANGE>& MeshObject::DrawRanges() {
  if (!attributeTable_.empty()) return attributeTable_;
  if (faceRunsStale_) {
    faceRuns_ = AttributeRuns(IndexData(), Indices32(), attributes_.data(), attributes_.size());
    faceRunsStale_ = false;
  }
  return faceRuns_;
}

HRESULT MeshObject::DrawSubset(DWORD attribId) {
  bool prepared = false;
  for (const D3DXATTRIBUTERANGE& range : DrawRanges()) {
    if (range.AttribId != attribId || range.FaceCount == 0) continue;
    if (!prepared) {
      HRESULT result = PrepareDeviceBuffers();
      if (FAILED(result)) return result;
      device_->SetVertexShader(fvf_);
      device_->SetStreamSource(0, vertexBuffer_, stride_);
      device_->SetIndices(indexBuffer_, 0);
      prepared = true;
    }
    HRESULT result = device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, range.VertexStart, range.VertexCount,
                                                   range.FaceStart * 3, range.FaceCount);
    if (FAILED(result)) return result;
  }
  return D3D_OK;
}
