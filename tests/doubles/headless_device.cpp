#include "headless_device.h"

#include <cstdlib>

void UseHeadlessDisplay() {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
}

HWND CreateHiddenWindow(const char* title, int width, int height) {
  UseHeadlessDisplay();
  return Os().CreateWindowExA(title, width, height, [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Os().DefWindowProcA(window, message, wParam, lParam);
  });
}

D3DPRESENT_PARAMETERS WindowedPresentation(HWND window, UINT width, UINT height, D3DFORMAT depthFormat) {
  D3DPRESENT_PARAMETERS p{};
  p.BackBufferWidth = width;
  p.BackBufferHeight = height;
  p.BackBufferFormat = D3DFMT_X8R8G8B8;
  p.BackBufferCount = 1;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.hDeviceWindow = window;
  p.Windowed = 1;
  p.EnableAutoDepthStencil = 1;
  p.AutoDepthStencilFormat = depthFormat;
  return p;
}

bool HeadlessDevice::Create(UINT width, UINT height) {
  window = CreateHiddenWindow("headless device", static_cast<int>(width), static_cast<int>(height));
  if (!window) return false;
  direct3d = Com<IDirect3D8>(Direct3DCreate8(220));
  if (!direct3d) return false;
  D3DPRESENT_PARAMETERS p = WindowedPresentation(window, width, height, D3DFMT_D24S8);
  return direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, device.put()) ==
         D3D_OK;
}

void HeadlessDevice::Release() {
  device.reset();
  direct3d.reset();
  if (window) Os().DestroyWindow(window);
  window = nullptr;
}
