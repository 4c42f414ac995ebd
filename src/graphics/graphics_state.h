// The graphics layer's state: the Direct3D object and the device, what the
// device set-up chose, the light and the three transforms. Owned by
// graphics/ and reached through Graphics().
#pragma once
#include "gfxutil/d3dx_math.h"
#include "platform/d3d/d3d8.h"

struct DeviceCapabilities {
  int maxPrimitiveCount, maxActiveLights;
  int vertexFog, pixelFog, rangeFog;
  int availableTextureMemKB, maxTextureWidth, maxTextureHeight, maxSimultaneousTextures;
  int textureAlpha, mipmap, bumpEnvMap;
};

struct DeviceSetup {
  UINT adapter = D3DADAPTER_DEFAULT;
  D3DFORMAT displayFormat = D3DFMT_UNKNOWN;
  D3DFORMAT depthFormat = D3DFMT_UNKNOWN;
  bool hasStencil = false;
  DWORD depthClearFlags = D3DCLEAR_ZBUFFER;
  char deviceType[8] = "";  // "TnLHAL", "HAL" or "REF": the creation attempt in progress
  D3DPRESENT_PARAMETERS presentation{};
  DeviceCapabilities capabilities{};
};

struct GraphicsState {
  IDirect3D8* direct3d = nullptr;         // null until InitDirect3D
  IDirect3DDevice8* d3dDevice = nullptr;  // null until InitDirect3D or InitMemoryDevice
  bool isWindowed = false;                // presentation mode in use, set by the display-mode choice
  bool configuredWindowMode = true;       // program-wide setting: windowed
  int requestedWidth = 0, requestedHeight = 0;
  DeviceSetup deviceSetup;
  D3DLIGHT8 directionalLight{};  // last light set by SetDirectionalLight
  D3DXMATRIX worldMatrix;        // identity, sent once as D3DTS_WORLD
  D3DXMATRIX viewMatrix;         // rewritten by UpdateCamera; BeginFrame sends it each frame
  D3DXMATRIX projectionMatrix;   // vertical fov pi/4, back-buffer aspect, planes 0.1 and 2000
};

GraphicsState& Graphics();
