// The Direct3D 8 object on SDL and OpenGL: adapters are SDL displays, modes
// their display modes, devices OpenGL contexts on the device window.
#pragma once
#include "platform/d3d/d3d8.h"

// The factory Direct3DCreate8 uses unless a test installed another.
IDirect3D8* CreateGlDirect3D(UINT sdkVersion);
