#include "resources/mesh_resource.h"

#include "base/debug_log.h"
#include "base/program_globals.h"
#include "gfxutil/d3dx_mesh.h"
#include "graphics/direct3d.h"
#include "resources/load_log.h"
#include "resources/material_sets.h"
#include "resources/texture_cache.h"

bool MeshResource::load(const char* path, D3DCOLOR colourKey, UINT mipLevels) {
  if (mesh) release();
  LogLoadStart(path);
  fileName = path;
  ID3DXBuffer* adjacency = nullptr;
  ID3DXBuffer* materialBuffer = nullptr;
  DWORD count = 0;
  ID3DXMesh* loaded = nullptr;
  HRESULT result = D3DXLoadMeshFromX(path, D3DXMESH_SYSTEMMEM, d3dDevice, &adjacency, &materialBuffer, &count, &loaded);
  if (FAILED(result) || !loaded) {
    LogLoadOutcome(false);
    return false;
  }
  LogLoadOutcome(true);
  mesh = loaded;
  materialCount = count;
  TakeMaterials(materialBuffer ? materialBuffer->GetBufferPointer() : nullptr, colourKey, mipLevels);
  if (materialBuffer) materialBuffer->Release();
  ComputeBounds();
  OptimizeMesh(adjacency ? adjacency->GetBufferPointer() : nullptr);
  if (adjacency) adjacency->Release();
  return true;
}

void MeshResource::TakeMaterials(const void* materialBuffer, D3DCOLOR colourKey, UINT mipLevels) {
  dayMaterials.resize(materialCount);
  nightMaterials.resize(materialCount);
  drawOrder.resize(materialCount);
  textures.assign(materialCount, nullptr);
  textureNames.assign(materialCount, std::string());
  const auto* fileMaterials = static_cast<const D3DXMATERIAL*>(materialBuffer);
  for (uint32_t j = 0; j < materialCount; ++j) {
    dayMaterials[j] = DayMaterial(fileMaterials ? fileMaterials[j].MatD3D : D3DMATERIAL8{});
    nightMaterials[j] = NightMaterial(dayMaterials[j]);
    drawOrder[j] = j;
    if (fileMaterials && fileMaterials[j].pTextureFilename) {
      textureNames[j] = fileMaterials[j].pTextureFilename;
      textures[j] = textureCache.acquire(fileMaterials[j].pTextureFilename, colourKey, mipLevels);
    }
  }
  if (materialCount > 1) SortByDiffuseAlpha(dayMaterials.data(), drawOrder.data(), materialCount);
}

void MeshResource::ComputeBounds() {
  uint8_t* vertices = nullptr;
  if (FAILED(mesh->LockVertexBuffer(D3DLOCK_READONLY | D3DLOCK_NOSYSLOCK, &vertices)) || !vertices) return;
  DWORD count = mesh->GetNumVertices();
  DWORD fvf = mesh->GetFVF();
  D3DXComputeBoundingBox(vertices, count, fvf, &boxMin, &boxMax);
  D3DXComputeBoundingSphere(vertices, count, fvf, &sphereCenter, &sphereRadius);
  mesh->UnlockVertexBuffer();
}

void MeshResource::OptimizeMesh(const void* adjacency) {
  ID3DXMesh* optimized = nullptr;
  HRESULT result =
      mesh->Optimize(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE,
                     static_cast<const DWORD*>(adjacency), nullptr, nullptr, nullptr, &optimized);
  if (FAILED(result) || !optimized) {
    LogPrintf("optimization failed.\n");
    return;
  }
  mesh->Release();
  mesh = optimized;
}

void MeshResource::release() {
  if (!fileName.empty()) {
    LogPrintf("release(%s)\n", fileName.c_str());
    fileName.clear();
  }
  dayMaterials.clear();
  nightMaterials.clear();
  drawOrder.clear();
  for (IDirect3DTexture8* texture : textures) textureCache.release(texture);
  textures.clear();
  textureNames.clear();
  materialCount = 0;
  if (mesh) {
    mesh->Release();
    mesh = nullptr;
  }
}

void MeshResource::draw(const D3DXMATRIX& world) const {
  const std::vector<D3DMATERIAL8>& materials = nightMode ? nightMaterials : dayMaterials;
  if (!mesh) return;
  d3dDevice->SetTransform(D3DTS_WORLD, &world);
  for (uint32_t i = 0; i < materialCount; ++i) {
    uint32_t subset = drawOrder[i];
    d3dDevice->SetMaterial(&materials[subset]);
    d3dDevice->SetTexture(0, textures[subset]);
    mesh->DrawSubset(subset);
  }
}
