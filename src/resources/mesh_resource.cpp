#include "resources/mesh_resource.h"

#include <utility>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "gfxutil/d3dx_mesh.h"
#include "graphics/direct3d.h"
#include "platform/os/text_encoding.h"
#include "resources/load_log.h"
#include "resources/material_sets.h"
#include "resources/texture_cache.h"

namespace {

// The directory part of a model path, with its '/'; empty for a bare file name.
std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

bool MeshResource::load(const char* path, D3DCOLOR colourKey, UINT mipLevels) {
  if (mesh) release();
  LogLoadStart(path);
  fileName = path;
  Com<ID3DXBuffer> materialBuffer;
  DWORD count = 0;
  Com<ID3DXMesh> loaded;
  LoadNotes modelNotes;
  // No adjacency is asked for: the vertex-cache ordering does not use it.
  HRESULT result = D3DXLoadMeshFromX(path, D3DXMESH_SYSTEMMEM, Graphics().d3dDevice, nullptr, materialBuffer.put(),
                                     &count, loaded.put(), &modelNotes);
  bool ok = SUCCEEDED(result) && loaded;
  LogLoadOutcome(ok, modelNotes, FindingCode::kModelUnreadable);
  notes = modelNotes.All();
  if (!ok) return false;
  mesh = std::move(loaded);
  materialCount = count;
  loadedVertices = mesh->GetNumVertices();
  TakeMaterials(materialBuffer ? materialBuffer->GetBufferPointer() : nullptr, colourKey, mipLevels);
  ComputeBounds();
  OptimizeMesh();
  return true;
}

void MeshResource::TakeMaterials(const void* materialBuffer, D3DCOLOR colourKey, UINT mipLevels) {
  dayMaterials.resize(materialCount);
  nightMaterials.resize(materialCount);
  drawOrder.resize(materialCount);
  textures.assign(materialCount, nullptr);
  textureNames.assign(materialCount, std::string());
  textureFiles.assign(materialCount, ResolvedPath{});
  const auto* fileMaterials = static_cast<const D3DXMATERIAL*>(materialBuffer);
  std::string modelDirectory = DirectoryOf(fileName);
  for (uint32_t j = 0; j < materialCount; ++j) {
    dayMaterials[j] = DayMaterial(fileMaterials ? fileMaterials[j].MatD3D : D3DMATERIAL8{});
    nightMaterials[j] = NightMaterial(dayMaterials[j]);
    drawOrder[j] = j;
    if (fileMaterials && fileMaterials[j].pTextureFilename) {
      textureNames[j] = fileMaterials[j].pTextureFilename;
      LoadNotes textureNotes;
      textures[j] = Textures().acquire(fileMaterials[j].pTextureFilename, colourKey, mipLevels, modelDirectory,
                                       &textureFiles[j], &textureNotes);
      std::vector<LoadNote> all = textureNotes.All();
      notes.insert(notes.end(), all.begin(), all.end());
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

// In place, so that the loaded and the optimised mesh are never held together;
// a failure leaves the loaded mesh as it was.
void MeshResource::OptimizeMesh() {
  HRESULT result =
      mesh->OptimizeInplace(D3DXMESHOPT_COMPACT | D3DXMESHOPT_ATTRSORT | D3DXMESHOPT_VERTEXCACHE, nullptr, nullptr,
                            nullptr, nullptr);
  if (FAILED(result)) LogPrintf("optimization failed.\n");
}

void MeshResource::release() {
  if (!fileName.empty()) {
    LogPrintf("release(%s)\n", OnOneLine(fileName).c_str());
    fileName.clear();
  }
  dayMaterials.clear();
  nightMaterials.clear();
  drawOrder.clear();
  for (IDirect3DTexture8* texture : textures) Textures().release(texture);
  textures.clear();
  textureNames.clear();
  textureFiles.clear();
  materialCount = 0;
  notes.clear();
  loadedVertices = 0;
  mesh.reset();
}

void MeshResource::draw(const D3DXMATRIX& world) const {
  const std::vector<D3DMATERIAL8>& materials = Program().nightMode ? nightMaterials : dayMaterials;
  if (!mesh) return;
  Graphics().d3dDevice->SetTransform(D3DTS_WORLD, &world);
  for (uint32_t i = 0; i < materialCount; ++i) {
    uint32_t subset = drawOrder[i];
    Graphics().d3dDevice->SetMaterial(&materials[subset]);
    Graphics().d3dDevice->SetTexture(0, textures[subset]);
    mesh->DrawSubset(subset);
  }
}
