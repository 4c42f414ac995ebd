// The station's preview rails: each platform segment is laid as a rail from
// its start to its end and drawn over the model, blinking, in red control lines
// and stalks and a magenta curve.
#pragma once
#include <array>
#include <cstdint>

#include "gfxutil/d3dx_math.h"

// Alpha of one pass: sin(blinkAngle) * 127 + 128 truncated, within 1 .. 255.
uint32_t BlinkAlpha(float blinkAngle);

// One pass over all platformCountRead entries (start x, y, z, end x, y, z in
// the station's own frame, placed by origin, forward and up). Segments shorter
// than 2.0 are not drawn. Sets the depth function to always while drawing and
// leaves it at less-or-equal.
void DrawStationRails(const std::array<float, 6>* platforms, int platformCountRead, float blinkAngle,
                      const D3DXVECTOR3& origin, const D3DXVECTOR3& forward, const D3DXVECTOR3& up);
