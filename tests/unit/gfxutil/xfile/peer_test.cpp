// X files written by other exporters. The expected figures were counted in
// the files themselves: vertices after splitting by normal, triangles after
// fanning, materials of the material lists.
#include <gtest/gtest.h>

#include "gfxutil/xfile_form.h"
#include "taken_notes.h"
#include "test_paths.h"
#include "xfile_test_support.h"

namespace {

struct PeerFile {
  const char* name;
  size_t vertices;
  size_t faces;
  size_t materials;
  DWORD fvf;
};

constexpr DWORD kPositionNormalUv = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

const PeerFile kPeerFiles[] = {
    {"anim_test.x", 1720, 840, 1, kPositionNormalUv},
    {"fromtruespace_bin32.x", 4132, 6656, 1, kPositionNormalUv},
    {"kwxport_test_cubewithvcolors.x", 24, 12, 3, kPositionNormalUv | D3DFVF_DIFFUSE},
    {"malformed_skinweights_oob.x", 24, 12, 1, kPositionNormalUv},
    {"test.x", 24, 12, 1, kPositionNormalUv},
    {"test_cube_text.x", 24, 12, 1, kPositionNormalUv},
    {"test_cube_binary.x", 24, 12, 1, kPositionNormalUv},
    {"test_cube_compressed.x", 24, 12, 1, kPositionNormalUv},
    {"Testwuson.X", 3205, 3732, 1, kPositionNormalUv},
};

std::string PeerPath(const char* name) { return TestDataPath(std::string("x-peer/") + name); }

TEST(XFilePeers, EachFileLoadsWithTheCountsItHolds) {
  for (const PeerFile& peer : kPeerFiles) {
    XMeshData mesh;
    XReadError error;
    ASSERT_EQ(ReadXFile(PeerPath(peer.name).c_str(), mesh, error), D3D_OK) << peer.name << ": " << error.Text();
    EXPECT_EQ(mesh.VertexCount(), peer.vertices) << peer.name;
    EXPECT_EQ(mesh.FaceCount(), peer.faces) << peer.name;
    EXPECT_EQ(mesh.materials.size(), peer.materials) << peer.name;
    EXPECT_EQ(mesh.fvf, peer.fvf) << peer.name;
    for (uint32_t index : mesh.indices) ASSERT_LT(index, mesh.VertexCount()) << peer.name;
    for (uint32_t attribute : mesh.attributes) ASSERT_LT(attribute, mesh.materials.size()) << peer.name;
  }
}

TEST(XFilePeers, TheCubeReadsTheSameInAllThreeForms) {
  XMeshData text;
  XReadError error;
  ASSERT_EQ(ReadXFile(PeerPath("test_cube_text.x").c_str(), text, error), D3D_OK) << error.Text();
  for (const char* other : {"test_cube_binary.x", "test_cube_compressed.x"}) {
    XMeshData mesh;
    ASSERT_EQ(ReadXFile(PeerPath(other).c_str(), mesh, error), D3D_OK) << error.Text();
    EXPECT_EQ(mesh.indices, text.indices) << other;
    EXPECT_EQ(FaceSet(mesh), FaceSet(text)) << other;
  }
  // The root frame swaps y and z: (-1,-1,1) lands at (-1,1,-1), its normal
  // (0,-1,0) turns to (0,0,-1).
  EXPECT_VEC3_NEAR(text.Vertex(1).position, 1.0f, -1.0f, -1.0f, 1e-6f);
  EXPECT_VEC3_NEAR(text.Vertex(0).position, -1.0f, 1.0f, -1.0f, 1e-6f);
  EXPECT_VEC3_NEAR(text.Vertex(0).normal, 0.0f, 0.0f, -1.0f, 1e-6f);
  EXPECT_EQ(text.materials[0].material.Power, 96.078430f);
  EXPECT_FALSE(text.materials[0].hasTexture);
}

TEST(XFilePeers, TextureNamesStayAsTheExporterWroteThem) {
  XMeshData mesh;
  XReadError error;
  ASSERT_EQ(ReadXFile(PeerPath("test.x").c_str(), mesh, error), D3D_OK) << error.Text();
  EXPECT_EQ(mesh.materials[0].textureName, ".\\\\test.png");

  ASSERT_EQ(ReadXFile(PeerPath("kwxport_test_cubewithvcolors.x").c_str(), mesh, error), D3D_OK) << error.Text();
  const char* expected[] = {"bottom.tga", "top.tga", "updown.tga"};
  for (size_t m = 0; m < 3; ++m)
    EXPECT_EQ(mesh.materials[m].textureName,
              std::string("C:\\\\code\\\\sourceforge\\\\kwxport\\\\trunkMerged\\\\test\\\\data\\\\") + expected[m]);

  ASSERT_EQ(ReadXFile(PeerPath("anim_test.x").c_str(), mesh, error), D3D_OK) << error.Text();
  EXPECT_TRUE(mesh.materials[0].hasTexture);
  EXPECT_EQ(mesh.materials[0].textureName, "");
  EXPECT_EQ(NotesText(mesh.notes), PeerPath("anim_test.x") + ": line 7709: a texture file name is empty\n");
}

struct FormCase {
  const char* name;
  bool binary, compressed;
};

TEST(XFilePeers, TheFormIsReadFromTheHeader) {
  const FormCase cases[] = {{"test_cube_text.x", false, false},
                            {"test_cube_binary.x", true, false},
                            {"test_cube_compressed.x", true, true},
                            {"fromtruespace_bin32.x", true, false}};
  for (const FormCase& c : cases) {
    XFileForm form;
    std::string error;
    ASSERT_TRUE(ReadXFileForm(PeerPath(c.name).c_str(), form, error)) << c.name << ": " << error;
    EXPECT_EQ(form.binary, c.binary) << c.name;
    EXPECT_EQ(form.compressed, c.compressed) << c.name;
    EXPECT_EQ(form.floatBits, 32u) << c.name;
  }
  XFileForm form;
  std::string error;
  EXPECT_FALSE(ReadXFileForm(PeerPath("test.png").c_str(), form, error));
  EXPECT_EQ(error, "not an X file (no \"xof \" header)");
  EXPECT_FALSE(ReadXFileForm(PeerPath("absent.x").c_str(), form, error));
}

}  // namespace
