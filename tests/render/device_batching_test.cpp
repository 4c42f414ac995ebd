#include <cmath>

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
    GlDevice* gl = dynamic_cast<GlDevice*>(device);
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

}  // namespace
