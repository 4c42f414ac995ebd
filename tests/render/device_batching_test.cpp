#include <cmath>
#include <cstring>
#include <random>

#include "device_fixture.h"
#include "platform/d3d/gl_device.h"

namespace {

class DeviceBatchingTest : public DeviceRenderTest {
 protected:
  // A fan of half-transparent lines crossing each other, as the rail preview draws
  // them: one DrawPrimitiveUP per line. With `separately`, a render state that
  // does not change the picture (the ambient colour, with lighting off) changes
  // between the lines, so each line is drawn on its own.
  std::vector<uint32_t> DrawFan(bool separately, uint64_t* glDraws) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    GlDevice* gl = dynamic_cast<GlDevice*>(device.get());
    uint64_t before = gl->GlDrawCount();
    for (int i = 0; i < 40; ++i) {
      float angle = i * 0.157f;
      D3DCOLOR colour = 0x80000000u | static_cast<D3DCOLOR>((i * 97) % 256) << 16 |
                        static_cast<D3DCOLOR>((i * 53) % 256) << 8 | static_cast<D3DCOLOR>((i * 31) % 256);
      ColourVertex line[2] = {{-std::cos(angle), -std::sin(angle), 0.5f, colour},
                              {std::cos(angle) * 0.9f, std::sin(angle) * 0.9f, 0.5f, 0xc0ffffff}};
      if (separately) device->SetRenderState(D3DRS_AMBIENT, static_cast<DWORD>(i));
      device->SetVertexShader(kColourFvf);
      device->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof(ColourVertex));
    }
    std::vector<uint32_t> pixels = Pixels();
    *glDraws = gl->GlDrawCount() - before;
    return pixels;
  }
};

TEST_F(DeviceBatchingTest, BatchedLinesDrawTheSamePictureAsSeparateOnes) {
  uint64_t batchedDraws = 0, separateDraws = 0;
  std::vector<uint32_t> batched = DrawFan(false, &batchedDraws);
  std::vector<uint32_t> separate = DrawFan(true, &separateDraws);
  EXPECT_EQ(batchedDraws, 1u);
  EXPECT_EQ(separateDraws, 40u);
  int drawn = 0;
  for (uint32_t pixel : batched) drawn += pixel != 0xff000000u;
  EXPECT_GT(drawn, 500);
  EXPECT_EQ(batched, separate);
}

TEST_F(DeviceBatchingTest, LinesWaitingToBeDrawnKeepTheStatesTheyWereDrawnWith) {
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  device->SetVertexShader(kColourFvf);
  // A near red line, then a far green one behind it, which the depth test hides.
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  ColourVertex nearLine[2] = {{-1, 0, 0.2f, 0xffff0000}, {1, 0, 0.2f, 0xffff0000}};
  ColourVertex farLine[2] = {{-1, 0, 0.8f, 0xff00ff00}, {1, 0, 0.8f, 0xff00ff00}};
  device->DrawPrimitiveUP(D3DPT_LINELIST, 1, nearLine, sizeof(ColourVertex));
  device->DrawPrimitiveUP(D3DPT_LINELIST, 1, farLine, sizeof(ColourVertex));
  // Changing the depth function afterwards must not reach the lines drawn before.
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  int red = 0, green = 0;
  for (uint32_t pixel : Pixels()) red += pixel == 0xffff0000u, green += pixel == 0xff00ff00u;
  EXPECT_EQ(red, static_cast<int>(kSize));
  EXPECT_EQ(green, 0);
}

// Long indexed lists are drawn in pieces with a flush between them; the
// picture is that of the same triangles drawn at once, in the same order.
TEST_F(DeviceBatchingTest, ALongIndexedListDrawsThePictureOfOneDraw) {
  constexpr UINT kTriangles = 40000;
  std::mt19937 random(15);
  std::uniform_real_distribution<float> place(-1.0f, 1.0f), size(-0.08f, 0.08f);
  std::vector<ColourVertex> corners;
  for (UINT t = 0; t < kTriangles; ++t) {
    float x = place(random), y = place(random);
    D3DCOLOR colour = 0x40000000u | (static_cast<D3DCOLOR>(random()) & 0xFFFFFFu);
    corners.push_back({x, y, 0.5f, colour});
    corners.push_back({x + size(random), y + size(random), 0.5f, colour});
    corners.push_back({x + size(random), y + size(random), 0.5f, colour});
  }
  auto prepare = [&] {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    device->SetVertexShader(kColourFvf);
  };
  prepare();
  ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, kTriangles, corners.data(), sizeof(ColourVertex)), D3D_OK);
  std::vector<uint32_t> atOnce = Pixels();

  UINT bytes = static_cast<UINT>(corners.size() * sizeof(ColourVertex));
  Com<IDirect3DVertexBuffer8> vertices;
  Com<IDirect3DIndexBuffer8> indices;
  ASSERT_EQ(device->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, kColourFvf, D3DPOOL_MANAGED, vertices.put()), D3D_OK);
  ASSERT_EQ(device->CreateIndexBuffer(kTriangles * 3 * 4, D3DUSAGE_WRITEONLY, D3DFMT_INDEX32, D3DPOOL_MANAGED,
                                      indices.put()),
            D3D_OK);
  uint8_t* target = nullptr;
  vertices->Lock(0, bytes, &target, 0);
  std::memcpy(target, corners.data(), bytes);
  vertices->Unlock();
  indices->Lock(0, kTriangles * 3 * 4, &target, 0);
  for (uint32_t i = 0; i < kTriangles * 3; ++i) std::memcpy(target + i * 4, &i, 4);
  indices->Unlock();
  prepare();
  device->SetStreamSource(0, vertices, sizeof(ColourVertex));
  device->SetIndices(indices, 0);
  GlDevice* gl = dynamic_cast<GlDevice*>(device.get());
  uint64_t before = gl->GlDrawCount();
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, kTriangles * 3, 0, kTriangles), D3D_OK);
  EXPECT_GT(gl->GlDrawCount() - before, 1u);
  std::vector<uint32_t> inPieces = Pixels();
  device->SetStreamSource(0, nullptr, 0);
  device->SetIndices(nullptr, 0);

  int drawn = 0;
  for (uint32_t pixel : atOnce) drawn += pixel != 0xff000000u;
  EXPECT_GT(drawn, static_cast<int>(kSize * kSize / 2));
  EXPECT_EQ(inPieces, atOnce);
}

}  // namespace
