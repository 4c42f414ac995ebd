// The real OpenGL device on a hidden window of the real operating-system layer,
// for render tests and benchmarks. Without a display it runs headless on Mesa's
// software rasteriser, unless the environment has chosen otherwise.
#pragma once
#include "platform/d3d/com.h"
#include "platform/d3d/d3d8.h"
#include "platform/os/os.h"

// SDL's offscreen driver and software OpenGL, each only when not set already.
void UseHeadlessDisplay();

// A hidden window of the real layer with a client area of width x height.
HWND CreateHiddenWindow(const char* title, int width, int height);

// A windowed back buffer of the size with a depth buffer of the format.
D3DPRESENT_PARAMETERS WindowedPresentation(HWND window, UINT width, UINT height, D3DFORMAT depthFormat);

// The window, the Direct3D object and a HAL device with software vertex
// processing; all released when it goes.
struct HeadlessDevice {
  HeadlessDevice() = default;
  ~HeadlessDevice() { Release(); }
  HeadlessDevice(const HeadlessDevice&) = delete;
  HeadlessDevice& operator=(const HeadlessDevice&) = delete;

  // False when the window, the Direct3D object or the device cannot be made.
  bool Create(UINT width, UINT height);
  void Release();

  HWND window = nullptr;
  Com<IDirect3D8> direct3d;
  Com<IDirect3DDevice8> device;
};
