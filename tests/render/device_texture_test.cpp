#include <cstring>

#include "device_fixture.h"
#include "platform/d3d/texture_budget.h"

namespace {

class DeviceTextureTest : public DeviceRenderTest {
 protected:
  // A texture of the given format filled from `bytes`, row by row at the locked pitch.
  Com<IDirect3DTexture8> MakeTexture(UINT width, UINT height, D3DFORMAT format, const void* bytes, UINT rowBytes,
                                     UINT rows) {
    Com<IDirect3DTexture8> texture;
    EXPECT_EQ(device->CreateTexture(width, height, 1, 0, format, D3DPOOL_MANAGED, texture.put()), D3D_OK);
    if (!texture) return {};
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT row = 0; row < rows; ++row)
      std::memcpy(static_cast<uint8_t*>(locked.pBits) + row * locked.Pitch,
                  static_cast<const uint8_t*>(bytes) + row * rowBytes, rowBytes);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
  }

  void UseFilter(DWORD filter) {
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, filter);
  }

  void DrawTextured(IDirect3DTexture8* texture, D3DCOLOR colour = 0xffffffff) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    device->SetTexture(0, texture);
    DrawScreenQuad(colour);
    device->SetTexture(0, nullptr);
  }
};

// Black and white texels in a checker: black at the top left.
const uint32_t kChecker[4] = {0xff000000, 0xffffffff, 0xffffffff, 0xff000000};

TEST_F(DeviceTextureTest, PointFilteringKeepsTexelsWhole) {
  Com<IDirect3DTexture8> texture = MakeTexture(2, 2, D3DFMT_A8R8G8B8, kChecker, 8, 2);
  ASSERT_NE(texture.get(), nullptr);
  UseFilter(D3DTEXF_POINT);
  DrawTextured(texture);
  std::vector<uint32_t> pixels = Pixels();
  for (uint32_t pixel : pixels) ASSERT_TRUE(pixel == 0xff000000u || pixel == 0xffffffffu) << std::hex << pixel;
  EXPECT_EQ(pixels[16 * kSize + 31], 0xff000000u);  // the last pixel of the first texel
  EXPECT_EQ(pixels[16 * kSize + 32], 0xffffffffu);  // the first pixel of the second
  EXPECT_EQ(pixels[48 * kSize + 16], 0xffffffffu);
}

TEST_F(DeviceTextureTest, LinearFilteringBlendsNeighbouringTexels) {
  Com<IDirect3DTexture8> texture = MakeTexture(2, 2, D3DFMT_A8R8G8B8, kChecker, 8, 2);
  ASSERT_NE(texture.get(), nullptr);
  UseFilter(D3DTEXF_LINEAR);
  DrawTextured(texture);
  std::vector<uint32_t> pixels = Pixels();
  // At a texel centre the texel itself; on the border between two texels half of each.
  EXPECT_TRUE(ColourNear(pixels[16 * kSize + 16], 0xff000000, 10));
  EXPECT_TRUE(ColourNear(pixels[16 * kSize + 31], 0xff7f7f7f, 12));
  EXPECT_TRUE(ColourNear(pixels[16 * kSize + 32], 0xff7f7f7f, 12));
  EXPECT_LT(Channel(pixels[16 * kSize + 24], 0), Channel(pixels[16 * kSize + 30], 0));
}

TEST_F(DeviceTextureTest, TextureModulatesTheDiffuseColourAndAlpha) {
  const uint32_t texel = 0x80ffffff;
  Com<IDirect3DTexture8> texture = MakeTexture(1, 1, D3DFMT_A8R8G8B8, &texel, 4, 1);
  ASSERT_NE(texture.get(), nullptr);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  DrawTextured(texture, 0xff00ff00);  // green x white texel, alpha 0.5 over black
  EXPECT_TRUE(ColourNear(Pixel(32, 32), 0xff008000));
}

TEST_F(DeviceTextureTest, Dxt1BlocksDrawTheirColours) {
  // One 4x4 block: colour 0 pure red, colour 1 pure blue (565), four-colour mode
  // since colour 0 > colour 1; the top two rows use colour 0, the bottom two colour 1.
  const uint8_t block[8] = {0x00, 0xF8, 0x1F, 0x00, 0x00, 0x00, 0x55, 0x55};
  Com<IDirect3DTexture8> texture = MakeTexture(4, 4, D3DFMT_DXT1, block, 8, 1);
  ASSERT_NE(texture.get(), nullptr);
  UseFilter(D3DTEXF_POINT);
  DrawTextured(texture);
  EXPECT_TRUE(ColourNear(Pixel(20, 5), 0xffff0000));
  EXPECT_TRUE(ColourNear(Pixel(40, 30), 0xffff0000));
  EXPECT_TRUE(ColourNear(Pixel(20, 34), 0xff0000ff));
  EXPECT_TRUE(ColourNear(Pixel(40, 60), 0xff0000ff));
}

TEST_F(DeviceTextureTest, TexturesBeyondTheBudgetAreRefusedUntilOthersGo) {
  Com<IDirect3DTexture8> texture;
  {
    TextureBudgetShare rest;
    ASSERT_TRUE(rest.Take(TextureBudgetLeft() - 63));  // a byte short of a 4x4 texture
    EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.put()), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(texture.get(), nullptr);
  }
  ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.put()), D3D_OK);
}

TEST_F(DeviceTextureTest, LockedRectanglesAndSizesOutOfRangeAreRefused) {
  Com<IDirect3DTexture8> texture;
  EXPECT_EQ(device->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.put()), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->CreateTexture(1u << 20, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.put()), D3DERR_INVALIDCALL);
  EXPECT_EQ(texture.get(), nullptr);
  ASSERT_EQ(device->CreateTexture(8, 8, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, texture.put()), D3D_OK);
  EXPECT_EQ(texture->GetLevelCount(), 4u);
  D3DLOCKED_RECT locked{};
  RECT outside{4, 4, 9, 8};
  EXPECT_EQ(texture->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(texture->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL);
  RECT inside{2, 1, 4, 3};
  ASSERT_EQ(texture->LockRect(0, &locked, &inside, 0), D3D_OK);
  EXPECT_EQ(locked.Pitch, 32);
  EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
  EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
  EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTextureTest, BoundTextureOutlivesItsLastOutsideReference) {
  const uint32_t white = 0xffffffff;
  Com<IDirect3DTexture8> texture = MakeTexture(1, 1, D3DFMT_A8R8G8B8, &white, 4, 1);
  ASSERT_NE(texture.get(), nullptr);
  device->SetTexture(0, texture);
  IDirect3DTexture8* made = texture.get();
  texture.reset();  // the device still holds it
  Com<IDirect3DTexture8> bound;
  ASSERT_EQ(device->GetTexture(0, bound.put()), D3D_OK);
  EXPECT_EQ(bound.get(), made);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
  DrawScreenQuad(0xff0000ff);
  EXPECT_EQ(Pixel(32, 32), 0xff0000ffu);
}

}  // namespace
