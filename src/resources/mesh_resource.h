// One model loaded from an X file: the mesh, its day and night material sets,
// the order its subsets are drawn in, their textures and the model's bounds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "platform/d3d/d3d8.h"

class ID3DXMesh;

class MeshResource {
 public:
  MeshResource() = default;
  ~MeshResource() { release(); }
  MeshResource(const MeshResource&) = delete;
  MeshResource& operator=(const MeshResource&) = delete;

  // Loads the file (path as given, relative to the current directory) and the
  // textures its materials name. A failed load leaves the resource empty, but
  // with fileName set. Logs "load(path) ... ok." or "... failed.".
  bool load(const char* path, D3DCOLOR colourKey, UINT mipLevels);
  // Back to empty, textures handed back to the cache.
  void release();
  // Draws every subset in draw order with the day or night materials (as
  // nightMode says); render states are the caller's.
  void draw(const D3DXMATRIX& world) const;

  ID3DXMesh* mesh = nullptr;  // owned; null while empty
  std::vector<D3DMATERIAL8> dayMaterials;
  std::vector<D3DMATERIAL8> nightMaterials;
  std::vector<uint32_t> drawOrder;
  std::vector<IDirect3DTexture8*> textures;  // null where a material has none; held in the texture cache
  std::vector<std::string> textureNames;     // the file each material names, as written; empty where none
  uint32_t materialCount = 0;
  std::string fileName;  // path of the last load; empty when empty or released
  D3DXVECTOR3 boxMin, boxMax;
  D3DXVECTOR3 sphereCenter;
  float sphereRadius = 0.0f;

 private:
  void TakeMaterials(const void* materialBuffer, D3DCOLOR colourKey, UINT mipLevels);
  void ComputeBounds();
  void OptimizeMesh(const void* adjacency);
};
