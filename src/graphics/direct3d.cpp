#include "graphics/direct3d.h"

#include "base/error_box.h"
#include "base/window_globals.h"
#include "graphics/device_setup.h"
#include "graphics/overlay_text.h"
#include "graphics/view_transforms.h"
#include "platform/d3d/memory_device.h"

IDirect3D8* direct3d = nullptr;
IDirect3DDevice8* d3dDevice = nullptr;
int isWindowed = 0;  // set by the display-mode choice; 0 until the device exists
int configuredWindowMode = 1;
int requestedWidth = 0, requestedHeight = 0;

DeviceSetup deviceSetup;

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
  p.BackBufferWidth = static_cast<UINT>(requestedWidth);
  p.BackBufferHeight = static_cast<UINT>(requestedHeight);
  p.BackBufferFormat = displayFormat;
  p.BackBufferCount = 1;
  p.MultiSampleType = D3DMULTISAMPLE_NONE;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.hDeviceWindow = mainWindow;
  p.Windowed = isWindowed;
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
  direct3d = Direct3DCreate8(220);
  if (!direct3d) {
    ShowErrorBox("Direct3Dの初期化に失敗しました.");
    return 0;
  }
  requestedWidth = width;
  requestedHeight = height;
  DeviceSetup& setup = deviceSetup;
  setup = DeviceSetup{};
  setup.adapter = ChooseAdapter(direct3d, request.secondAdapter);
  setup.displayFormat = ChooseDisplayMode(direct3d, setup.adapter, width, height, request.windowMode);
  DepthFormatChoice depth = ChooseDepthFormat(direct3d, setup.adapter, setup.displayFormat);
  setup.depthFormat = depth.format;
  setup.hasStencil = depth.hasStencil;
  setup.presentation = PresentationFor(setup.displayFormat, depth.format);
  LogPrintf("(%s)\n", FormatName(depth.format));

  if (isWindowed == 1) {
    Os().ShowWindow(mainWindow, true);
    Os().UpdateWindow(mainWindow);
  }
  d3dDevice = CreateDeviceWithFallback(direct3d, setup.adapter, mainWindow, &setup.presentation);
  if (!d3dDevice) {
    ShowErrorBox("3Dデバイスが作成できません.");
    return 0;
  }
  setup.capabilities = LogCapabilities(d3dDevice);
  InitViewTransforms();
  setup.depthClearFlags = setup.hasStencil ? D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL : D3DCLEAR_ZBUFFER;
  SetDefaultStates(d3dDevice, setup.depthClearFlags);
  SetDirectionalLight(D3DXVECTOR3(1.0f, -1.0f, 1.0f), D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 0.0f});
  constexpr int kOverlayFontHeight = 14, kOverlayFontWeight = 400;
  CreateOverlayFont(kOverlayFontHeight, kOverlayFontWeight);  // without it the overlay is simply not drawn
  return 1;
}

int InitMemoryDevice() {
  LogPrintf("InitMemoryDevice\n");
  // A device made before (a check after another) goes first, not lost.
  ReleaseAndClear(d3dDevice);
  d3dDevice = CreateMemoryDevice();
  return d3dDevice ? 1 : 0;
}

void FreeDirect3D() {
  LogPrintf("FreeDirect3D\n");
  ReleaseOverlayFont();
  ReleaseAndClear(d3dDevice);
  ReleaseAndClear(direct3d);
}

D3DLIGHT8 directionalLight{};

void SetDirectionalLight(const D3DXVECTOR3& direction, const D3DCOLORVALUE& colour) {
  directionalLight = {};
  directionalLight.Type = D3DLIGHT_DIRECTIONAL;
  directionalLight.Diffuse = colour;
  directionalLight.Range = 1000.0f;
  D3DXVECTOR3 normalised;
  D3DXVec3Normalize(&normalised, &direction);
  directionalLight.Direction = normalised;
  if (!d3dDevice) return;
  d3dDevice->SetLight(0, &directionalLight);
  d3dDevice->LightEnable(0, TRUE);
}
