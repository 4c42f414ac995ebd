#include "base/program_state.h"
#include "graphics/device_setup.h"
#include "graphics/view_transforms.h"

int BeginFrame(D3DCOLOR clearColour) {
  if (!Graphics().d3dDevice) return 0;
  HRESULT level = Graphics().d3dDevice->TestCooperativeLevel();
  if (level == D3DERR_DEVICELOST) {
    LogPrintf("3Dデバイスがロストしています.\n");
    return 0;
  }
  if (level == D3DERR_DEVICENOTRESET) {
    LogPrintf("3Dデバイスのリセットが必要です.\n");
    SendCloseMessage();
    return 0;
  }
  if (FAILED(Graphics().d3dDevice->BeginScene())) return 0;
  // A clear colour of 0 keeps the picture: only depth (and stencil) is cleared.
  DWORD flags = Graphics().deviceSetup.depthClearFlags | (clearColour != 0 ? D3DCLEAR_TARGET : 0);
  Graphics().d3dDevice->Clear(0, nullptr, flags, clearColour, 1.0f, 0);
  Graphics().d3dDevice->SetTransform(D3DTS_VIEW, &Graphics().viewMatrix);
  return 1;
}

namespace {
bool framesPresented = true;
}  // namespace

HRESULT EndFrame() {
  if (!Graphics().d3dDevice) return D3DERR_INVALIDCALL;
  Graphics().d3dDevice->EndScene();
  if (!framesPresented) return D3D_OK;
  return Graphics().d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}

void PresentFrames(bool present) { framesPresented = present; }

HRESULT PresentLastFrame() {
  if (!Graphics().d3dDevice) return D3DERR_INVALIDCALL;
  return Graphics().d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}
