// D3DXLoadMeshFromX and drawing by subset through the recording device.
#include <gtest/gtest.h>

#include "gfxutil/d3dx_mesh.h"
#include "recording_device.h"
#include "xfile_test_support.h"

namespace {

const std::string kTwoMaterialQuads =
    "xof 0303txt 0032\n"
    "Mesh { 8; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;, 0;0;1;, 1;0;1;, 1;1;1;, 0;1;1;;\n"
    " 2; 4;0,1,2,3;, 4;4,5,6,7;;\n"
    " MeshMaterialList { 2; 2; 1,0;;\n"
    "  Material { 1;0;0;1;; 4; 0.5;0.5;0.5;; 0;0;0;; }\n"
    "  Material { 0;0;1;0.5;; 2; 0;0;0;; 0.25;0.25;0.25;; TextureFilename { \"Blue.PNG\"; } } } }\n";

struct Loaded {
  ID3DXMesh* mesh = nullptr;
  ID3DXBuffer* adjacency = nullptr;
  ID3DXBuffer* materials = nullptr;
  DWORD materialCount = 0;
  HRESULT result = E_FAIL;

  Loaded(const std::string& text, IDirect3DDevice8* device, DWORD options = D3DXMESH_SYSTEMMEM) {
    TempFile file("Model.x", text);
    result = D3DXLoadMeshFromX(file.path(), options, device, &adjacency, &materials, &materialCount, &mesh);
  }
  ~Loaded() {
    for (IUnknown* object : {static_cast<IUnknown*>(mesh), static_cast<IUnknown*>(adjacency),
                             static_cast<IUnknown*>(materials)})
      if (object) object->Release();
  }
};

TEST(D3DXMesh, LoadHandsOutMaterialsAdjacencyAndTheMesh) {
  RecordingDevice device;
  {
    Loaded loaded(kTwoMaterialQuads, &device);
    ASSERT_EQ(loaded.result, D3D_OK);
    EXPECT_EQ(loaded.mesh->GetNumVertices(), 8u);
    EXPECT_EQ(loaded.mesh->GetNumFaces(), 4u);
    EXPECT_EQ(loaded.mesh->GetFVF(), static_cast<DWORD>(D3DFVF_XYZ));
    EXPECT_EQ(loaded.mesh->GetNumBytesPerVertex(), 12u);
    EXPECT_EQ(loaded.mesh->GetOptions() & D3DXMESH_32BIT, 0u);

    ASSERT_EQ(loaded.materialCount, 2u);
    const auto* materials = static_cast<const D3DXMATERIAL*>(loaded.materials->GetBufferPointer());
    EXPECT_EQ(materials[0].MatD3D.Diffuse.r, 1.0f);
    EXPECT_EQ(materials[0].MatD3D.Ambient.a, 1.0f);
    EXPECT_EQ(materials[0].MatD3D.Specular.a, 1.0f);
    EXPECT_EQ(materials[0].pTextureFilename, nullptr);
    EXPECT_EQ(materials[1].MatD3D.Diffuse.a, 0.5f);
    EXPECT_EQ(materials[1].MatD3D.Emissive.r, 0.25f);
    ASSERT_NE(materials[1].pTextureFilename, nullptr);
    EXPECT_STREQ(materials[1].pTextureFilename, "Blue.PNG");
    const char* begin = static_cast<const char*>(loaded.materials->GetBufferPointer());
    EXPECT_GE(materials[1].pTextureFilename, begin);
    EXPECT_LT(materials[1].pTextureFilename, begin + loaded.materials->GetBufferSize());

    // Faces sorted by material on load: the second quad (material 0) first.
    DWORD* attributes;
    loaded.mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes);
    EXPECT_EQ(std::vector<DWORD>(attributes, attributes + 4), (std::vector<DWORD>{0, 0, 1, 1}));
    ASSERT_EQ(loaded.adjacency->GetBufferSize(), 4u * 3 * sizeof(DWORD));
    const auto* adjacency = static_cast<const DWORD*>(loaded.adjacency->GetBufferPointer());
    EXPECT_EQ(std::vector<DWORD>(adjacency, adjacency + 12),
              (std::vector<DWORD>{kNoAdjacentFace, kNoAdjacentFace, 1, 0, kNoAdjacentFace, kNoAdjacentFace,
                                  kNoAdjacentFace, kNoAdjacentFace, 3, 2, kNoAdjacentFace, kNoAdjacentFace}));
    EXPECT_EQ(device.ExtraReferences(), 1) << "the mesh holds the device";
  }
  EXPECT_EQ(device.ExtraReferences(), 0);
}

TEST(D3DXMesh, OutputsAreOptional) {
  RecordingDevice device;
  TempFile file("Model.x", kTwoMaterialQuads);
  ID3DXMesh* mesh = nullptr;
  ASSERT_EQ(D3DXLoadMeshFromX(file.path(), 0, &device, nullptr, nullptr, nullptr, &mesh), D3D_OK);
  mesh->Release();
  EXPECT_EQ(D3DXLoadMeshFromX(file.path(), 0, &device, nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXLoadMeshFromX(nullptr, 0, &device, nullptr, nullptr, nullptr, &mesh), D3DERR_INVALIDCALL);
}

TEST(D3DXMesh, VertexLayoutFollowsTheFormat) {
  RecordingDevice device;
  XTestModel model = GridModel(1, 1, 1);
  Loaded loaded(TextX(model), &device);
  ASSERT_EQ(loaded.result, D3D_OK);
  ASSERT_EQ(loaded.mesh->GetFVF(), static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
  ASSERT_EQ(loaded.mesh->GetNumBytesPerVertex(), 32u);
  uint8_t* bytes;
  ASSERT_EQ(loaded.mesh->LockVertexBuffer(D3DLOCK_READONLY | D3DLOCK_NOSYSLOCK, &bytes), D3D_OK);
  const float* vertex3 = reinterpret_cast<const float*>(bytes + 3 * 32);
  EXPECT_EQ(std::vector<float>(vertex3, vertex3 + 8), (std::vector<float>{2.5f, 0.25f, 2.5f, 0, 1, 0, 0.25f, 0.25f}));
  loaded.mesh->UnlockVertexBuffer();
}

TEST(D3DXMesh, DrawSubsetDrawsTheFacesOfOneAttribute) {
  RecordingDevice device;
  Loaded loaded(kTwoMaterialQuads, &device);
  ASSERT_EQ(loaded.result, D3D_OK);
  ASSERT_EQ(loaded.mesh->DrawSubset(1), D3D_OK);
  EXPECT_EQ(device.Names(), (std::vector<std::string>{"CreateVertexBuffer", "CreateIndexBuffer", "SetVertexShader",
                                                      "SetStreamSource", "SetIndices", "DrawIndexedPrimitive"}));
  const DeviceCall& draw = *device.Named("DrawIndexedPrimitive")[0];
  // Faces 2 and 3 are the first quad: vertices 0 to 3, indices from 6.
  EXPECT_EQ(draw.args, (std::vector<double>{D3DPT_TRIANGLELIST, 0, 4, 6, 2}));
  EXPECT_EQ(device.streamStride, 12u);
  auto* indexBuffer = static_cast<RecordingIndexBuffer*>(device.indices);
  ASSERT_NE(indexBuffer, nullptr);
  EXPECT_EQ(indexBuffer->format, D3DFMT_INDEX16);
  uint8_t* indices;
  loaded.mesh->LockIndexBuffer(D3DLOCK_READONLY, &indices);
  EXPECT_EQ(indexBuffer->storage.bytes, std::vector<uint8_t>(indices, indices + 24));
  auto* vertexBuffer = static_cast<RecordingVertexBuffer*>(device.streamSource);
  uint8_t* vertices;
  loaded.mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertices);
  EXPECT_EQ(vertexBuffer->storage.bytes, std::vector<uint8_t>(vertices, vertices + 96));

  // The buffers are made once; a write through a lock reaches them at the next draw.
  device.ClearCalls();
  loaded.mesh->LockVertexBuffer(0, &vertices);
  reinterpret_cast<float*>(vertices)[0] = 42.0f;
  loaded.mesh->UnlockVertexBuffer();
  ASSERT_EQ(loaded.mesh->DrawSubset(0), D3D_OK);
  EXPECT_EQ(device.Count("CreateVertexBuffer") + device.Count("CreateIndexBuffer"), 0u);
  EXPECT_EQ(device.Named("DrawIndexedPrimitive")[0]->args, (std::vector<double>{D3DPT_TRIANGLELIST, 4, 4, 0, 2}));
  EXPECT_EQ(reinterpret_cast<float*>(vertexBuffer->storage.bytes.data())[0], 42.0f);

  device.ClearCalls();
  EXPECT_EQ(loaded.mesh->DrawSubset(7), D3D_OK);
  EXPECT_EQ(device.calls.size(), 0u) << "no faces of that attribute";
}

TEST(D3DXMesh, WithoutATableEachRunOfTheAttributeIsDrawn) {
  RecordingDevice device;
  ID3DXMesh* mesh = nullptr;
  ASSERT_EQ(D3DXCreateMeshFVF(3, 5, 0, D3DFVF_XYZ, &device, &mesh), D3D_OK);
  uint8_t* bytes;
  mesh->LockIndexBuffer(0, &bytes);
  const uint16_t indices[] = {0, 1, 2, 2, 1, 3, 3, 1, 4};
  std::memcpy(bytes, indices, sizeof indices);
  DWORD* attributes;
  mesh->LockAttributeBuffer(0, &attributes);
  attributes[1] = 1;
  ASSERT_EQ(mesh->DrawSubset(0), D3D_OK);
  auto draws = device.Named("DrawIndexedPrimitive");
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0]->args, (std::vector<double>{D3DPT_TRIANGLELIST, 0, 3, 0, 1}));
  EXPECT_EQ(draws[1]->args, (std::vector<double>{D3DPT_TRIANGLELIST, 1, 4, 6, 1}));

  // After sorting, one range per attribute from the table.
  ID3DXMesh* sorted = nullptr;
  ASSERT_EQ(mesh->Optimize(D3DXMESHOPT_ATTRSORT, nullptr, nullptr, nullptr, nullptr, &sorted), D3D_OK);
  device.ClearCalls();
  ASSERT_EQ(sorted->DrawSubset(0), D3D_OK);
  draws = device.Named("DrawIndexedPrimitive");
  ASSERT_EQ(draws.size(), 1u);
  EXPECT_EQ(draws[0]->args, (std::vector<double>{D3DPT_TRIANGLELIST, 0, 5, 0, 2}));
  sorted->Release();
  mesh->Release();
}

TEST(D3DXMesh, MoreThan65535VerticesUse32BitIndices) {
  RecordingDevice device;
  std::string text = "xof 0303txt 0032\nMesh { 70000;\n";
  for (int v = 0; v < 70000; ++v) text += std::to_string(v) + ";0;0;,";
  text.back() = ';';
  text += " 2; 3;0,1,69999;, 3;69999,1,2;; }";
  Loaded loaded(text, &device);
  ASSERT_EQ(loaded.result, D3D_OK);
  ASSERT_EQ(loaded.mesh->GetNumVertices(), 70000u);
  EXPECT_EQ(loaded.mesh->GetOptions() & D3DXMESH_32BIT, D3DXMESH_32BIT);
  uint8_t* bytes;
  loaded.mesh->LockIndexBuffer(D3DLOCK_READONLY, &bytes);
  const uint32_t* indices = reinterpret_cast<const uint32_t*>(bytes);
  EXPECT_EQ(std::vector<uint32_t>(indices, indices + 6), (std::vector<uint32_t>{0, 1, 69999, 69999, 1, 2}));
  ASSERT_EQ(loaded.mesh->DrawSubset(0), D3D_OK);
  EXPECT_EQ(static_cast<RecordingIndexBuffer*>(device.indices)->format, D3DFMT_INDEX32);
  EXPECT_EQ(device.Named("DrawIndexedPrimitive")[0]->args, (std::vector<double>{D3DPT_TRIANGLELIST, 0, 70000, 0, 2}));
}

}  // namespace
