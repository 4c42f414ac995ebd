// The view volume: the world, view and projection transforms the device starts
// with. The camera rewrites the view; BeginFrame sends it each frame.
#pragma once
#include "graphics/graphics_state.h"

// Called once by InitDirect3D right after the device exists.
void InitViewTransforms();
