#include <cmath>
#include <cstring>

#include "device_fixture.h"
#include "graphics/device_setup.h"
#include "state_names.h"

namespace {

TEST_F(DeviceRenderTest, ClearColourReachesEveryPixel) {
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xff336699, 1.0f, 0),
            D3D_OK);
  for (uint32_t pixel : Pixels()) ASSERT_EQ(pixel, 0xff336699u);
}

TEST_F(DeviceRenderTest, BeginFrameWithZeroKeepsThePicture) {
  d3dDevice = device;
  deviceSetup.depthClearFlags = D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
  device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xffff0000, 1.0f, 0);
  ASSERT_EQ(BeginFrame(0), 1);
  EXPECT_EQ(EndFrame(), D3D_OK);
  EXPECT_EQ(Pixel(10, 10), 0xffff0000u);

  ASSERT_EQ(BeginFrame(0xff000000), 1);
  EXPECT_EQ(EndFrame(), D3D_OK);
  EXPECT_EQ(Pixel(10, 10), 0xff000000u);
  d3dDevice = nullptr;
}

TEST_F(DeviceRenderTest, LitTriangleHasTheColourOfTheLightingFormula) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  device->SetRenderState(D3DRS_LIGHTING, 1);
  device->SetRenderState(D3DRS_AMBIENT, 0xff402010);
  D3DMATERIAL8 material{};
  material.Diffuse = {0.8f, 0.4f, 0.2f, 1.0f};
  material.Ambient = {0.5f, 1.0f, 0.5f, 1.0f};
  material.Emissive = {0.1f, 0.0f, 0.05f, 0.0f};
  device->SetMaterial(&material);
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {0.5f, 0.6f, 1.0f, 1.0f};
  light.Direction = {0.0f, -3.0f, 3.0f};  // not normalised: the device normalises it
  device->SetLight(0, &light);
  device->LightEnable(0, 1);
  LitVertex v[3] = {{-0.8f, -0.8f, 0.5f, 0, 0, -1}, {0.0f, 0.8f, 0.5f, 0, 0, -1}, {0.8f, -0.8f, 0.5f, 0, 0, -1}};
  device->SetVertexShader(kLitFvf);
  ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(LitVertex)), D3D_OK);

  // Ce + Ca * Ga + Cd * Ld * (N . -L), with N . -L = cos 45 degrees.
  const float facing = std::sqrt(0.5f);
  const float ga[3] = {0x40 / 255.0f, 0x20 / 255.0f, 0x10 / 255.0f};
  auto channel = [&](int i) {
    const float* ce = &material.Emissive.r;
    const float* ca = &material.Ambient.r;
    const float* cd = &material.Diffuse.r;
    const float* ld = &light.Diffuse.r;
    return static_cast<uint32_t>(std::lround(std::fmin(ce[i] + ca[i] * ga[i] + cd[i] * ld[i] * facing, 1.0f) * 255));
  };
  uint32_t expected = 0xff000000u | channel(0) << 16 | channel(1) << 8 | channel(2);
  EXPECT_TRUE(ColourNear(Pixel(kSize / 2, kSize / 2), expected));
}

TEST_F(DeviceRenderTest, LightFromBehindLeavesAmbientAndEmissiveOnly) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  device->SetRenderState(D3DRS_LIGHTING, 1);
  device->SetRenderState(D3DRS_AMBIENT, 0xff202020);
  D3DMATERIAL8 material{};
  material.Diffuse = {1, 1, 1, 1};
  material.Ambient = {1, 0.5f, 0, 1};
  device->SetMaterial(&material);
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {1, 1, 1, 1};
  light.Direction = {0, 0, -1};  // towards the viewer: the front faces away from it
  device->SetLight(0, &light);
  device->LightEnable(0, 1);
  LitVertex v[3] = {{-0.8f, -0.8f, 0.5f, 0, 0, -1}, {0.0f, 0.8f, 0.5f, 0, 0, -1}, {0.8f, -0.8f, 0.5f, 0, 0, -1}};
  device->SetVertexShader(kLitFvf);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(LitVertex));
  EXPECT_TRUE(ColourNear(Pixel(kSize / 2, kSize / 2), 0xff201000));
}

TEST_F(DeviceRenderTest, CounterClockwiseTrianglesAreCulled) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  ColourVertex ccw[3] = {{-0.8f, -0.8f, 0.5f, 0xffffffff}, {0.8f, -0.8f, 0.5f, 0xffffffff},
                         {0.0f, 0.8f, 0.5f, 0xffffffff}};
  device->SetVertexShader(kColourFvf);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof(ColourVertex));
  EXPECT_EQ(Pixel(kSize / 2, kSize / 2), 0xff000000u);

  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof(ColourVertex));
  EXPECT_EQ(Pixel(kSize / 2, kSize / 2), 0xffffffffu);
}

TEST_F(DeviceRenderTest, DepthFunctionDecidesWhichTriangleStays) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  DrawColourTriangle(0xffff0000, 0.2f);
  DrawColourTriangle(0xff00ff00, 0.8f);
  EXPECT_EQ(Pixel(kSize / 2, kSize / 2), 0xffff0000u);

  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  DrawColourTriangle(0xff00ff00, 0.8f);
  EXPECT_EQ(Pixel(kSize / 2, kSize / 2), 0xff00ff00u);
}

TEST_F(DeviceRenderTest, HalfTransparentTriangleBlendsWithThePicture) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff0000ff, 1.0f, 0);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  DrawColourTriangle(0x80ff0000);
  EXPECT_TRUE(ColourNear(Pixel(kSize / 2, kSize / 2), 0xff80007f));
  EXPECT_EQ(Pixel(1, 1), 0xff0000ffu);  // outside the triangle
}

TEST_F(DeviceRenderTest, PreTransformedVerticesAreScreenPixels) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  // A rectangle over pixels 10..19 x 20..29 exactly: edges half a pixel off the centres.
  ScreenVertex v[6] = {{9.5f, 19.5f, 0.5f, 1, 0xffffffff, 0, 0}, {19.5f, 19.5f, 0.5f, 1, 0xffffffff, 0, 0},
                       {9.5f, 29.5f, 0.5f, 1, 0xffffffff, 0, 0}, {19.5f, 19.5f, 0.5f, 1, 0xffffffff, 0, 0},
                       {19.5f, 29.5f, 0.5f, 1, 0xffffffff, 0, 0}, {9.5f, 29.5f, 0.5f, 1, 0xffffffff, 0, 0}};
  device->SetVertexShader(kScreenFvf);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(ScreenVertex));
  std::vector<uint32_t> pixels = Pixels();
  int lit = 0;
  for (int y = 0; y < static_cast<int>(kSize); ++y)
    for (int x = 0; x < static_cast<int>(kSize); ++x) {
      bool inside = x >= 10 && x < 20 && y >= 20 && y < 30;
      EXPECT_EQ(pixels[y * kSize + x], inside ? 0xffffffffu : 0xff000000u) << x << "," << y;
      lit += inside;
    }
  EXPECT_EQ(lit, 100);
}

TEST_F(DeviceRenderTest, EdgesThroughPixelCentresFollowTheTopLeftRule) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  // Edges through the centres of pixels 10 and 20, 20 and 30: the left and top ones are inside.
  ScreenVertex v[6] = {{10, 20, 0.5f, 1, 0xffffffff, 0, 0}, {20, 20, 0.5f, 1, 0xffffffff, 0, 0},
                       {10, 30, 0.5f, 1, 0xffffffff, 0, 0}, {20, 20, 0.5f, 1, 0xffffffff, 0, 0},
                       {20, 30, 0.5f, 1, 0xffffffff, 0, 0}, {10, 30, 0.5f, 1, 0xffffffff, 0, 0}};
  device->SetVertexShader(kScreenFvf);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(ScreenVertex));
  std::vector<uint32_t> pixels = Pixels();
  for (int y = 18; y < 32; ++y)
    for (int x = 8; x < 22; ++x) {
      bool inside = x >= 10 && x < 20 && y >= 20 && y < 30;
      EXPECT_EQ(pixels[y * kSize + x], inside ? 0xffffffffu : 0xff000000u) << x << "," << y;
    }
}

TEST_F(DeviceRenderTest, IndexedTrianglesDrawFromBuffersOfBothIndexSizes) {
  for (D3DFORMAT indexFormat : {D3DFMT_INDEX16, D3DFMT_INDEX32}) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    // Two unused vertices first: the base vertex index skips them.
    ColourVertex quad[6] = {{0, 0, 0, 0},
                            {0, 0, 0, 0},
                            {-1, 1, 0.5f, 0xff00ff00},
                            {1, 1, 0.5f, 0xff00ff00},
                            {1, -1, 0.5f, 0xff00ff00},
                            {-1, -1, 0.5f, 0xff00ff00}};
    Com<IDirect3DVertexBuffer8> vertices;
    ASSERT_EQ(device->CreateVertexBuffer(sizeof quad, D3DUSAGE_WRITEONLY, kColourFvf, D3DPOOL_MANAGED, vertices.put()),
              D3D_OK);
    uint8_t* data = nullptr;
    ASSERT_EQ(vertices->Lock(0, 0, &data, 0), D3D_OK);
    std::memcpy(data, quad, sizeof quad);
    vertices->Unlock();
    const uint32_t indices[6] = {0, 1, 2, 0, 2, 3};
    UINT indexSize = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    Com<IDirect3DIndexBuffer8> indexBuffer;
    ASSERT_EQ(device->CreateIndexBuffer(6 * indexSize, D3DUSAGE_WRITEONLY, indexFormat, D3DPOOL_MANAGED, indexBuffer.put()),
              D3D_OK);
    ASSERT_EQ(indexBuffer->Lock(0, 0, &data, 0), D3D_OK);
    for (int i = 0; i < 6; ++i) {
      if (indexSize == 4) std::memcpy(data + i * 4, &indices[i], 4);
      uint16_t small = static_cast<uint16_t>(indices[i]);
      if (indexSize == 2) std::memcpy(data + i * 2, &small, 2);
    }
    indexBuffer->Unlock();
    device->SetVertexShader(kColourFvf);
    device->SetStreamSource(0, vertices, sizeof(ColourVertex));
    device->SetIndices(indexBuffer, 2);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
    // An index past the vertices is refused rather than read; a range whose
    // own indices fit is drawn although the buffer holds a larger one.
    device->SetIndices(indexBuffer, 3);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3D_OK);
    device->SetStreamSource(0, nullptr, 0);
    device->SetIndices(nullptr, 0);
    std::vector<uint32_t> pixels = Pixels();
    for (size_t i = 0; i < pixels.size(); ++i)
      ASSERT_EQ(pixels[i], 0xff00ff00u) << "index size " << indexSize << " pixel " << i % kSize << "," << i / kSize;
  }
}

// The buffers keep no copy of their data: a lock that may read sees what the
// OpenGL buffer holds, and a range rewritten after the largest index has
// gone is still checked index by index.
TEST_F(DeviceRenderTest, BufferLocksReadBackAndIndexChecksFollowRewrites) {
  Com<IDirect3DIndexBuffer8> indexBuffer;
  ASSERT_EQ(device->CreateIndexBuffer(6 * 2, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, indexBuffer.put()), D3D_OK);
  uint8_t* data = nullptr;
  ASSERT_EQ(indexBuffer->Lock(0, 0, &data, 0), D3D_OK);
  const uint16_t first[6] = {0, 1, 2, 0, 2, 9};
  std::memcpy(data, first, sizeof first);
  indexBuffer->Unlock();
  ASSERT_EQ(indexBuffer->Lock(6, 6, &data, D3DLOCK_READONLY), D3D_OK);
  uint16_t readBack[3];
  std::memcpy(readBack, data, sizeof readBack);
  indexBuffer->Unlock();
  EXPECT_EQ(readBack[0], 0);
  EXPECT_EQ(readBack[1], 2);
  EXPECT_EQ(readBack[2], 9);
  // Index 9 replaced by 3: the whole buffer now fits four vertices.
  ASSERT_EQ(indexBuffer->Lock(10, 2, &data, 0), D3D_OK);
  const uint16_t three = 3;
  std::memcpy(data, &three, 2);
  indexBuffer->Unlock();

  ColourVertex quad[4] = {{-1, 1, 0.5f, 0xff0000ff}, {1, 1, 0.5f, 0xff0000ff}, {1, -1, 0.5f, 0xff0000ff},
                          {-1, -1, 0.5f, 0xff0000ff}};
  Com<IDirect3DVertexBuffer8> vertices;
  ASSERT_EQ(device->CreateVertexBuffer(sizeof quad, 0, kColourFvf, D3DPOOL_MANAGED, vertices.put()), D3D_OK);
  ASSERT_EQ(vertices->Lock(0, 0, &data, 0), D3D_OK);
  std::memcpy(data, quad, sizeof quad);
  vertices->Unlock();
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  device->SetVertexShader(kColourFvf);
  device->SetStreamSource(0, vertices, sizeof(ColourVertex));
  device->SetIndices(indexBuffer, 0);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
  device->SetIndices(indexBuffer, 1);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
  device->SetStreamSource(0, nullptr, 0);
  device->SetIndices(nullptr, 0);
  EXPECT_TRUE(ColourNear(Pixel(kSize / 2, kSize / 2), 0xff0000ff));
}

}  // namespace
