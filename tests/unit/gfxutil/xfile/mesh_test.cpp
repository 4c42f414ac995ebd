// What the Meshes of a file become: normals splitting vertices, fans,
// frame transforms, merging, materials and texture names.
#include <gtest/gtest.h>

#include <cmath>

#include "taken_notes.h"
#include "xfile_test_support.h"

namespace {

const std::string kHeader = "xof 0303txt 0032\n";

std::string Material(const std::string& body, const std::string& texture = "") {
  std::string text = "Material {" + body;
  if (!texture.empty()) text += " TextureFilename { \"" + texture + "\"; }";
  return text + " }";
}

const std::string kRed = Material("1.0;0.0;0.0;1.0;;5.0;0.5;0.5;0.5;;0.1;0.2;0.3;;");

// The box of the reference tests: 8 corners, 6 quads, one normal per side,
// two materials, colours and texture coordinates.
const std::string kBox = R"(xof 0302txt 0064
Mesh Box {
8; 0.0;0.0;0.0;, 0.0;0.0;1.0;, 0.0;1.0;0.0;, 0.0;1.0;1.0;,
   1.0;0.0;0.0;, 1.0;0.0;1.0;, 1.0;1.0;0.0;, 1.0;1.0;1.0;;
6; 4;0,1,3,2;, 4;2,3,7,6;, 4;6,7,5,4;, 4;4,5,1,0;, 4;0,2,6,4;, 4;3,1,5,7;;
MeshMaterialList {
  2; 6; 0,0,0,1,1,1;;
  Material { 0.0;0.0;1.0;1.0;; 0.5; 1.0;1.0;1.0;; 0.0;0.0;0.0;; }
  Material { 1.0;1.0;1.0;1.0;; 1.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "texture.jpg"; } }
}
MeshVertexColors {
  8; 0;0.0;0.0;0.0;0.0;;, 1;0.0;0.0;1.0;0.1;;, 2;0.0;1.0;0.0;0.2;;, 3;0.0;1.0;1.0;0.3;;,
     4;1.0;0.0;0.0;0.4;;, 5;1.0;0.0;1.0;0.5;;, 6;1.0;1.0;0.0;0.6;;, 7;1.0;1.0;1.0;0.7;;;
}
MeshNormals {
  6; -1.0;0.0;0.0;, 0.0;1.0;0.0;, 1.0;0.0;0.0;, 0.0;-1.0;0.0;, 0.0;0.0;-1.0;, 0.0;0.0;1.0;;
  6; 4;0,0,0,0;, 4;1,1,1,1;, 4;2,2,2,2;, 4;3,3,3,3;, 4;4,4,4,4;, 4;5,5,5,5;;
}
MeshTextureCoords {
  8; 0.0;1.0;, 1.0;1.0;, 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;, 1.0;0.0;, 0.0;0.0;;
}
})";

bool SameMaterial(const D3DMATERIAL8& a, const D3DMATERIAL8& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(XFileMesh, SingleTriangleGetsTheDefaultMaterial) {
  XMeshData mesh;
  ASSERT_EQ(ReadX(kHeader + "Mesh {3;0.0; 0.0; 0.0;,0.0; 1.0; 0.0;,1.0; 1.0; 0.0;;1;3; 0, 1, 2;;}", mesh), D3D_OK);
  EXPECT_EQ(mesh.fvf, static_cast<DWORD>(D3DFVF_XYZ));
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2}));
  ASSERT_EQ(mesh.materials.size(), 1u);
  const D3DMATERIAL8& m = mesh.materials[0].material;
  D3DMATERIAL8 expected{{0.5f, 0.5f, 0.5f, 0.0f}, {0, 0, 0, 0}, {0.5f, 0.5f, 0.5f, 0.0f}, {0, 0, 0, 0}, 0.0f};
  EXPECT_TRUE(SameMaterial(m, expected));
  EXPECT_FALSE(mesh.materials[0].hasTexture);
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0}));
}

TEST(XFileMesh, BoxSplitsEachCornerBySide) {
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(kBox, mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.VertexCount(), 24u);
  EXPECT_EQ(mesh.FaceCount(), 12u);
  EXPECT_EQ(mesh.fvf, 0x152u);
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0,  1,  3,  0,  3,  2,  8,  9,  7,  8,  7,  6,  10, 11, 5,  10, 5,  4,
                                                 12, 13, 14, 12, 14, 15, 16, 17, 18, 16, 18, 19, 20, 21, 22, 20, 22, 23}));
  EXPECT_EQ(mesh.Vertex(1).colour, 0x1a0000ffu);
  // A copy keeps everything of its original but the normal.
  EXPECT_EQ(mesh.Vertex(8).position, mesh.Vertex(2).position);
  EXPECT_EQ(mesh.Vertex(8).colour, mesh.Vertex(2).colour);
  EXPECT_EQ(mesh.Vertex(8).u, mesh.Vertex(2).u);
  EXPECT_EQ(mesh.Vertex(8).v, mesh.Vertex(2).v);
  EXPECT_VEC3_NEAR(mesh.Vertex(8).normal, 0.0f, 1.0f, 0.0f, 0);
  EXPECT_VEC3_NEAR(mesh.Vertex(2).normal, -1.0f, 0.0f, 0.0f, 0);

  ASSERT_EQ(mesh.materials.size(), 2u);
  EXPECT_TRUE(SameMaterial(mesh.materials[0].material, D3DMATERIAL8{{0, 0, 1, 1}, {0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 0, 1}, 0.5f}));
  EXPECT_FALSE(mesh.materials[0].hasTexture);
  EXPECT_TRUE(SameMaterial(mesh.materials[1].material, D3DMATERIAL8{{1, 1, 1, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, {0, 0, 0, 1}, 1.0f}));
  EXPECT_EQ(mesh.materials[1].textureName, "texture.jpg");
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1}));
}

TEST(XFileMesh, CornersReuseTheCopyWithTheirNormalAndUnusedVerticesHaveNone) {
  // Normals A = (0,0,2) and (0,0,1), equal once normalised, and B = (0,0,-1).
  // Vertex 4 is used by no face.
  std::string text = kHeader +
                     "Mesh {5; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;, 9;9;9;; 4; 3;0,1,2;, 3;0,2,3;, 3;0,3,1;, 3;0,1,2;;"
                     " MeshNormals { 3; 0;0;2;, 0;0;-1;, 0;0;1;; 4; 3;0,0,0;, 3;1,1,2;, 3;1,2,0;, 3;2,1,1;; } }";
  XMeshData mesh;
  ASSERT_EQ(ReadX(text, mesh), D3D_OK);
  ASSERT_EQ(mesh.VertexCount(), 8u);
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 5, 6, 3, 5, 3, 1, 0, 7, 6}));
  const uint32_t copied[] = {0, 2, 1};  // vertices 5, 6 and 7 copy these
  for (uint32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(mesh.Vertex(5 + i).position, mesh.Vertex(copied[i]).position);
    EXPECT_VEC3_NEAR(mesh.Vertex(5 + i).normal, 0.0f, 0.0f, -1.0f, 0);
    EXPECT_VEC3_NEAR(mesh.Vertex(copied[i]).normal, 0.0f, 0.0f, 1.0f, 0);
  }
  EXPECT_VEC3_NEAR(mesh.Vertex(4).normal, 0.0f, 0.0f, 0.0f, 0);
}

TEST(XFileMesh, PolygonsBecomeFans) {
  XMeshData mesh;
  ASSERT_EQ(ReadX(kHeader + "Mesh {5; 0;0;0;, 1;0;0;, 2;1;0;, 1;2;0;, 0;1;0;; 2; 5;0,1,2,3,4;, 4;0,1,3,2;;}", mesh),
            D3D_OK);
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 1, 3, 0, 3, 2}));
  // Each triangle keeps its polygon's material; the faces are then sorted by it.
  ASSERT_EQ(ReadX(kHeader +
                      "Mesh {5; 0;0;0;, 1;0;0;, 2;1;0;, 1;2;0;, 0;1;0;; 3; 5;0,1,2,3,4;, 4;0,1,3,2;, 3;4,3,2;;"
                      "MeshMaterialList {2; 3; 1,0,1;; " +
                      kRed + kRed + "}}",
                  mesh),
            D3D_OK);
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 3, 0, 3, 2, 0, 1, 2, 0, 2, 3, 0, 3, 4, 4, 3, 2}));
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 0, 1, 1, 1, 1}));
  std::string error;
  EXPECT_EQ(ReadX(kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 2;1;0;; 1; 2;0,1;;}", mesh, &error), E_FAIL);
  EXPECT_NE(error.find("at least 3"), std::string::npos) << error;
}

TEST(XFileMesh, FramesAccumulateTheirTransformsInFileOrder) {
  // MeshA, a translation by (0,0,2), MeshB, another by (0,0,3), MeshC; a
  // top-level Material and user objects change nothing.
  const std::string triangle = "3;0.0;1.0;0.0;,1.0;1.0;0.0;,1.0;0.0;0.0;;1;3;0,1,2;;";
  const std::string translate = "FrameTransformMatrix {1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,";
  std::string text = kHeader + "Material unused " + kRed.substr(9) + "\nUserData { 42; }\nFrame {\n Mesh MeshA {" +
                     triangle + "}\n " + translate + "2.0,1.0;;}\n Mesh MeshB {" + triangle + "}\n UserData { 7; }\n " +
                     translate + "3.0,1.0;;}\n Mesh MeshC {" + triangle + "}\n}";
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(text, mesh, &error), D3D_OK) << error;
  ASSERT_EQ(mesh.VertexCount(), 9u);
  EXPECT_EQ(mesh.fvf, static_cast<DWORD>(D3DFVF_XYZ));
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(mesh.materials.size(), 1u);
  const float z[] = {0, 2, 5};
  for (size_t v = 0; v < 9; ++v) EXPECT_EQ(mesh.Vertex(v).position.z, z[v / 3]) << v;
}

TEST(XFileMesh, ChildTransformComesBeforeTheParentsAndNormalsUseTheInverseTranspose) {
  // Parent: translation by (10,0,0). Child: x goes to 2y and y to -x.
  // A point p lands at p * child * parent.
  std::string text = kHeader +
                     "Frame parent { FrameTransformMatrix {1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;;}\n"
                     " Frame child { FrameTransformMatrix {0,2,0,0, -1,0,0,0, 0,0,1,0, 0,0,0,1;;}\n"
                     "  Mesh {3; 1;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;;\n"
                     "   MeshNormals { 2; 1;1;0;, 0;0;1;; 1; 3;0,0,1;; } } } }";
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(text, mesh, &error), D3D_OK) << error;
  EXPECT_VEC3_NEAR(mesh.Vertex(0).position, 10.0f, 2.0f, 0.0f, 1e-6f);
  EXPECT_VEC3_NEAR(mesh.Vertex(1).position, 9.0f, 0.0f, 0.0f, 1e-6f);
  EXPECT_VEC3_NEAR(mesh.Vertex(2).position, 10.0f, 0.0f, 1.0f, 1e-6f);
  // (1,1,0) through the inverse transpose of the 3x3 part is (-1, 0.5, 0),
  // renormalised; translation does not reach normals.
  float length = std::sqrt(1.25f);
  EXPECT_VEC3_NEAR(mesh.Vertex(0).normal, -1.0f / length, 0.5f / length, 0.0f, 1e-6f);
  EXPECT_VEC3_NEAR(mesh.Vertex(2).normal, 0.0f, 0.0f, 1.0f, 1e-6f);
}

TEST(XFileMesh, MirroringTransformKeepsNormalsFacingOutward) {
  std::string text = kHeader +
                     "Frame { FrameTransformMatrix {-1,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;;}\n"
                     " Mesh {3; 1;0;0;, 1;1;0;, 1;0;1;; 1; 3;0,1,2;; MeshNormals { 1; 1;0;0;; 1; 3;0,0,0;; } } }";
  XMeshData mesh;
  ASSERT_EQ(ReadX(text, mesh), D3D_OK);
  EXPECT_VEC3_NEAR(mesh.Vertex(0).position, -1.0f, 0.0f, 0.0f, 0);
  EXPECT_VEC3_NEAR(mesh.Vertex(0).normal, -1.0f, 0.0f, 0.0f, 1e-6f);
}

TEST(XFileMesh, FlatteningTransformPassesNormalsThroughTheMatrixItself) {
  // z is squashed to nothing: no inverse exists, and x is stretched twice.
  std::string text = kHeader +
                     "Frame { FrameTransformMatrix {0,2,0,0, 1,0,0,0, 0,0,0,0, 0,0,0,1;;}\n"
                     " Mesh {3; 0;0;0;, 0;1;0;, 0;0;1;; 1; 3;0,1,2;; MeshNormals { 2; 1;0;0;, 0;0;1;; 1; 3;0,0,1;; } } }";
  XMeshData mesh;
  ASSERT_EQ(ReadX(text, mesh), D3D_OK);
  EXPECT_VEC3_NEAR(mesh.Vertex(0).normal, 0.0f, 1.0f, 0.0f, 1e-6f);
  EXPECT_VEC3_NEAR(mesh.Vertex(2).normal, 0.0f, 0.0f, 0.0f, 0);
}

TEST(XFileMesh, MergedMeshesOffsetIndicesAttributesAndMaterials) {
  std::string green = Material("0.0;1.0;0.0;1.0;;1.0;0.0;0.0;0.0;;0.0;0.0;0.0;;", "green.png");
  std::string blue = Material("0.0;0.0;1.0;0.5;;1.0;0.0;0.0;0.0;;0.0;0.0;0.0;;");
  std::string text = kHeader + "Mesh empty { 0;; 0;; }\n" +
                     "Mesh one {4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 1; 4;0,1,2,3;; MeshMaterialList {1;1;0;; " + kRed +
                     "} }\n" + "Frame { Mesh two {3; 5;0;0;, 6;0;0;, 6;1;0;; 2; 3;0,1,2;, 3;2,1,0;;" +
                     " MeshMaterialList {2;2;1,0;; " + green + blue + "} } }";
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(text, mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.VertexCount(), 7u);
  // The second mesh's faces come sorted by attribute, file order kept within one.
  EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 6, 5, 4, 4, 5, 6}));
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{0, 0, 1, 2}));
  ASSERT_EQ(mesh.materials.size(), 3u);
  EXPECT_EQ(mesh.materials[0].material.Diffuse.r, 1.0f);
  EXPECT_EQ(mesh.materials[1].textureName, "green.png");
  EXPECT_EQ(mesh.materials[2].material.Diffuse.a, 0.5f);
}

// The merged vertices take every element any mesh has; a mesh that lacks one
// gets zeros there, whether it comes before or after the mesh that has it.
TEST(XFileMesh, MergedMeshesShareTheLayoutOfAllTheirElements) {
  std::string bare = "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;}\n";
  std::string withNormals = "Mesh {3; 0;0;2;, 1;0;2;, 1;1;2;; 1; 3;0,1,2;;"
                            " MeshNormals {1; 0;0;1;; 1; 3;0,0,0;;} }\n";
  std::string withColours = "Mesh {3; 0;0;3;, 1;0;3;, 1;1;3;; 1; 3;0,1,2;;"
                            " MeshVertexColors {1; 2;1.0;0.0;0.0;1.0;;;} MeshTextureCoords {3; 0;0;, 1;0;, 0.5;0.25;;} }\n";
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(kHeader + bare + withNormals + withColours, mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.fvf, static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1));
  ASSERT_EQ(mesh.VertexCount(), 9u);
  EXPECT_EQ(mesh.vertexBytes.size(), 9u * 36);
  XVertex first = mesh.Vertex(1), normal = mesh.Vertex(4), coloured = mesh.Vertex(8);
  EXPECT_VEC3_NEAR(first.position, 1.0f, 0.0f, 0.0f, 0);
  EXPECT_VEC3_NEAR(first.normal, 0.0f, 0.0f, 0.0f, 0);
  EXPECT_EQ(first.colour, 0u);
  EXPECT_VEC3_NEAR(normal.position, 1.0f, 0.0f, 2.0f, 0);
  EXPECT_VEC3_NEAR(normal.normal, 0.0f, 0.0f, 1.0f, 0);
  EXPECT_EQ(normal.u, 0.0f);
  EXPECT_VEC3_NEAR(coloured.position, 1.0f, 1.0f, 3.0f, 0);
  EXPECT_EQ(coloured.colour, 0xFFFF0000u);
  EXPECT_EQ(coloured.u, 0.5f);
  EXPECT_EQ(coloured.v, 0.25f);
}

TEST(XFileMesh, MeshesWithoutMaterialsShareADefaultOneAfterTheOthers) {
  std::string bare = "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;}\n";
  std::string withMaterial = "Mesh {3; 0;0;1;, 1;0;1;, 1;1;1;; 1; 3;0,1,2;; MeshMaterialList {1;1;0;; " + kRed + "} }\n";
  XMeshData mesh;
  ASSERT_EQ(ReadX(kHeader + bare + withMaterial + bare, mesh), D3D_OK);
  ASSERT_EQ(mesh.materials.size(), 2u);
  EXPECT_EQ(mesh.materials[0].material.Diffuse.r, 1.0f);
  EXPECT_TRUE(SameMaterial(mesh.materials[1].material, DefaultXMaterial().material));
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{1, 0, 1}));
}

TEST(XFileMesh, MaterialListRules) {
  const std::string quad = "Mesh {4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 3; 3;0,1,2;, 3;0,2,3;, 3;0,1,3;;";
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(kHeader + quad + " MeshMaterialList {2;1;1;; " + kRed + kRed + "} }", mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.attributes, (std::vector<uint32_t>{1, 1, 1}));
  EXPECT_EQ(NotesText(mesh.notes), "memory: line 2: 1 material indexes for 3 faces; the last one is repeated\n");
  ASSERT_EQ(mesh.notes.All().size(), 1u);
  EXPECT_EQ(mesh.notes.All()[0].objectPath, "Mesh/MeshMaterialList");
  EXPECT_EQ(mesh.notes.All()[0].code, FindingCode::kMaterialIndexesShort);
  ASSERT_EQ(ReadX(kHeader + quad + " MeshMaterialList {0;0;; } }", mesh), D3D_OK) << "an empty list is ignored";
  EXPECT_EQ(mesh.materials.size(), 1u);
  EXPECT_EQ(ReadX(kHeader + quad + " MeshMaterialList {1;3;0,1,0;; " + kRed + "} }", mesh, &error), E_FAIL);
  EXPECT_NE(error.find("material index 1 is beyond the 1 materials"), std::string::npos) << error;
  EXPECT_EQ(ReadX(kHeader + quad + " MeshMaterialList {2;3;0,1,0;; " + kRed + "} }", mesh, &error), E_FAIL);
  EXPECT_NE(error.find("names 2 materials but holds 1"), std::string::npos) << error;
  EXPECT_EQ(ReadX(kHeader + quad + " MeshMaterialList {1;3;0,0,0;; " + kRed + kRed + "} }", mesh, &error), E_FAIL);
  EXPECT_EQ(ReadX(kHeader + quad + " MeshMaterialList {1;4;0,0,0,0;; " + kRed + "} }", mesh, &error), E_FAIL);
  EXPECT_EQ(ReadX(kHeader + quad + " MeshMaterialList {1;3;0,0,0;; Material {1.0;1.0;1.0;1.0;;0.0;0.0;0.0;0.0;;} } }",
                  mesh),
            D3DXFERR_PARSEERROR)
      << "a material needs 11 floats";
}

TEST(XFileMesh, TextureNamesAreKeptByteForByte) {
  const std::string names[] = {
      ".\\\\test.png",                                // doubled backslashes, as exporters write them
      "C:\\Models\\Train\\Body.BMP",                  // absolute Windows path in another case
      "\x95\x5c\x8e\xa6.bmp",                          // code page 932, a trail byte that is a backslash
      "\x83\x65\x83\x4c\x83\x58\x83\x60\x83\x83.png",  // code page 932
  };
  for (const std::string& name : names) {
    XMeshData mesh;
    std::string text = kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;; MeshMaterialList {1;1;0;; " +
                       Material("1;1;1;1;;0;0;0;0;;0;0;0;;", name) + "} }";
    ASSERT_EQ(ReadX(text, mesh), D3D_OK) << name;
    EXPECT_TRUE(mesh.materials[0].hasTexture);
    EXPECT_EQ(mesh.materials[0].textureName, name);
  }
}

TEST(XFileMesh, VertexColoursAreClampedAndUnlistedVerticesWhite) {
  std::string text = kHeader +
                     "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;"
                     " MeshVertexColors { 2; 0; 1.5; -0.5; 0.5; 1.0;;, 2; 0.2; 0.4; 0.6; 0.8;;; } }";
  XMeshData mesh;
  ASSERT_EQ(ReadX(text, mesh), D3D_OK);
  EXPECT_EQ(mesh.fvf, static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_DIFFUSE));
  EXPECT_EQ(mesh.Vertex(0).colour, 0xFFFF0080u);
  EXPECT_EQ(mesh.Vertex(1).colour, 0x00FFFFFFu);
  EXPECT_EQ(mesh.Vertex(2).colour, 0xCC336699u);
}

TEST(XFileMesh, RepeatedChildrenTheLastOneWinsAndCountsMustMatch) {
  const std::string base = kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;";
  XMeshData mesh;
  ASSERT_EQ(ReadX(base + " MeshTextureCoords {3; 0;0;, 0;0;, 0;0;;} MeshTextureCoords {3; 1;2;, 3;4;, 5;6;;} }", mesh),
            D3D_OK);
  EXPECT_EQ(mesh.Vertex(2).u, 5.0f);
  EXPECT_EQ(mesh.Vertex(2).v, 6.0f);
  EXPECT_EQ(ReadX(base + " MeshTextureCoords {2; 0;0;, 0;0;;} }", mesh), E_FAIL);
  EXPECT_EQ(ReadX(base + " MeshNormals {1; 0;0;1;; 2; 3;0,0,0;, 3;0,0,0;;} }", mesh), E_FAIL);
  EXPECT_EQ(ReadX(base + " MeshNormals {1; 0;0;1;; 1; 4;0,0,0,0;;} }", mesh), E_FAIL);
  EXPECT_EQ(ReadX(base + " MeshNormals {1; 0;0;1;; 1; 3;0,1,0;;} }", mesh), E_FAIL);
  EXPECT_EQ(ReadX(base + " MeshVertexColors {1; 3; 1;1;1;1;;;} }", mesh), E_FAIL);
}

TEST(XFileMesh, FilesWithoutUsableMeshesFail) {
  XMeshData mesh;
  EXPECT_EQ(ReadX(kHeader + "Frame Box01 { Mesh { 0;; 0;; MeshNormals { 0;; 0;; } } }", mesh), E_FAIL);
  EXPECT_EQ(ReadX(kHeader + "Mesh { 0;; 0;; }", mesh), E_FAIL);
  EXPECT_EQ(ReadX(kHeader + kRed, mesh), E_FAIL);
}

TEST(XFileMesh, TextBinaryAndCompressedFormsGiveTheSameMesh) {
  XTestModel model = GridModel(6, 5, 3);
  model.polygonSizes.push_back(4);  // and a quad with a normal of its own
  model.corners.insert(model.corners.end(), {0, 1, 8, 7});
  model.normals.push_back({0.0f, 0.0f, -1.0f});
  model.normalCorners.insert(model.normalCorners.end(), 4, static_cast<uint32_t>(model.normals.size() - 1));
  model.faceMaterials.push_back(2);

  XMeshData text;
  std::string error;
  std::vector<uint8_t> textFile = Bytes(TextX(model));
  ASSERT_EQ(ReadX(textFile, text, &error), D3D_OK) << error;
  EXPECT_EQ(text.fvf, static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
  EXPECT_EQ(text.FaceCount(), 62u);
  EXPECT_EQ(text.VertexCount(), 42u + 4u);
  ASSERT_EQ(text.materials.size(), 3u);
  EXPECT_EQ(text.materials[2].textureName, "tex2.png");

  std::vector<uint8_t> binaryFile = BinaryXFile(model);
  for (const auto& file : {binaryFile, BinaryXFile(model, true), CompressX(textFile), CompressX(binaryFile, 1000)}) {
    XMeshData other;
    ASSERT_EQ(ReadX(file, other, &error), D3D_OK) << error;
    EXPECT_EQ(other.fvf, text.fvf);
    EXPECT_EQ(other.indices, text.indices);
    EXPECT_EQ(other.attributes, text.attributes);
    EXPECT_EQ(FaceSet(other), FaceSet(text));
    ASSERT_EQ(other.materials.size(), text.materials.size());
    for (size_t m = 0; m < text.materials.size(); ++m) {
      EXPECT_TRUE(SameMaterial(other.materials[m].material, text.materials[m].material));
      EXPECT_EQ(other.materials[m].textureName, text.materials[m].textureName);
    }
  }
}

}  // namespace

// Binary faces are taken in runs of triangles; what ends a run is read face
// by face. Read so, they give what their text gives.
TEST(XFileMesh, BinaryFacesMayBreakIntoListsAnywhere) {
  using Lists = std::vector<std::vector<uint32_t>>;
  auto mesh = [](const Lists& faceLists, const Lists& normalLists) {
    BinaryX x;
    x.Name("Mesh").Open().Integers({4}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0});
    for (const std::vector<uint32_t>& list : faceLists) x.Integers(list);
    x.Name("MeshNormals").Open().Integers({2}).Floats({0, 0, 1, 0, 0, -1});
    for (const std::vector<uint32_t>& list : normalLists) x.Integers(list);
    x.Close().Close();
    XMeshData read;
    std::string error;
    EXPECT_EQ(ReadX(x.bytes(), read, &error), D3D_OK) << error;
    return FaceSet(read);
  };
  auto whole = mesh({{4, 3, 0, 1, 2, 3, 0, 2, 3, 3, 1, 2, 3, 3, 0, 1, 3}},
                    {{4, 3, 0, 0, 0, 3, 1, 1, 1, 3, 0, 1, 0, 3, 1, 0, 1}});
  XMeshData text;
  ASSERT_EQ(ReadX(kHeader + "Mesh {4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 4; 3;0,1,2;, 3;0,2,3;, 3;1,2,3;, 3;0,1,3;;\n"
                            "MeshNormals {2; 0;0;1;, 0;0;-1;; 4; 3;0,0,0;, 3;1,1,1;, 3;0,1,0;, 3;1,0,1;;}}",
                  text),
            D3D_OK);
  EXPECT_EQ(whole, FaceSet(text));
  // Broken within a face and between faces.
  EXPECT_EQ(mesh({{4, 3, 0}, {1, 2, 3, 0, 2, 3}, {3, 1, 2, 3, 3, 0, 1, 3}},
                 {{4, 3, 0, 0, 0, 3, 1}, {1, 1, 3, 0, 1, 0}, {3}, {1, 0, 1}}),
            whole);
}
