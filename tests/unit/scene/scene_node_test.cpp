#include "scene/scene_node.h"

#include <limits>

#include "fake_os.h"
#include "resources/mesh_resource.h"
#include "scene_fixture.h"
#include "test_paths.h"

namespace {

D3DXMATRIX Rows(const D3DXVECTOR3& x, const D3DXVECTOR3& y, const D3DXVECTOR3& z, const D3DXVECTOR3& t) {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  const D3DXVECTOR3* rows[4] = {&x, &y, &z, &t};
  for (int r = 0; r < 4; ++r) {
    m.m[r][0] = rows[r]->x;
    m.m[r][1] = rows[r]->y;
    m.m[r][2] = rows[r]->z;
  }
  return m;
}

D3DXVECTOR3 Translation(const D3DXMATRIX& m) { return D3DXVECTOR3(m._41, m._42, m._43); }

class SceneNodeTest : public SceneTest {
 protected:
  FakeOs os;
  SceneNode node;
};

TEST_F(SceneNodeTest, NewNodeIsAnInvisibleIdentity) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  ExpectNear(node.Local(), identity, 0);
  EXPECT_EQ(node.Scale(), 1.0f);
  EXPECT_FALSE(node.IsVisible());
  EXPECT_EQ(node.Mesh(), nullptr);
  EXPECT_EQ(node.Parent(), nullptr);
}

TEST_F(SceneNodeTest, AttachReplacesTheWholeTransform) {
  node.SetOrientation(D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 1, 0));
  node.Attach(nullptr, 1, 2, 3, 2);
  ExpectNear(node.Local(), Rows({2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {1, 2, 3}), 0);
  EXPECT_EQ(node.Scale(), 2.0f);
  EXPECT_TRUE(node.IsVisible());
}

TEST_F(SceneNodeTest, ScaleTwoThenOneRestoresTheAxesAndKeepsTheTranslation) {
  node.Attach(nullptr, 4, 5, 6, 1);
  node.SetOrientation(D3DXVECTOR3(1, 0, 1), D3DXVECTOR3(0, 1, 0));
  D3DXMATRIX before = node.Local();
  EXPECT_TRUE(node.SetScale(2));
  EXPECT_NEAR(node.Local()._31, before._31 * 2, 1e-6f);
  ExpectNear(Translation(node.Local()), D3DXVECTOR3(4, 5, 6), 0);
  EXPECT_TRUE(node.SetScale(1));
  ExpectNear(node.Local(), before, 1e-6f);
}

TEST_F(SceneNodeTest, ZeroOrNonFiniteScaleIsRefusedAndTheScaleStays) {
  node.Attach(nullptr, 1, 1, 1, 3);
  D3DXMATRIX before = node.Local();
  EXPECT_FALSE(node.SetScale(0));
  EXPECT_FALSE(node.SetScale(std::numeric_limits<float>::quiet_NaN()));
  EXPECT_FALSE(node.SetScale(std::numeric_limits<float>::infinity()));
  EXPECT_EQ(node.Scale(), 3.0f);
  ExpectNear(node.Local(), before, 0);
  EXPECT_EQ(os.DebugText(),
            "SceneNode: scale 0 refused, 3 kept\nSceneNode: scale nan refused, 3 kept\n"
            "SceneNode: scale inf refused, 3 kept\n");
  // The node can still be rescaled afterwards.
  EXPECT_TRUE(node.SetScale(1.5f));
  EXPECT_NEAR(node.Local()._11, 1.5f, 1e-6f);
}

TEST_F(SceneNodeTest, AttachWithZeroScaleUsesOne) {
  node.Attach(nullptr, 0, 0, 0, 0);
  EXPECT_EQ(node.Scale(), 1.0f);
  EXPECT_EQ(node.Local()._11, 1.0f);
  EXPECT_EQ(os.DebugText(), "SceneNode: scale 0 refused, 1 used\n");
}

TEST_F(SceneNodeTest, OrientationBuildsAxesFromForwardAndUpAndKeepsScale) {
  node.Attach(nullptr, 7, 8, 9, 2);
  // Forward +x with up +y: right is -z.
  node.SetOrientation(D3DXVECTOR3(5, 0, 0), D3DXVECTOR3(0, 3, 0));
  ExpectNear(node.Local(), Rows({0, 0, -2}, {0, 2, 0}, {2, 0, 0}, {7, 8, 9}), 1e-6f);
  EXPECT_EQ(node.Scale(), 2.0f);
  // The frame routines' forward +z, up +y gives the plain axes again.
  node.SetOrientation(D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
  ExpectNear(node.Local(), Rows({2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {7, 8, 9}), 1e-6f);
}

TEST_F(SceneNodeTest, ParentMovesItsChild) {
  SceneNode parent;
  parent.Attach(nullptr, 10, 0, 0, 2);
  node.Attach(nullptr, 1, 0, 0, 1);
  ASSERT_TRUE(node.SetParent(&parent));
  ExpectNear(Translation(node.WorldMatrix()), D3DXVECTOR3(12, 0, 0));
  parent.SetPosition(D3DXVECTOR3(-5, 3, 0));
  ExpectNear(Translation(node.WorldMatrix()), D3DXVECTOR3(-3, 3, 0));
  EXPECT_NEAR(node.WorldMatrix()._11, 2.0f, 1e-6f);
}

TEST_F(SceneNodeTest, ANodeCannotBecomeItsOwnAncestor) {
  SceneNode parent, grandparent;
  ASSERT_TRUE(node.SetParent(&parent));
  ASSERT_TRUE(parent.SetParent(&grandparent));
  EXPECT_FALSE(grandparent.SetParent(&node));
  EXPECT_FALSE(node.SetParent(&node));
  EXPECT_EQ(grandparent.Parent(), nullptr);
  EXPECT_EQ(node.Parent(), &parent);
}

TEST_F(SceneNodeTest, NodeWithoutMeshDrawsNothing) {
  node.Attach(nullptr, 0, 0, 0, 1);
  node.Draw();
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(SceneNodeTest, DrawHandsTheWorldMatrixThroughTheParentChainToTheMesh) {
  MeshResource mesh;
  ASSERT_TRUE(mesh.load(SourcePath("samples/Struct/Model.x").c_str(), 0, 1));
  SceneNode unattached;
  unattached.Draw();
  SceneNode parent;
  parent.Attach(nullptr, 0, 5, 0, 1);
  node.Attach(&mesh, 1, 2, 3, 0.5f);
  node.SetParent(&parent);
  device.ClearCalls();

  node.Draw();
  auto transforms = device.Named("SetTransform");
  ASSERT_FALSE(transforms.empty());
  EXPECT_EQ(transforms[0]->Arg(0), D3DTS_WORLD);
  ExpectNear(transforms[0]->matrix, Rows({0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}, {1, 7, 3}), 1e-6f);
  EXPECT_GT(device.Count("DrawIndexedPrimitive") + device.Count("DrawPrimitiveUP"), 0u);
}

}  // namespace
