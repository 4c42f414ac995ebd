#include "gfxutil/d3dx_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kTolerance = 1e-5f;

void ExpectVector(const D3DXVECTOR3& actual, float x, float y, float z) {
  EXPECT_NEAR(actual.x, x, kTolerance);
  EXPECT_NEAR(actual.y, y, kTolerance);
  EXPECT_NEAR(actual.z, z, kTolerance);
}

void ExpectMatrix(const D3DXMATRIX& actual, const float (&expected)[4][4]) {
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_NEAR(actual.m[row][column], expected[row][column], kTolerance) << "element " << row + 1 << column + 1;
}

D3DXVECTOR3 TransformPoint(const D3DXVECTOR3& p, const D3DXMATRIX& m) {
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &p, &m);
  return out;
}

TEST(Vector, NormalizeGivesUnitLengthAndKeepsDirection) {
  D3DXVECTOR3 v(3, 0, -4), n;
  EXPECT_EQ(D3DXVec3Normalize(&n, &v), &n);
  ExpectVector(n, 0.6f, 0, -0.8f);
  EXPECT_NEAR(D3DXVec3Length(&n), 1.0f, kTolerance);
}

TEST(Vector, NormalizeOfZeroIsZeroWithoutNaN) {
  D3DXVECTOR3 zero, n(7, 7, 7);
  D3DXVec3Normalize(&n, &zero);
  EXPECT_EQ(n, D3DXVECTOR3(0, 0, 0));
}

TEST(Vector, NormalizeInPlace) {
  D3DXVECTOR3 v(0, 5, 0);
  D3DXVec3Normalize(&v, &v);
  ExpectVector(v, 0, 1, 0);
}

TEST(Vector, DotAndLength) {
  D3DXVECTOR3 a(1, 2, 3), b(-4, 5, 0.5f);
  EXPECT_FLOAT_EQ(D3DXVec3Dot(&a, &b), -4 + 10 + 1.5f);
  EXPECT_FLOAT_EQ(D3DXVec3Length(&a), std::sqrt(14.0f));
}

TEST(Vector, CrossFollowsTheLeftHandedAxes) {
  D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1), out;
  ExpectVector(*D3DXVec3Cross(&out, &x, &y), 0, 0, 1);
  ExpectVector(*D3DXVec3Cross(&out, &y, &z), 1, 0, 0);
  ExpectVector(*D3DXVec3Cross(&out, &z, &x), 0, 1, 0);
  D3DXVECTOR3 a(1, 2, 3), b(4, 5, 6);
  ExpectVector(*D3DXVec3Cross(&out, &a, &b), 2 * 6 - 3 * 5, 3 * 4 - 1 * 6, 1 * 5 - 2 * 4);
}

TEST(Vector, CrossMayOverwriteItsInput) {
  D3DXVECTOR3 a(1, 2, 3), b(4, 5, 6);
  D3DXVec3Cross(&a, &a, &b);
  ExpectVector(a, -3, 6, -3);
}

TEST(Matrix, IdentityLeavesPointsAlone) {
  D3DXMATRIX m;
  m._12 = 9;
  D3DXMatrixIdentity(&m);
  ExpectMatrix(m, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
  ExpectVector(TransformPoint(D3DXVECTOR3(1, -2, 3), m), 1, -2, 3);
}

TEST(Matrix, TranslationSitsInTheFourthRow) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, 1, 2, 3);
  ExpectMatrix(m, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}});
  ExpectVector(TransformPoint(D3DXVECTOR3(10, 20, 30), m), 11, 22, 33);
  D3DXVECTOR3 direction(10, 20, 30), moved;
  ExpectVector(*D3DXVec3TransformNormal(&moved, &direction, &m), 10, 20, 30);
}

TEST(Matrix, ScalingScalesEachAxis) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, 2, 3, -1);
  ExpectMatrix(m, {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, 1}});
  ExpectVector(TransformPoint(D3DXVECTOR3(1, 1, 1), m), 2, 3, -1);
}

TEST(Matrix, MultiplyAppliesTheLeftOperandFirst) {
  D3DXMATRIX scale, move, product;
  D3DXMatrixScaling(&scale, 2, 2, 2);
  D3DXMatrixTranslation(&move, 1, 0, 0);
  // Scale then move: (1, 1, 1) -> (2, 2, 2) -> (3, 2, 2).
  D3DXMatrixMultiply(&product, &scale, &move);
  ExpectVector(TransformPoint(D3DXVECTOR3(1, 1, 1), product), 3, 2, 2);
  // Move then scale: (1, 1, 1) -> (2, 1, 1) -> (4, 2, 2).
  D3DXMatrixMultiply(&product, &move, &scale);
  ExpectVector(TransformPoint(D3DXVECTOR3(1, 1, 1), product), 4, 2, 2);
}

TEST(Matrix, MultiplyOfGeneralMatricesByHand) {
  D3DXMATRIX a, b, product;
  for (int i = 0; i < 16; ++i) {
    a.m[i / 4][i % 4] = static_cast<float>(i + 1);
    b.m[i / 4][i % 4] = static_cast<float>(i % 3 - 1);
  }
  // Row 1 of a is (1, 2, 3, 4); b's columns are (-1, 0, 1, -1), (0, 1, -1, 0), (1, -1, 0, 1), (-1, 0, 1, -1).
  D3DXMatrixMultiply(&product, &a, &b);
  EXPECT_FLOAT_EQ(product._11, -1 + 0 + 3 - 4);
  EXPECT_FLOAT_EQ(product._12, 0 + 2 - 3 + 0);
  EXPECT_FLOAT_EQ(product._13, 1 - 2 + 0 + 4);
  EXPECT_FLOAT_EQ(product._14, -1 + 0 + 3 - 4);
  // Row 4 of a is (13, 14, 15, 16).
  EXPECT_FLOAT_EQ(product._41, -13 + 0 + 15 - 16);
}

TEST(Matrix, MultiplyMayWriteIntoAnOperand) {
  D3DXMATRIX a, b, expected;
  D3DXMatrixTranslation(&a, 1, 2, 3);
  D3DXMatrixScaling(&b, 2, 2, 2);
  D3DXMatrixMultiply(&expected, &a, &b);
  D3DXMatrixMultiply(&a, &a, &b);
  ExpectMatrix(a, expected.m);
}

TEST(Matrix, LookAtFromInFrontOfTheOrigin) {
  D3DXMATRIX view;
  D3DXVECTOR3 eye(0, 0, -1), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  ExpectMatrix(view, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}});
}

TEST(Matrix, LookAtFromTheSideTurnsTheAxes) {
  // Looking along -x: the camera's right is +z, its forward -x.
  D3DXMATRIX view;
  D3DXVECTOR3 eye(10, 0, 0), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  ExpectMatrix(view, {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 10, 1}});
  ExpectVector(TransformPoint(eye, view), 0, 0, 0);
  ExpectVector(TransformPoint(at, view), 0, 0, 10);
  ExpectVector(TransformPoint(D3DXVECTOR3(0, 0, 1), view), 1, 0, 10);
}

TEST(Matrix, LookAtFromAboveAndBehind) {
  // Eye (0, 3, -4) towards the origin: forward (0, -0.6, 0.8), right (1, 0, 0), up (0, 0.8, 0.6).
  D3DXMATRIX view;
  D3DXVECTOR3 eye(0, 3, -4), at(0, 0, 0), up(0, 1, 0);
  D3DXMatrixLookAtLH(&view, &eye, &at, &up);
  ExpectMatrix(view, {{1, 0, 0, 0}, {0, 0.8f, -0.6f, 0}, {0, 0.6f, 0.8f, 0}, {0, 0, 5, 1}});
}

TEST(Matrix, PerspectiveFovByHand) {
  // fov 90 degrees: cot(45) = 1; aspect 2 halves x; near 1, far 3.
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, 1.5707964f, 2.0f, 1.0f, 3.0f);
  ExpectMatrix(projection, {{0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.5f, 1}, {0, 0, -1.5f, 0}});
  // Depth runs from 0 at the near plane to 1 at the far plane.
  EXPECT_NEAR(TransformPoint(D3DXVECTOR3(0, 0, 1), projection).z, 0.0f, kTolerance);
  EXPECT_NEAR(TransformPoint(D3DXVECTOR3(0, 0, 3), projection).z, 1.0f, kTolerance);
  // A point on the edge of the view volume maps to the edge of clip space.
  ExpectVector(TransformPoint(D3DXVECTOR3(4, 2, 2), projection), 1, 1, 0.75f);
}

TEST(Matrix, PerspectiveOfTheViewer) {
  D3DXMATRIX projection;
  D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 640.0f / 480.0f, 0.1f, 2000.0f);
  EXPECT_NEAR(projection._22, 2.4142136f, kTolerance);  // cot(22.5 degrees)
  EXPECT_NEAR(projection._11, 2.4142136f * 0.75f, kTolerance);
  EXPECT_NEAR(projection._33, 2000.0f / 1999.9f, kTolerance);
  EXPECT_NEAR(projection._43, -0.1f * 2000.0f / 1999.9f, kTolerance);
  EXPECT_EQ(projection._34, 1.0f);
  EXPECT_EQ(projection._44, 0.0f);
}

TEST(Matrix, TransformCoordDividesByW) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, 1, 1, 1);
  m._44 = 2;
  ExpectVector(TransformPoint(D3DXVECTOR3(2, 4, 6), m), 1, 2, 3);
}

TEST(Matrix, InverseUndoesAndRefusesSingular) {
  D3DXMATRIX m, inverse, product;
  D3DXVECTOR3 eye(3, 4, -5), at(1, 0, 2), up(0, 1, 0);
  D3DXMatrixLookAtLH(&m, &eye, &at, &up);
  float determinant = 0;
  ASSERT_NE(D3DXMatrixInverse(&inverse, &determinant, &m), nullptr);
  EXPECT_NEAR(determinant, 1.0f, kTolerance);  // a rotation and a move
  D3DXMatrixMultiply(&product, &m, &inverse);
  ExpectMatrix(product, {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}});
  D3DXMatrixScaling(&m, 1, 0, 1);
  EXPECT_EQ(D3DXMatrixInverse(&inverse, nullptr, &m), nullptr);
}

TEST(Matrix, TransposeSwapsRowsAndColumns) {
  D3DXMATRIX m, t;
  D3DXMatrixTranslation(&m, 1, 2, 3);
  D3DXMatrixTranspose(&t, &m);
  ExpectMatrix(t, {{1, 0, 0, 1}, {0, 1, 0, 2}, {0, 0, 1, 3}, {0, 0, 0, 1}});
}

}  // namespace
