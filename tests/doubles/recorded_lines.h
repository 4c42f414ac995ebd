// The coloured lines a RecordingDevice was asked to draw, one per
// DrawPrimitiveUP call of a single line with position and diffuse colour.
#pragma once
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "recording_device.h"

struct RecordedLine {
  D3DXVECTOR3 start, end;
  D3DCOLOR startColour, endColour;
  float Length() const;
};

// Draw calls that are anything but one such line are left out: compare the
// result's size with Count("DrawPrimitiveUP") to catch them.
std::vector<RecordedLine> RecordedLines(const CallRecord& device);
