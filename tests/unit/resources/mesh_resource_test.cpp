#include "resources/mesh_resource.h"

#include <cmath>
#include <string>
#include <vector>

#include "gfxutil/d3dx_mesh.h"
#include "resource_fixture.h"
#include "resources/material_sets.h"
#include "resources/texture_cache.h"
#include "state_names.h"

namespace {

class MeshResourceTest : public ResourceTest {
 protected:
  void TearDown() override {
    mesh.release();
    EXPECT_TRUE(textureCache.Entries().empty());
    ResourceTest::TearDown();
  }
  bool Load(const std::vector<TestMaterial>& materials) {
    scratch.Write("model.x", MeshWithMaterials(materials));
    return mesh.load("model.x", 0, 1);
  }
  // Diffuse red of each material set while drawing, in draw order.
  std::vector<float> DrawnReds() {
    device.ClearCalls();
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    mesh.draw(world);
    std::vector<float> reds;
    for (const DeviceCall* call : device.Named("SetMaterial")) reds.push_back(call->material.Diffuse.r);
    return reds;
  }

  MeshResource mesh;
};

TEST_F(MeshResourceTest, ANewResourceIsEmpty) {
  EXPECT_EQ(mesh.mesh.get(), nullptr);
  EXPECT_TRUE(mesh.fileName.empty());
  EXPECT_EQ(mesh.materialCount, 0u);
  mesh.draw(D3DXMATRIX());
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(MeshResourceTest, LoadLogsTheModelBeforeItsTexturesInMaterialOrder) {
  scratch.Write("b.ppm", TinyImage(0, 0, 255));
  scratch.Write("a.ppm", TinyImage(255, 0, 0));
  ASSERT_TRUE(Load({{1, 1, 1, 1, "b.ppm"}, {1, 1, 1, 1, ""}, {1, 1, 1, 1, "a.ppm"}}));
  EXPECT_EQ(os.DebugText(), "load(model.x) ... ok.\nload(b.ppm) ... ok.\nload(a.ppm) ... ok.\n");
  EXPECT_EQ(mesh.materialCount, 3u);
  EXPECT_EQ(mesh.fileName, "model.x");
  EXPECT_NE(mesh.textures[0], nullptr);
  EXPECT_EQ(mesh.textures[1], nullptr);
  EXPECT_NE(mesh.textures[2], nullptr);
  EXPECT_EQ(mesh.mesh->GetOptions() & D3DXMESH_32BIT, 0u);  // 16-bit indices

  os.debugOutput.clear();
  mesh.release();
  EXPECT_EQ(os.DebugText(), "release(model.x)\nrelease(b.ppm)\nrelease(a.ppm)\n");
  EXPECT_EQ(mesh.mesh.get(), nullptr);
  EXPECT_TRUE(mesh.fileName.empty());
  EXPECT_TRUE(mesh.textures.empty());
}

TEST_F(MeshResourceTest, ATextureSharedByThreeMaterialsIsLoadedOnce) {
  scratch.Write("wall.ppm", TinyImage(9, 9, 9));
  ASSERT_TRUE(Load({{1, 0, 0, 1, "wall.ppm"}, {0, 1, 0, 1, "wall.ppm"}, {0, 0, 1, 1, "wall.ppm"}}));
  EXPECT_EQ(os.DebugText(), "load(model.x) ... ok.\nload(wall.ppm) ... ok.\n");
  EXPECT_EQ(textureCache.Entries().front().refCount, 3);
  EXPECT_EQ(mesh.textures[0], mesh.textures[2]);

  int live = RecordingTexture::liveCount;
  mesh.release();
  EXPECT_EQ(RecordingTexture::liveCount, live - 1);
  EXPECT_EQ(os.DebugText(), "load(model.x) ... ok.\nload(wall.ppm) ... ok.\nrelease(model.x)\nrelease(wall.ppm)\n");
}

TEST_F(MeshResourceTest, AMissingTextureLeavesItsSubsetUntextured) {
  ASSERT_TRUE(Load({{1, 1, 1, 1, "nowhere.ppm"}}));
  EXPECT_EQ(mesh.textures[0], nullptr);
  std::string log = os.DebugText();
  EXPECT_TRUE(log.starts_with("load(model.x) ... ok.\n")) << log;
  EXPECT_TRUE(log.ends_with("load(nowhere.ppm) ... failed.\nnowhere.ppm: file not found\n")) << log;
  DrawnReds();
  ASSERT_EQ(device.Count("SetTexture"), 1u);
  EXPECT_EQ(device.Named("SetTexture")[0]->object, nullptr);
}

// Red level of the first texel of a material's texture; -1 when it has none.
int FirstRed(IDirect3DTexture8* texture) {
  if (!texture) return -1;
  return static_cast<RecordingTexture*>(texture)->bits[2];  // B, G, R, A in memory
}

TEST_F(MeshResourceTest, TextureNamesThatFindNothingAreLookedForInTheModelsDirectory) {
  // Each file a texture could be taken from has its own red level.
  scratch.Write("models/Side.ppm", TinyImage(10, 0, 0));
  scratch.Write("models/tex/side.ppm", TinyImage(20, 0, 0));
  scratch.Write("models/" + std::string("表札.ppm"), TinyImage(30, 0, 0));
  scratch.Write("tex/Side.ppm", TinyImage(40, 0, 0));
  const struct {
    std::string stored;
    int red;           // of the texture loaded; -1 for none
    std::string note;  // the line after the load line
  } cases[] = {
      // The longest trailing part of the name that is there, then the file name alone.
      {"C:\\Users\\me\\My Documents\\tex\\Side.ppm", 20,
       "C:\\Users\\me\\My Documents\\tex\\Side.ppm: not found as named; using models/tex/side.ppm from the "
       "model's directory\n"},
      {"C:\\Users\\me\\My Documents\\Side.ppm", 10,
       "C:\\Users\\me\\My Documents\\Side.ppm: not found as named; using models/Side.ppm from the model's "
       "directory\n"},
      {"..\\..\\common\\SIDE.PPM", 10,
       "..\\..\\common\\SIDE.PPM: not found as named; using models/Side.ppm from the model's directory\n"},
      // 表札 in code page 932: the second byte of 表 is a '\' byte and no separator.
      {"D:\\tex\\\x95\x5C\x8E\x44.ppm", 30,
       "D:\\tex\\\x95\x5C\x8E\x44.ppm: not found as named; using models/表札.ppm from the model's directory\n"},
      // A name that finds its file as stored keeps it, relative to the current directory.
      {"TEX\\side.ppm", 40, ""},
      {"E:\\nowhere\\gone.ppm", -1, "E:\\nowhere\\gone.ppm: file not found\n"},
      {"E:\\tex\\", -1, "E:\\tex\\: file not found\n"},
  };
  for (const auto& c : cases) {
    scratch.Write("models/model.x", MeshWithMaterials({{1, 1, 1, 1, c.stored}}));
    os.debugOutput.clear();
    ASSERT_TRUE(mesh.load("models/model.x", 0, 1)) << c.stored;
    EXPECT_EQ(FirstRed(mesh.textures[0]), c.red) << c.stored;
    std::string outcome = c.red < 0 ? "failed" : "ok";
    EXPECT_EQ(os.DebugText(), "load(models/model.x) ... ok.\nload(" + c.stored + ") ... " + outcome + ".\n" + c.note)
        << c.stored;
    mesh.release();
  }
}

TEST_F(MeshResourceTest, AFailedLoadKeepsTheNameForTheReleaseLine) {
  EXPECT_FALSE(mesh.load("absent.x", 0, 1));
  std::string log = os.DebugText();
  EXPECT_TRUE(log.starts_with("load(absent.x) ... failed.\nabsent.x: ")) << log;  // then the reason
  EXPECT_EQ(mesh.mesh.get(), nullptr);
  EXPECT_EQ(mesh.fileName, "absent.x");
  EXPECT_TRUE(DrawnReds().empty());

  os.debugOutput.clear();
  mesh.release();
  EXPECT_EQ(os.DebugText(), "release(absent.x)\n");
  mesh.release();
  EXPECT_EQ(os.DebugText(), "release(absent.x)\n");
}

TEST_F(MeshResourceTest, LoadingAgainReleasesTheFormerModelFirst) {
  ASSERT_TRUE(Load({{1, 1, 1, 1, ""}}));
  scratch.Write("other.x", MeshWithMaterials({{1, 1, 1, 1, ""}, {1, 1, 1, 1, ""}}));
  ASSERT_TRUE(mesh.load("other.x", 0, 1));
  EXPECT_EQ(os.DebugText(), "load(model.x) ... ok.\nrelease(model.x)\nload(other.x) ... ok.\n");
  EXPECT_EQ(mesh.materialCount, 2u);
}

TEST_F(MeshResourceTest, SubsetsAreDrawnOpaqueFirstKeepingFileOrderAmongEquals) {
  ASSERT_TRUE(Load({{0.1f, 0, 0, 1.0f, ""}, {0.2f, 0, 0, 0.3f, ""}, {0.3f, 0, 0, 1.0f, ""}, {0.4f, 0, 0, 0.7f, ""}}));
  EXPECT_EQ(mesh.drawOrder, (std::vector<uint32_t>{0, 2, 3, 1}));
  EXPECT_EQ(DrawnReds(), (std::vector<float>{0.1f, 0.3f, 0.4f, 0.2f}));
}

TEST_F(MeshResourceTest, DrawSetsTheWorldThenMaterialTextureAndSubsetPerMaterial) {
  scratch.Write("t.ppm", TinyImage(1, 1, 1));
  ASSERT_TRUE(Load({{1, 1, 1, 1, "t.ppm"}, {1, 1, 1, 0.5f, ""}}));
  device.ClearCalls();
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, 1, 2, 3);
  mesh.draw(world);
  std::vector<std::string> names = device.Names();
  ASSERT_GE(names.size(), 7u);
  EXPECT_EQ(names[0], "SetTransform");
  EXPECT_EQ(device.calls[0].Arg(0), D3DTS_WORLD);
  EXPECT_EQ(device.calls[0].matrix._42, 2.0f);
  EXPECT_EQ(names[1], "SetMaterial");
  EXPECT_EQ(names[2], "SetTexture");
  EXPECT_EQ(device.calls[2].object, mesh.textures[0]);
  EXPECT_EQ(device.Count("SetMaterial"), 2u);
  EXPECT_EQ(device.Count("SetTexture"), 2u);
  EXPECT_EQ(device.Count("DrawIndexedPrimitive"), 2u);
}

TEST_F(MeshResourceTest, DayMaterialsTakeTheirAmbientFromTheDiffuseColour) {
  ASSERT_TRUE(Load({{0.2f, 0.4f, 0.6f, 0.8f, "", 0.25f}}));
  const D3DMATERIAL8& day = mesh.dayMaterials[0];
  EXPECT_EQ(day.Ambient.r, 0.2f);
  EXPECT_EQ(day.Ambient.g, 0.4f);
  EXPECT_EQ(day.Ambient.b, 0.6f);
  EXPECT_EQ(day.Ambient.a, 0.8f);
  EXPECT_EQ(day.Emissive.r, 0.25f);
  EXPECT_EQ(day.Power, 2.0f);
}

TEST_F(MeshResourceTest, AtNightWindowsOfAlphaExactlyHalfBecomeTheNightLight) {
  const float justAbove = std::nextafter(0.5f, 1.0f);
  ASSERT_TRUE(Load({{0.1f, 0.2f, 0.3f, 0.5f, ""}, {0.1f, 0.2f, 0.3f, justAbove, ""}}));
  ASSERT_EQ(mesh.drawOrder, (std::vector<uint32_t>{1, 0}));

  DrawnReds();
  auto materials = device.Named("SetMaterial");
  EXPECT_EQ(materials[1]->material.Diffuse.a, 0.5f);  // its own colours by day
  EXPECT_EQ(materials[1]->material.Diffuse.r, 0.1f);

  nightMode = 1;
  DrawnReds();
  materials = device.Named("SetMaterial");
  const D3DMATERIAL8& lit = materials[1]->material;
  EXPECT_EQ(lit.Diffuse.r, 1.0f);
  EXPECT_EQ(lit.Diffuse.g, 0.8f);
  EXPECT_EQ(lit.Diffuse.a, 0.7f);
  EXPECT_EQ(lit.Emissive.b, 0.5f);
  EXPECT_EQ(lit.Emissive.a, 1.0f);
  EXPECT_EQ(lit.Power, 1.0f);
  const D3DMATERIAL8& unchanged = materials[0]->material;
  EXPECT_EQ(unchanged.Diffuse.a, justAbove);
  EXPECT_EQ(unchanged.Diffuse.r, 0.1f);
  EXPECT_EQ(unchanged.Emissive.r, 0.0f);
}

TEST_F(MeshResourceTest, AtNightFullyTransparentMaterialsTurnOpaque) {
  ASSERT_TRUE(Load({{0.3f, 0.6f, 0.9f, 0.0f, ""}}));
  EXPECT_EQ(DrawnReds(), std::vector<float>{0.3f});
  EXPECT_EQ(device.Named("SetMaterial")[0]->material.Diffuse.a, 0.0f);

  nightMode = 1;
  DrawnReds();
  const D3DMATERIAL8& night = device.Named("SetMaterial")[0]->material;
  EXPECT_EQ(night.Diffuse.a, 1.0f);
  EXPECT_EQ(night.Ambient.a, 1.0f);
  EXPECT_EQ(night.Diffuse.r, 0.3f);
  EXPECT_EQ(night.Ambient.b, 0.9f);
}

TEST_F(MeshResourceTest, BoundsCoverTheFileVertices) {
  scratch.Write("points.x", MeshOverPoints({{1, 1, 1}, {9, 9, 9}, {5, 5, 5}}));
  ASSERT_TRUE(mesh.load("points.x", 0, 1));
  EXPECT_EQ(mesh.boxMin.x, 1.0f);
  EXPECT_EQ(mesh.boxMax.z, 9.0f);
  EXPECT_NEAR(mesh.sphereCenter.y, 5.0f, 1e-5f);
  EXPECT_NEAR(mesh.sphereRadius, 6.928203f, 1e-4f);
}

// The rules behind the sets, on their own.
TEST(MaterialSets, SortIsStableAndLargestAlphaFirst) {
  D3DMATERIAL8 m[5] = {};
  const float alphas[5] = {0.5f, 1.0f, 0.5f, 0.0f, 1.0f};
  for (int i = 0; i < 5; ++i) m[i].Diffuse.a = alphas[i];
  uint32_t order[5] = {0, 1, 2, 3, 4};
  SortByDiffuseAlpha(m, order, 5);
  EXPECT_EQ(std::vector<uint32_t>(order, order + 5), (std::vector<uint32_t>{1, 4, 0, 2, 3}));
}

}  // namespace
