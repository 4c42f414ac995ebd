// The real OpenGL device on a hidden window of the real operating-system layer,
// with a small back buffer that tests draw into and read back.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "headless_device.h"
#include "platform/d3d/read_back.h"

struct ColourVertex {
  float x, y, z;
  D3DCOLOR diffuse;
};

struct LitVertex {
  float x, y, z;
  float nx, ny, nz;
};

struct ScreenVertex {
  float x, y, z, rhw;
  D3DCOLOR diffuse;
  float u, v;
};

constexpr DWORD kColourFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr DWORD kLitFvf = D3DFVF_XYZ | D3DFVF_NORMAL;
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

class DeviceRenderTest : public ::testing::Test, protected HeadlessDevice {
 protected:
  static constexpr UINT kSize = 64;

  void SetUp() override {
    ASSERT_TRUE(Create(kSize, kSize));
    device->SetRenderState(D3DRS_LIGHTING, 0);
  }

  void TearDown() override { Release(); }

  std::vector<uint32_t> Pixels() {
    std::vector<uint32_t> argb;
    UINT width = 0, height = 0;
    EXPECT_TRUE(ReadBackBuffer(device, argb, &width, &height));
    EXPECT_EQ(width, kSize);
    EXPECT_EQ(height, kSize);
    return argb;
  }
  uint32_t Pixel(int x, int y) { return Pixels().at(static_cast<size_t>(y) * kSize + x); }

  // A triangle covering the centre of the target, clockwise on screen, at depth z.
  void DrawColourTriangle(D3DCOLOR colour, float z = 0.5f) {
    ColourVertex v[3] = {{-0.8f, -0.8f, z, colour}, {0.0f, 0.8f, z, colour}, {0.8f, -0.8f, z, colour}};
    device->SetVertexShader(kColourFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, sizeof(ColourVertex)), D3D_OK);
  }

  // The whole target as a textured quad of screen pixels (pixel centres on whole numbers).
  void DrawScreenQuad(D3DCOLOR colour = 0xffffffff) {
    const float lo = -0.5f, hi = kSize - 0.5f;
    ScreenVertex v[6] = {{lo, lo, 0.5f, 1, colour, 0, 0}, {hi, lo, 0.5f, 1, colour, 1, 0},
                         {lo, hi, 0.5f, 1, colour, 0, 1}, {hi, lo, 0.5f, 1, colour, 1, 0},
                         {hi, hi, 0.5f, 1, colour, 1, 1}, {lo, hi, 0.5f, 1, colour, 0, 1}};
    device->SetVertexShader(kScreenFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, v, sizeof(ScreenVertex)), D3D_OK);
  }
};

inline int Channel(uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

// Each of red, green and blue within `tolerance` of the expected value.
inline ::testing::AssertionResult ColourNear(uint32_t actual, uint32_t expected, int tolerance = 2) {
  for (int shift : {16, 8, 0}) {
    if (std::abs(Channel(actual, shift) - Channel(expected, shift)) <= tolerance) continue;
    char text[64];
    std::snprintf(text, sizeof text, "colour %08x, expected %08x", actual, expected);
    return ::testing::AssertionFailure() << text;
  }
  return ::testing::AssertionSuccess();
}
