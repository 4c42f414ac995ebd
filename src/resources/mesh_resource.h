// One model loaded from an X file: the mesh, its day and night material sets,
// the order its subsets are drawn in, their textures and the model's bounds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "gfxutil/d3dx_mesh.h"
#include "gfxutil/load_notes.h"
#include "platform/d3d/com.h"
#include "platform/d3d/d3d8.h"
#include "platform/os/path_lookup.h"

class MeshResource {
 public:
  MeshResource() = default;
  ~MeshResource() { release(); }
  MeshResource(const MeshResource&) = delete;
  MeshResource& operator=(const MeshResource&) = delete;

  // Loads the file (path relative to the current directory, letter case
  // ignored) and the textures its materials name; a texture name that finds
  // nothing is looked for in the model's directory. A failed load leaves the
  // resource empty, but with fileName set. Logs "load(path) ... ok." or "... failed.".
  bool load(const char* path, D3DCOLOR colourKey, UINT mipLevels);
  // Back to empty, textures handed back to the cache.
  void release();
  // Draws every subset in draw order with the day or night materials (as
  // nightMode says); render states are the caller's.
  void draw(const D3DXMATRIX& world) const;

  Com<ID3DXMesh> mesh;  // null while empty
  std::vector<D3DMATERIAL8> dayMaterials;
  std::vector<D3DMATERIAL8> nightMaterials;
  std::vector<uint32_t> drawOrder;
  std::vector<IDirect3DTexture8*> textures;  // null where a material has none; held in the texture cache
  std::vector<std::string> textureNames;     // as the file names them; empty where a material has none
  std::vector<ResolvedPath> textureFiles;    // the files those names were found as (kMissing for none)
  uint32_t materialCount = 0;
  std::string fileName;  // path of the last load; empty when empty or released
  // What the last load noted: the model's fault or notes, then each new
  // texture's, in material order. Kept after a failed load; cleared by release.
  std::vector<LoadNote> notes;
  uint32_t loadedVertices = 0;  // as the file gives them, split by normals, before unused ones are dropped
  D3DXVECTOR3 boxMin, boxMax;
  D3DXVECTOR3 sphereCenter;
  float sphereRadius = 0.0f;

 private:
  void TakeMaterials(const void* materialBuffer, D3DCOLOR colourKey, UINT mipLevels);
  void ComputeBounds();
  void OptimizeMesh();
};
