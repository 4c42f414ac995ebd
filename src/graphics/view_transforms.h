// The view volume: the world, view and projection transforms the device starts
// with. The camera rewrites the view; BeginFrame sends it each frame.
#pragma once
#include "gfxutil/d3dx_math.h"

extern D3DXMATRIX worldMatrix;       // identity, sent once as D3DTS_WORLD
extern D3DXMATRIX viewMatrix;        // rewritten by UpdateCamera; BeginFrame sends it each frame
extern D3DXMATRIX projectionMatrix;  // vertical fov pi/4, back-buffer aspect, planes 0.1 and 2000

// Called once by InitDirect3D right after the device exists.
void InitViewTransforms();
