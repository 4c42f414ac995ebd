#include "platform/d3d/memory_device.h"

#include <gtest/gtest.h>

#include "platform/d3d/texture_budget.h"

namespace {

class MemoryDeviceTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(device, nullptr); }
  void TearDown() override { device->Release(); }
  IDirect3DDevice8* device = CreateMemoryDevice();
};

TEST_F(MemoryDeviceTest, SaysWhatItIs) {
  D3DCAPS8 caps{};
  ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
  EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_NULLREF);
  EXPECT_EQ(caps.MaxTextureWidth, kMaxTextureSize);
  EXPECT_EQ(caps.MaxTextureHeight, kMaxTextureSize);
  EXPECT_EQ(device->GetDeviceCaps(nullptr), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

struct TextureCase {
  UINT width, height, levels;
  D3DFORMAT format;
  HRESULT result;
  UINT pitch;
};

TEST_F(MemoryDeviceTest, TexturesHoldTheirPixelsInMemory) {
  const TextureCase cases[] = {
      {4, 2, 1, D3DFMT_A8R8G8B8, D3D_OK, 16},
      {8, 8, 0, D3DFMT_DXT1, D3D_OK, 16},  // two blocks a row, 8 bytes each
      {0, 4, 1, D3DFMT_A8R8G8B8, D3DERR_INVALIDCALL, 0},
      {kMaxTextureSize + 1, 4, 1, D3DFMT_A8R8G8B8, D3DERR_INVALIDCALL, 0},
      {4, 4, 1, D3DFMT_UNKNOWN, D3DERR_INVALIDCALL, 0},
  };
  for (const TextureCase& c : cases) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(c.width, c.height, c.levels, 0, c.format, D3DPOOL_MANAGED, &texture), c.result)
        << c.width << "x" << c.height;
    if (FAILED(c.result)) {
      EXPECT_EQ(texture, nullptr);
      continue;
    }
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, static_cast<int>(c.pitch));
    static_cast<uint8_t*>(locked.pBits)[0] = 0x5A;
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(static_cast<MemoryTexture*>(texture)->bits[0], 0x5A);
    EXPECT_GE(texture->GetLevelCount(), 1u);
    texture->Release();
  }
}

TEST_F(MemoryDeviceTest, TexturesTakeTheirShareOfTheBudgetWhileTheyLive) {
  const size_t fourMiB = 4u << 20;  // a 1024 x 1024 texture's top level
  TextureBudgetShare rest;
  ASSERT_TRUE(rest.Take(TextureBudgetLeft() - fourMiB - 1));
  EXPECT_EQ(device->GetAvailableTextureMem(), fourMiB + 1);
  IDirect3DTexture8* first = nullptr;
  IDirect3DTexture8* second = nullptr;
  ASSERT_EQ(device->CreateTexture(1024, 1024, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &first), D3D_OK);
  EXPECT_EQ(TextureBudgetLeft(), 1u);
  EXPECT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &second), D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(second, nullptr);
  first->Release();
  ASSERT_EQ(device->CreateTexture(1024, 1024, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &second), D3D_OK);
  second->Release();
  EXPECT_EQ(TextureBudgetLeft(), fourMiB + 1);
}

TEST(TextureBudget, ASharesBytesComeBackWhenItGoes) {
  const size_t before = TextureBudgetLeft();
  {
    TextureBudgetShare share;
    EXPECT_FALSE(share.Take(before + 1));
    EXPECT_EQ(TextureBudgetLeft(), before);
    ASSERT_TRUE(share.Take(before / 2));
    TextureBudgetShare moved(std::move(share));
    ASSERT_TRUE(moved.Take(before - before / 2));
    EXPECT_EQ(TextureBudgetLeft(), 0u);
  }
  EXPECT_EQ(TextureBudgetLeft(), before);
  EXPECT_EQ(before, kTextureBudgetBytes);
}

TEST_F(MemoryDeviceTest, BuffersLockWithinTheirLength) {
  IDirect3DVertexBuffer8* vertices = nullptr;
  IDirect3DIndexBuffer8* indices = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(64, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, &vertices), D3D_OK);
  ASSERT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices), D3D_OK);
  EXPECT_EQ(device->CreateIndexBuffer(12, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &indices), D3DERR_INVALIDCALL);
  uint8_t* data = nullptr;
  EXPECT_EQ(vertices->Lock(60, 8, &data, 0), D3DERR_INVALIDCALL);
  ASSERT_EQ(vertices->Lock(32, 32, &data, 0), D3D_OK);
  EXPECT_EQ(vertices->Unlock(), D3D_OK);
  // Nothing is drawn, but a draw needs its buffers as on every device.
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->SetStreamSource(0, vertices, 12), D3D_OK);
  EXPECT_EQ(device->SetIndices(indices, 0), D3D_OK);
  EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
  // The device holds what is bound; releasing ours leaves its reference.
  EXPECT_EQ(vertices->Release(), 1u);
  EXPECT_EQ(indices->Release(), 1u);
}

TEST_F(MemoryDeviceTest, StatesAreKeptAsOnEveryDevice) {
  DWORD value = 0;
  ASSERT_EQ(device->SetRenderState(D3DRS_LIGHTING, FALSE), D3D_OK);
  ASSERT_EQ(device->GetRenderState(D3DRS_LIGHTING, &value), D3D_OK);
  EXPECT_EQ(value, static_cast<DWORD>(FALSE));
  D3DMATRIX world{};
  world.m[3][0] = 7.0f;
  ASSERT_EQ(device->SetTransform(D3DTS_WORLD, &world), D3D_OK);
  D3DMATRIX back{};
  ASSERT_EQ(device->GetTransform(D3DTS_WORLD, &back), D3D_OK);
  EXPECT_EQ(back.m[3][0], 7.0f);
  EXPECT_EQ(device->BeginScene(), D3D_OK);
  EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

}  // namespace
