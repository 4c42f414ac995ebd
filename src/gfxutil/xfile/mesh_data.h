// The mesh an X file describes, as plain data: every mesh of the file merged
// into one triangle list with its materials. No device is involved, so the
// reader can be tested and fuzzed on its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "gfxutil/load_notes.h"

struct XVertex {
  D3DXVECTOR3 position;
  D3DXVECTOR3 normal;   // (0,0,0) when the file gives none
  D3DCOLOR colour = 0;  // ARGB
  float u = 0, v = 0;
};

struct XMaterial {
  D3DMATERIAL8 material{};
  bool hasTexture = false;
  std::string textureName;  // bytes exactly as stored in the file
};

// Where the elements of a vertex lie in the layout of a vertex format: the
// position first, then the normal, the diffuse colour and the texture
// coordinates as far as the format has them (-1 when it has not).
struct XVertexLayout {
  explicit XVertexLayout(DWORD fvf);
  void Write(const XVertex& vertex, uint8_t* out) const;
  XVertex Read(const uint8_t* in) const;  // the elements the format lacks are zero

  int normal = -1, diffuse = -1, texCoord = -1;
  size_t size = 12;
};

struct XMeshData {
  DWORD fvf = D3DFVF_XYZ;           // XYZ, plus NORMAL, DIFFUSE, TEX1 when any mesh has them
  std::vector<uint8_t> vertexBytes;  // the vertices in the layout of `fvf`, as a vertex buffer holds them
  std::vector<uint32_t> indices;     // three per face
  std::vector<uint32_t> attributes;  // material index per face
  std::vector<XMaterial> materials;  // never empty after a successful read
  LoadNotes notes;                   // what the reader repaired, whether or not the read succeeded

  size_t FaceCount() const { return attributes.size(); }
  size_t VertexCount() const { return vertexBytes.size() / XVertexLayout(fvf).size; }
  XVertex Vertex(size_t index) const;
};

// The material given to meshes of a file that names none.
XMaterial DefaultXMaterial();
