// Bounding box and sphere over vertices of a flexible vertex format.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gfxutil/d3dx_mesh.h"
#include "xfile_test_support.h"

namespace {

TEST(MeshBounds, VertexSizeFollowsTheFormat) {
  EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ), 12u);
  EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1), 36u);
  EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZRHW | D3DFVF_DIFFUSE), 20u);
  EXPECT_EQ(D3DXGetFVFVertexSize(D3DFVF_XYZ | 0x200), 28u);  // two texture coordinate sets
}

TEST(MeshBounds, SphereIsCentredOnTheMeanAndReachesTheFarthestPoint) {
  const D3DXVECTOR3 two[] = {{1, 1, 1}, {9, 9, 9}};
  D3DXVECTOR3 centre;
  float radius;
  ASSERT_EQ(D3DXComputeBoundingSphere(two, 2, D3DFVF_XYZ, &centre, &radius), D3D_OK);
  EXPECT_VEC3_NEAR(centre, 5.0f, 5.0f, 5.0f, 1e-6f);
  EXPECT_NEAR(radius, 6.928203f, 1e-5f);

  const D3DXVECTOR3 five[] = {{2, 5.9f, -1.2f}, {-1.87f, 7.9f, 7.4f}, {7.43f, -0.9f, 11.9f}, {-6.92f, 6.3f, -3.8f},
                              {11.4f, -8.1f, 4.5f}};
  ASSERT_EQ(D3DXComputeBoundingSphere(five, 5, D3DFVF_XYZ, &centre, &radius), D3D_OK);
  EXPECT_VEC3_NEAR(centre, 2.408f, 2.22f, 3.76f, 1e-5f);
  EXPECT_NEAR(radius, 13.707883f, 1e-5f);

  D3DXVECTOR3 low, high;
  ASSERT_EQ(D3DXComputeBoundingBox(five, 5, D3DFVF_XYZ, &low, &high), D3D_OK);
  EXPECT_VEC3_NEAR(low, -6.92f, -8.1f, -3.8f, 0);
  EXPECT_VEC3_NEAR(high, 11.4f, 7.9f, 11.9f, 0);
  ASSERT_EQ(D3DXComputeBoundingBox(five, 4, D3DFVF_XYZ, &low, &high), D3D_OK);
  EXPECT_VEC3_NEAR(low, -6.92f, -0.9f, -3.8f, 0);
  EXPECT_VEC3_NEAR(high, 7.43f, 7.9f, 11.9f, 0);
}

TEST(MeshBounds, LoadedMeshesOfTheReferenceCases) {
  struct Case {
    std::string text;
    D3DXVECTOR3 centre;
    float radius;
    D3DXVECTOR3 low, high;
  } cases[] = {
      {"xof 0303txt 0032Mesh {3;0.0; 0.0; 0.0;,0.0; 1.0; 0.0;,1.0; 1.0; 0.0;;1;3; 0, 1, 2;;}",
       {1.0f / 3, 2.0f / 3, 0},
       0.745356f,
       {0, 0, 0},
       {1, 1, 0}},
      // A unit cube split into 24 vertices with normals, colours and texture coordinates.
      {"xof 0303txt 0032 Mesh {8; 0;0;0;, 0;0;1;, 0;1;0;, 0;1;1;, 1;0;0;, 1;0;1;, 1;1;0;, 1;1;1;;"
       " 6; 4;0,1,3,2;, 4;2,3,7,6;, 4;6,7,5,4;, 4;4,5,1,0;, 4;0,2,6,4;, 4;3,1,5,7;;"
       " MeshNormals { 6; -1;0;0;, 0;1;0;, 1;0;0;, 0;-1;0;, 0;0;-1;, 0;0;1;;"
       " 6; 4;0,0,0,0;, 4;1,1,1,1;, 4;2,2,2,2;, 4;3,3,3,3;, 4;4,4,4,4;, 4;5,5,5,5;; }"
       " MeshVertexColors { 1; 1; 0;0;1;0.1;;; }"
       " MeshTextureCoords { 8; 0;1;, 1;1;, 0;0;, 1;0;, 1;1;, 0;1;, 1;0;, 0;0;; } }",
       {0.5f, 0.5f, 0.5f},
       0.866025f,
       {0, 0, 0},
       {1, 1, 1}},
  };
  for (const Case& c : cases) {
    XMeshData mesh;
    ASSERT_EQ(ReadX(c.text, mesh), D3D_OK);
    // The vertices as the mesh's vertex buffer holds them: stride from the format.
    std::vector<uint8_t> packed;
    UINT stride = D3DXGetFVFVertexSize(mesh.fvf);
    for (size_t i = 0; i < mesh.VertexCount(); ++i) {
      XVertex v = mesh.Vertex(i);
      size_t at = packed.size();
      packed.resize(at + stride, 0xEE);
      std::memcpy(&packed[at], &v.position, 12);
    }
    D3DXVECTOR3 centre, low, high;
    float radius;
    DWORD count = static_cast<DWORD>(mesh.VertexCount());
    ASSERT_EQ(D3DXComputeBoundingSphere(packed.data(), count, mesh.fvf, &centre, &radius), D3D_OK);
    EXPECT_VEC3_NEAR(centre, c.centre.x, c.centre.y, c.centre.z, 1e-6f);
    EXPECT_NEAR(radius, c.radius, 1e-6f);
    ASSERT_EQ(D3DXComputeBoundingBox(packed.data(), count, mesh.fvf, &low, &high), D3D_OK);
    EXPECT_EQ(low, c.low);
    EXPECT_EQ(high, c.high);
  }
}

TEST(MeshBounds, MissingArgumentsAndEmptyInput) {
  const D3DXVECTOR3 one[] = {{1, 2, 3}};
  D3DXVECTOR3 a, b;
  float radius;
  EXPECT_EQ(D3DXComputeBoundingBox(nullptr, 1, D3DFVF_XYZ, &a, &b), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXComputeBoundingBox(one, 1, D3DFVF_XYZ, nullptr, &b), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXComputeBoundingBox(one, 1, D3DFVF_XYZ, &a, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXComputeBoundingSphere(one, 1, D3DFVF_XYZ, nullptr, &radius), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXComputeBoundingSphere(one, 1, D3DFVF_XYZ, &a, nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXComputeBoundingSphere(one, 1, 0, &a, &radius), D3DERR_INVALIDCALL) << "no position in the format";

  // No vertices: a point at the origin rather than a NaN centre.
  ASSERT_EQ(D3DXComputeBoundingSphere(one, 0, D3DFVF_XYZ, &a, &radius), D3D_OK);
  EXPECT_VEC3_NEAR(a, 0.0f, 0.0f, 0.0f, 0);
  EXPECT_EQ(radius, 0.0f);
  ASSERT_EQ(D3DXComputeBoundingBox(one, 0, D3DFVF_XYZ, &a, &b), D3D_OK);
  EXPECT_EQ(a, D3DXVECTOR3());
  EXPECT_EQ(b, D3DXVECTOR3());
}

// A coordinate that is not a number gives way to the others, as std::fmin
// and std::fmax do, wherever it stands.
TEST(MeshBounds, CoordinatesThatAreNotNumbersGiveWay) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const D3DXVECTOR3 first[] = {{nan, 1, 2}, {3, nan, -1}, {-2, 4, nan}};
  const D3DXVECTOR3 last[] = {{3, 1, 2}, {-2, 4, -1}, {nan, nan, nan}};
  for (const D3DXVECTOR3* points : {first, last}) {
    D3DXVECTOR3 low, high;
    ASSERT_EQ(D3DXComputeBoundingBox(points, 3, D3DFVF_XYZ, &low, &high), D3D_OK);
    EXPECT_EQ(low, D3DXVECTOR3(-2, 1, -1));
    EXPECT_EQ(high, D3DXVECTOR3(3, 4, 2));
  }
}

}  // namespace
