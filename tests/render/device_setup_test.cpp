#include <string>

#include "base/program_state.h"
#include "device_fixture.h"
#include "graphics/device_setup.h"
#include "platform/d3d/gl_context.h"
#include "platform/d3d/gl_device.h"
#include "state_names.h"

namespace {

D3DPRESENT_PARAMETERS SmallWindowed(HWND window, D3DFORMAT depth) { return WindowedPresentation(window, 32, 32, depth); }

// The device types stand for real rasterisers: hardware vertex processing needs
// a hardware rasteriser, the reference device Mesa's software one.
TEST_F(DeviceRenderTest, DeviceTypesAskForTheirKindOfRasteriser) {
  std::string renderer = dynamic_cast<GlDevice*>(device.get())->Renderer();
  bool software = IsSoftwareRenderer(renderer);
  device.reset();
  D3DPRESENT_PARAMETERS p = SmallWindowed(window, D3DFMT_D24S8);
  Com<IDirect3DDevice8> other;
  HRESULT hardware =
      direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING, &p, other.put());
  EXPECT_EQ(SUCCEEDED(hardware), !software) << renderer;
  other.reset();
  HRESULT reference =
      direct3d->CreateDevice(0, D3DDEVTYPE_REF, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, other.put());
  if (software) {
    EXPECT_EQ(reference, D3D_OK) << renderer;
  }
}

TEST_F(DeviceRenderTest, DeviceWithoutAUsableDepthFormatIsRefused) {
  device.reset();
  for (D3DFORMAT depth : {D3DFMT_UNKNOWN, D3DFMT_D15S1, D3DFMT_D24X4S4}) {
    D3DPRESENT_PARAMETERS p = SmallWindowed(window, depth);
    Com<IDirect3DDevice8> other;
    EXPECT_EQ(direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, other.put()),
              D3DERR_NOTAVAILABLE)
        << depth;
    EXPECT_EQ(other.get(), nullptr);
    EXPECT_NE(direct3d->CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                          depth),
              D3D_OK);
  }
}

TEST_F(DeviceRenderTest, TheBackBufferIsBlackUntilDrawnAndPresentingAgainKeepsThePicture) {
  for (uint32_t pixel : Pixels()) ASSERT_EQ(pixel, 0xFF000000u);
  ASSERT_EQ(device->BeginScene(), D3D_OK);
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0), D3D_OK);
  DrawColourTriangle(0xFFFFCC00);
  ASSERT_EQ(device->EndScene(), D3D_OK);
  ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
  std::vector<uint32_t> drawn = Pixels();
  ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);  // as for an uncovered window
  EXPECT_EQ(Pixels(), drawn);
  EXPECT_TRUE(ColourNear(Pixel(kSize / 2, kSize / 2), 0xFFFFCC00));
}

TEST_F(DeviceRenderTest, CapabilitiesComeFromOpenGL) {
  D3DCAPS8 caps{};
  ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
  EXPECT_GE(caps.MaxTextureWidth, 1024u);
  EXPECT_EQ(caps.MaxTextureWidth, caps.MaxTextureHeight);
  EXPECT_GE(caps.MaxSimultaneousTextures, 1u);
  EXPECT_EQ(caps.RasterCaps & (D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGTABLE), 0u);  // no fog here
  EXPECT_EQ(caps.TextureOpCaps & D3DTEXOPCAPS_BUMPENVMAP, 0u);
  EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
}

TEST(DeviceSetupOnOpenGL, InitDirect3DCreatesADeviceThatDraws) {
  mainWindow = CreateHiddenWindow("setup test", 160, 120);
  ASSERT_NE(mainWindow, nullptr);
  ASSERT_EQ(InitDirect3D(160, 120), 1);
  EXPECT_EQ(deviceSetup.depthFormat, D3DFMT_D24S8);
  EXPECT_TRUE(std::string(deviceSetup.deviceType) == "TnLHAL" || std::string(deviceSetup.deviceType) == "HAL");
  ASSERT_EQ(BeginFrame(0xff204060), 1);
  EXPECT_EQ(EndFrame(), D3D_OK);
  std::vector<uint32_t> pixels;
  UINT width = 0, height = 0;
  ASSERT_TRUE(ReadBackBuffer(d3dDevice, pixels, &width, &height));
  EXPECT_EQ(width, 160u);
  EXPECT_EQ(height, 120u);
  EXPECT_EQ(pixels[60 * 160 + 80], 0xff204060u);
  FreeDirect3D();
  EXPECT_EQ(d3dDevice, nullptr);
  Os().DestroyWindow(mainWindow);
  mainWindow = nullptr;
}

}  // namespace
