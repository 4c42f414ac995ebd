// Meshes with the published behaviour of their D3DX 8 namesakes: loading from
// an X file, bounding volumes, optimisation and drawing by subset.
#pragma once
#include <cstdint>

#include "gfxutil/d3dx_math.h"
#include "gfxutil/load_notes.h"
#include "gfxutil/xfile/errors.h"
#include "platform/d3d/d3d8.h"

// Mesh options.
constexpr DWORD D3DXMESH_32BIT = 0x001;  // 32-bit indices (also chosen above 65535 vertices)
constexpr DWORD D3DXMESH_SYSTEMMEM = 0x110;

// Optimize flags.
constexpr DWORD D3DXMESHOPT_COMPACT = 0x01000000;       // drop unused vertices
constexpr DWORD D3DXMESHOPT_ATTRSORT = 0x02000000;      // faces sorted by attribute, attribute table filled
constexpr DWORD D3DXMESHOPT_VERTEXCACHE = 0x04000000;   // faces of each attribute ordered for the vertex cache
constexpr DWORD D3DXMESHOPT_STRIPREORDER = 0x08000000;  // ... ordered for strips
constexpr DWORD D3DXMESHOPT_IGNOREVERTS = 0x10000000;   // faces only; vertices stay as they are
constexpr DWORD D3DXMESHOPT_DONOTSPLIT = 0x20000000;    // vertices shared between attributes stay shared

constexpr DWORD kNoAdjacentFace = 0xFFFFFFFF;

struct D3DXMATERIAL {
  D3DMATERIAL8 MatD3D;
  char* pTextureFilename;  // null when the material has no texture
};

struct D3DXATTRIBUTERANGE {
  DWORD AttribId;
  DWORD FaceStart;
  DWORD FaceCount;
  DWORD VertexStart;
  DWORD VertexCount;
};

class ID3DXBuffer : public IUnknown {
 public:
  virtual void* GetBufferPointer() = 0;
  virtual DWORD GetBufferSize() = 0;
};

// A triangle-list mesh. Its vertices, indices and attributes live in system
// memory; the device buffers are made on the first DrawSubset and refreshed
// after a lock for writing.
class ID3DXMesh : public IUnknown {
 public:
  virtual DWORD GetNumFaces() = 0;
  virtual DWORD GetNumVertices() = 0;
  virtual DWORD GetFVF() = 0;
  virtual DWORD GetNumBytesPerVertex() = 0;
  virtual DWORD GetOptions() = 0;  // D3DXMESH_32BIT set when the indices are 32-bit

  virtual HRESULT LockVertexBuffer(DWORD flags, uint8_t** data) = 0;
  virtual HRESULT UnlockVertexBuffer() = 0;
  virtual HRESULT LockIndexBuffer(DWORD flags, uint8_t** data) = 0;  // WORDs, or DWORDs with D3DXMESH_32BIT
  virtual HRESULT UnlockIndexBuffer() = 0;
  virtual HRESULT LockAttributeBuffer(DWORD flags, DWORD** data) = 0;
  virtual HRESULT UnlockAttributeBuffer() = 0;
  // With a null table, only the entry count is written.
  virtual HRESULT GetAttributeTable(D3DXATTRIBUTERANGE* table, DWORD* size) = 0;

  // A new mesh with faces and vertices reordered by `flags` (D3DXMESHOPT_*,
  // plus mesh options for the new mesh). The adjacency in (3 DWORDs per face)
  // may be null: the orderings use the faces' shared vertices alone, and it is
  // read only to give the new adjacency. Outputs may be null: the new
  // adjacency, the old face of each new face, and a buffer holding the old
  // vertex of each new vertex (0xFFFFFFFF past the new vertex count).
  virtual HRESULT Optimize(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                           ID3DXBuffer** vertexRemap, ID3DXMesh** optimized) = 0;
  // The same reordering applied to this mesh, needing no second copy of it.
  // A refusal leaves the mesh as it was.
  virtual HRESULT OptimizeInplace(DWORD flags, const DWORD* adjacencyIn, DWORD* adjacencyOut, DWORD* faceRemap,
                                  ID3DXBuffer** vertexRemap) = 0;

  // Draws the faces whose attribute is `attribId`: the attribute table's
  // range when there is one, else each run of such faces.
  virtual HRESULT DrawSubset(DWORD attribId) = 0;
};

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer);
// A mesh with zeroed vertices, indices and attributes.
HRESULT D3DXCreateMeshFVF(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice8* device,
                          ID3DXMesh** mesh);

// Loads every mesh of the X file (its name looked up as ResolvePath does),
// merged into one. `materials` receives
// `numMaterials` D3DXMATERIAL entries (texture names as stored in the file)
// and `adjacency` three DWORDs per face; both may be null. A file without
// materials gets one default material. `notes`, when given, receives what the
// reader repaired and, on failure, the fault that stopped it.
HRESULT D3DXLoadMeshFromX(const char* file, DWORD options, IDirect3DDevice8* device, ID3DXBuffer** adjacency,
                          ID3DXBuffer** materials, DWORD* numMaterials, ID3DXMesh** mesh,
                          LoadNotes* notes = nullptr);

// Bytes per vertex of a flexible vertex format.
UINT D3DXGetFVFVertexSize(DWORD fvf);

// Over `count` vertices of format `fvf` starting at `points`: the smallest box
// holding the positions, and the sphere centred on their mean whose radius is
// the largest distance from it.
HRESULT D3DXComputeBoundingBox(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* min, D3DXVECTOR3* max);
HRESULT D3DXComputeBoundingSphere(const void* points, DWORD count, DWORD fvf, D3DXVECTOR3* center, float* radius);
