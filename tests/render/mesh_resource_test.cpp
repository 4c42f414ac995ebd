// A model loaded through MeshResource, drawn by the OpenGL device with the
// viewer's default states: lit, textured, translucent subsets over opaque ones.
#include <string>

#include "mesh_render_fixture.h"
#include "resources/mesh_resource.h"
#include "state_names.h"

namespace {

// A cube of side 2 at the origin, textured, in material 1; in front of its
// left half a pane at z = -1.5 in material 0, half transparent blue. The pane
// comes first in the file, so only the draw order puts it over the cube.
const char kModel[] =
    "xof 0302txt 0032\n"
    "Mesh {\n"
    "28;\n"
    // pane, facing -z
    "-2;-0.5;-1.5;,-2;0.5;-1.5;,0;0.5;-1.5;,0;-0.5;-1.5;,\n"
    // cube faces: -z, +z, -x, +x, -y, +y
    "-1;-1;-1;,-1;1;-1;,1;1;-1;,1;-1;-1;,\n"
    "1;-1;1;,1;1;1;,-1;1;1;,-1;-1;1;,\n"
    "-1;-1;1;,-1;1;1;,-1;1;-1;,-1;-1;-1;,\n"
    "1;-1;-1;,1;1;-1;,1;1;1;,1;-1;1;,\n"
    "-1;-1;1;,-1;-1;-1;,1;-1;-1;,1;-1;1;,\n"
    "-1;1;-1;,-1;1;1;,1;1;1;,1;1;-1;;\n"
    "7;\n"
    "4;0,1,2,3;,4;4,5,6,7;,4;8,9,10,11;,4;12,13,14,15;,4;16,17,18,19;,4;20,21,22,23;,4;24,25,26,27;;\n"
    "MeshNormals {\n"
    "7;\n0;0;-1;,0;0;-1;,0;0;1;,-1;0;0;,1;0;0;,0;-1;0;,0;1;0;;\n"
    "7;\n4;0,0,0,0;,4;1,1,1,1;,4;2,2,2,2;,4;3,3,3,3;,4;4,4,4,4;,4;5,5,5,5;,4;6,6,6,6;;\n"
    "}\n"
    "MeshTextureCoords {\n"
    "28;\n"
    "0;1;,0;0;,1;0;,1;1;,0;1;,0;0;,1;0;,1;1;,0;1;,0;0;,1;0;,1;1;,0;1;,0;0;,1;0;,1;1;,\n"
    "0;1;,0;0;,1;0;,1;1;,0;1;,0;0;,1;0;,1;1;,0;1;,0;0;,1;0;,1;1;;\n"
    "}\n"
    "MeshMaterialList {\n"
    "2;\n7;\n0,1,1,1,1,1,1;\n"
    "Material { 0;0;1;0.5;; 1;; 0;0;0;; 0;0;0;; }\n"
    "Material { 1;1;1;1;; 1;; 0;0;0;; 0;0;0;; TextureFilename { \"red.ppm\"; } }\n"
    "}\n"
    "}\n";

class MeshResourceRenderTest : public MeshRenderTest {
 protected:
  void SetUp() override {
    MeshRenderTest::SetUp();
    std::string red = "P6\n2 2\n255\n";
    for (int i = 0; i < 4; ++i) red.append("\xff\0\0", 3);
    scratch.Write("red.ppm", red);
    scratch.Write("cube.x", kModel);
    ASSERT_TRUE(mesh.load("cube.x", 0, 1));
    device->SetRenderState(D3DRS_AMBIENT, 0xff000000);
    LookFrom(D3DXVECTOR3(0, 0, -5), 1.0f);
  }
  void TearDown() override {
    mesh.release();
    MeshRenderTest::TearDown();
  }

  // A white (day) or black (night) light shining straight into the picture.
  void DrawUnderLight(float brightness) {
    D3DLIGHT8 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {brightness, brightness, brightness, 1};
    light.Direction = {0, 0, 1};
    light.Range = 1000;
    device->SetLight(0, &light);
    device->LightEnable(0, 1);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    mesh.draw(world);
  }

  MeshResource mesh;
};

// Pixels of the 64 x 64 target: the cube's face spans about 13..51 each way,
// the pane x 13..32 and y 21..43.
constexpr int kCubeOnly[2] = {44, 32};
constexpr int kPaneOverCube[2] = {22, 32};
constexpr int kCubeAbovePane[2] = {22, 16};

TEST_F(MeshResourceRenderTest, TheLitTexturedCubeShowsThroughTheTranslucentPane) {
  DrawUnderLight(1.0f);
  EXPECT_TRUE(ColourNear(Pixel(kCubeOnly[0], kCubeOnly[1]), 0xffff0000, 3));
  EXPECT_TRUE(ColourNear(Pixel(kCubeAbovePane[0], kCubeAbovePane[1]), 0xffff0000, 3));
  EXPECT_TRUE(ColourNear(Pixel(kPaneOverCube[0], kPaneOverCube[1]), 0xff800080, 4));
  EXPECT_EQ(Pixel(2, 2), 0xff000000u);
}

TEST_F(MeshResourceRenderTest, AtNightThePaneOfAlphaOneHalfGlowsOverTheDarkCube) {
  nightMode = 1;
  DrawUnderLight(0.0f);
  EXPECT_TRUE(ColourNear(Pixel(kCubeOnly[0], kCubeOnly[1]), 0xff000000, 3));
  // The night light: emissive (1, 0.8, 0.5) at alpha 0.7 over black.
  EXPECT_TRUE(ColourNear(Pixel(kPaneOverCube[0], kPaneOverCube[1]), 0xffb38f59, 4));
}

}  // namespace
