// The steps of the device set-up and the record they fill, shared by the
// files of this directory and read by their tests.
#pragma once
#include "base/debug_log.h"
#include "graphics/direct3d.h"

struct DepthFormatChoice {
  D3DFORMAT format;
  bool hasStencil;
};

// Step A: the adapter (the second one when asked and there are two), logged with its name.
UINT ChooseAdapter(IDirect3D8* d3d, bool secondAdapter);
// Step B: the display format and the window mode for the requested size; sets
// isWindowed (and configuredWindowMode when a mode is asked for).
D3DFORMAT ChooseDisplayMode(IDirect3D8* d3d, UINT adapter, int width, int height,
                            WindowModeRequest windowMode = WindowModeRequest::kConfigured);
// The first depth format that the HAL device takes with the display format.
DepthFormatChoice ChooseDepthFormat(IDirect3D8* d3d, UINT adapter, D3DFORMAT displayFormat);
// Step C: hardware vertex processing, then software, then the reference device.
IDirect3DDevice8* CreateDeviceWithFallback(IDirect3D8* d3d, UINT adapter, HWND window,
                                           D3DPRESENT_PARAMETERS* presentation);
// Step D.
DeviceCapabilities LogCapabilities(IDirect3DDevice8* device);
// Step E: default render and texture-stage states, then one clear of every buffer.
void SetDefaultStates(IDirect3DDevice8* device, DWORD depthClearFlags);
