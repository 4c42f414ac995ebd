#include "graphics/direct3d.h"

#include "base/error_box.h"
#include "base/program_state.h"
#include "graphics/device_setup.h"
#include "graphics/overlay_text.h"
#include "graphics/view_transforms.h"
#include "platform/d3d/memory_device.h"

GraphicsState& Graphics() {
  static GraphicsState state;
  return state;
}

namespace {

// The device and the Direct3D object are program state that the tests set to
// devices of their own; each is released here, once.
template <typename T>
void ReleaseAndClear(T*& object) {
  if (!object) return;
  object->Release();
  object = nullptr;
}

D3DPRESENT_PARAMETERS PresentationFor(D3DFORMAT displayFormat, D3DFORMAT depthFormat) {
  D3DPRESENT_PARAMETERS p{};
  p.BackBufferWidth = static_cast<UINT>(Graphics().requestedWidth);
  p.BackBufferHeight = static_cast<UINT>(Graphics().requestedHeight);
  p.BackBufferFormat = displayFormat;
  p.BackBufferCount = 1;
  p.MultiSampleType = D3DMULTISAMPLE_NONE;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.hDeviceWindow = Program().mainWindow;
  p.Windowed = Graphics().isWindowed;
  p.EnableAutoDepthStencil = 1;
  p.AutoDepthStencilFormat = depthFormat;
  p.Flags = 0;
  p.FullScreen_RefreshRateInHz = 0;
  p.FullScreen_PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
  return p;
}

}  // namespace

int InitDirect3D(int width, int height, const DisplayRequest& request) {
  LogPrintf("InitDirect3D\n");
  GraphicsState& graphics = Graphics();
  graphics.direct3d = Direct3DCreate8(220);
  if (!graphics.direct3d) {
    ShowErrorBox("Direct3Dの初期化に失敗しました.");
    return 0;
  }
  graphics.requestedWidth = width;
  graphics.requestedHeight = height;
  DeviceSetup& setup = graphics.deviceSetup;
  setup = DeviceSetup{};
  setup.adapter = ChooseAdapter(graphics.direct3d, request.secondAdapter);
  setup.displayFormat = ChooseDisplayMode(graphics.direct3d, setup.adapter, width, height, request.windowMode);
  DepthFormatChoice depth = ChooseDepthFormat(graphics.direct3d, setup.adapter, setup.displayFormat);
  setup.depthFormat = depth.format;
  setup.hasStencil = depth.hasStencil;
  setup.presentation = PresentationFor(setup.displayFormat, depth.format);
  LogPrintf("(%s)\n", FormatName(depth.format));

  if (graphics.isWindowed) {
    Os().ShowWindow(Program().mainWindow, true);
    Os().UpdateWindow(Program().mainWindow);
  }
  graphics.d3dDevice =
      CreateDeviceWithFallback(graphics.direct3d, setup.adapter, Program().mainWindow, &setup.presentation);
  if (!graphics.d3dDevice) {
    ShowErrorBox("3Dデバイスが作成できません.");
    return 0;
  }
  setup.capabilities = LogCapabilities(graphics.d3dDevice);
  InitViewTransforms();
  setup.depthClearFlags = setup.hasStencil ? D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL : D3DCLEAR_ZBUFFER;
  SetDefaultStates(graphics.d3dDevice, setup.depthClearFlags);
  SetDirectionalLight(D3DXVECTOR3(1.0f, -1.0f, 1.0f), D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 0.0f});
  constexpr int kOverlayFontHeight = 14, kOverlayFontWeight = 400;
  CreateOverlayFont(kOverlayFontHeight, kOverlayFontWeight);  // without it the overlay is simply not drawn
  return 1;
}

int InitMemoryDevice() {
  LogPrintf("InitMemoryDevice\n");
  // A device made before (a check after another) goes first, not lost.
  ReleaseAndClear(Graphics().d3dDevice);
  Graphics().d3dDevice = CreateMemoryDevice();
  return Graphics().d3dDevice ? 1 : 0;
}

void FreeDirect3D() {
  LogPrintf("FreeDirect3D\n");
  ReleaseOverlayFont();
  ReleaseAndClear(Graphics().d3dDevice);
  ReleaseAndClear(Graphics().direct3d);
}

void SetDirectionalLight(const D3DXVECTOR3& direction, const D3DCOLORVALUE& colour) {
  GraphicsState& graphics = Graphics();
  D3DLIGHT8& light = graphics.directionalLight;
  light = {};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = colour;
  light.Range = 1000.0f;
  D3DXVECTOR3 normalised;
  D3DXVec3Normalize(&normalised, &direction);
  light.Direction = normalised;
  if (!graphics.d3dDevice) return;
  graphics.d3dDevice->SetLight(0, &light);
  graphics.d3dDevice->LightEnable(0, TRUE);
}
