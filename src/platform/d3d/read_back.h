// The back buffer of the OpenGL device as pixels, for tests and screenshots.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/d3d/d3d8.h"

// Rows top to bottom, 0xAARRGGBB (alpha 0xFF for back buffers without alpha).
// False when the device is not an OpenGL device.
bool ReadBackBuffer(IDirect3DDevice8* device, std::vector<uint32_t>& argb, UINT* width = nullptr,
                    UINT* height = nullptr);
