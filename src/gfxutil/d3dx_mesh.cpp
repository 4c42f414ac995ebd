#include "gfxutil/d3dx_mesh.h"

#include <cstring>
#include <string>

#include "gfxutil/load_notes.h"
#include "gfxutil/mesh/adjacency.h"
#include "gfxutil/mesh/object.h"
#include "gfxutil/xfile/reader.h"
#include "platform/os/path_lookup.h"

namespace {

// D3DXMATERIAL entries followed by the texture names they point to.
ID3DXBuffer* MaterialBuffer(const std::vector<XMaterial>& materials) {
  size_t size = materials.size() * sizeof(D3DXMATERIAL);
  for (const XMaterial& m : materials)
    if (m.hasTexture) size += m.textureName.size() + 1;
  ID3DXBuffer* buffer;
  D3DXCreateBuffer(static_cast<DWORD>(size), &buffer);
  auto* entries = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
  char* names = reinterpret_cast<char*>(entries + materials.size());
  for (size_t i = 0; i < materials.size(); ++i) {
    entries[i].MatD3D = materials[i].material;
    entries[i].pTextureFilename = nullptr;
    if (!materials[i].hasTexture) continue;
    entries[i].pTextureFilename = names;
    std::memcpy(names, materials[i].textureName.c_str(), materials[i].textureName.size() + 1);
    names += materials[i].textureName.size() + 1;
  }
  return buffer;
}

ID3DXBuffer* AdjacencyBuffer(const XMeshData& data) {
  ID3DXBuffer* buffer;
  D3DXCreateBuffer(static_cast<DWORD>(data.FaceCount() * 3 * sizeof(DWORD)), &buffer);
  ComputeAdjacency(data.indices.data(), data.FaceCount(), data.VertexCount(),
                   static_cast<DWORD*>(buffer->GetBufferPointer()));
  return buffer;
}

}  // namespace

HRESULT D3DXCreateMeshFVF(DWORD numFaces, DWORD numVertices, DWORD options, DWORD fvf, IDirect3DDevice8* device,
                          ID3DXMesh** mesh) {
  if (!device || !mesh || numFaces == 0 || numVertices == 0 || (fvf & D3DFVF_POSITION_MASK) != D3DFVF_XYZ)
    return D3DERR_INVALIDCALL;
  *mesh = new MeshObject(device, options & kMeshOptionBits, fvf,
                         std::vector<uint8_t>(size_t{numVertices} * D3DXGetFVFVertexSize(fvf)),
                         std::vector<uint32_t>(numFaces * size_t{3}), std::vector<DWORD>(numFaces));
  return D3D_OK;
}

HRESULT D3DXLoadMeshFromX(const char* file, DWORD options, IDirect3DDevice8* device, ID3DXBuffer** adjacency,
                          ID3DXBuffer** materials, DWORD* numMaterials, ID3DXMesh** mesh, LoadNotes* notes) {
  if (!file || !device || !mesh) return D3DERR_INVALIDCALL;
  *mesh = nullptr;
  if (adjacency) *adjacency = nullptr;
  if (materials) *materials = nullptr;
  if (numMaterials) *numMaterials = 0;

  // Windows opens the file whatever the letter case of its name; a name that
  // finds nothing is read as given, for the reader's own reason.
  ResolvedPath found = ResolvePath(file);
  XMeshData data;
  XReadError error;
  HRESULT result = ReadXFile(found.match == PathMatch::kMissing ? file : found.path.c_str(), data, error);
  if (notes) {
    notes->Append(data.notes);
    if (FAILED(result))
      notes->SetFatal(
          LoadNote{FindingCode::kModelUnreadable, file, error.line, error.place, error.objectPath, error.what});
  }
  if (FAILED(result)) return result;
  if (materials) *materials = MaterialBuffer(data.materials);
  if (numMaterials) *numMaterials = static_cast<DWORD>(data.materials.size());
  if (adjacency) *adjacency = AdjacencyBuffer(data);

  // The mesh takes the arrays over: no second copy of them is made.
  *mesh = new MeshObject(device, options & kMeshOptionBits, data.fvf, std::move(data.vertexBytes),
                         std::move(data.indices), std::move(data.attributes));
  return D3D_OK;
}
