#include "base/window_globals.h"
#include "graphics/device_setup.h"
#include "graphics/view_transforms.h"

int BeginFrame(D3DCOLOR clearColour) {
  if (!d3dDevice) return 0;
  HRESULT level = d3dDevice->TestCooperativeLevel();
  if (level == D3DERR_DEVICELOST) {
    LogPrintf("3Dデバイスがロストしています.\n");
    return 0;
  }
  if (level == D3DERR_DEVICENOTRESET) {
    LogPrintf("3Dデバイスのリセットが必要です.\n");
    SendCloseMessage();
    return 0;
  }
  if (FAILED(d3dDevice->BeginScene())) return 0;
  // A clear colour of 0 keeps the picture: only depth (and stencil) is cleared.
  DWORD flags = deviceSetup.depthClearFlags | (clearColour != 0 ? D3DCLEAR_TARGET : 0);
  d3dDevice->Clear(0, nullptr, flags, clearColour, 1.0f, 0);
  d3dDevice->SetTransform(D3DTS_VIEW, &viewMatrix);
  return 1;
}

namespace {
bool framesPresented = true;
}  // namespace

HRESULT EndFrame() {
  if (!d3dDevice) return D3DERR_INVALIDCALL;
  d3dDevice->EndScene();
  if (!framesPresented) return D3D_OK;
  return d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void PresentFrames(bool present) { framesPresented = present; }

HRESULT PresentLastFrame() {
  if (!d3dDevice) return D3DERR_INVALIDCALL;
  return d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}
