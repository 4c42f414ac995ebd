// The one graphics device of the program: set-up, frames and the light.
#pragma once
#include "gfxutil/d3dx_math.h"
#include "graphics/graphics_state.h"
#include "platform/d3d/d3d8.h"

// What the command line asks of the device set-up.
enum class WindowModeRequest {
  kConfigured,  // the program-wide setting
  kWindowed,    // -win
  kFullScreen,  // -full
};
struct DisplayRequest {
  bool secondAdapter = false;  // -2nd: the second adapter when there are two
  WindowModeRequest windowMode = WindowModeRequest::kConfigured;
};

int InitDirect3D(int width, int height, const DisplayRequest& request = {});
// A device that holds textures and buffers in memory and draws nothing
// (D3DDEVTYPE_NULLREF), for loading without a display or a GPU. FreeDirect3D
// releases it.
int InitMemoryDevice();
void FreeDirect3D();
int BeginFrame(D3DCOLOR clearColour);
HRESULT EndFrame();
// Whether EndFrame presents the frame in the window (the default) or leaves it
// in the back buffer alone, for a picture read from there.
void PresentFrames(bool present);
// Shows the last presented picture again without drawing a frame: an
// uncovered window, which gets no frames while the program is inactive.
HRESULT PresentLastFrame();
const char* FormatName(D3DFORMAT format);
void SetDirectionalLight(const D3DXVECTOR3& direction, const D3DCOLORVALUE& colour);
