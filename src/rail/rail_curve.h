// The rail curve through a control polygon: it starts at the first point,
// ends at the last, passes through the midpoints of the inner chords and rounds
// each inner point. Each piece is halved recursively into chords of at most
// 0.5 units, drawn with DrawLine3D; where the polygon bends, the pass points
// are lifted slightly upward in proportion to the bend.
#pragma once
#include "gfxutil/d3dx_math.h"

constexpr float kMaxChordLength = 0.5f;
// Halving stops here even if the chords are still long: 2^16 chords of 0.5
// cover 32768 units, far beyond the 2000-unit view depth; degenerate input
// (overflowing coordinates) cannot recurse without end.
constexpr int kMaxSubdivisionDepth = 16;

// Draws the curve through points[0 .. count-1] in one colour; nothing when count < 2.
void TraceCurve(const D3DXVECTOR3* points, int count, D3DCOLOR colour);

// Draws one curve piece from start to end with unit tangents at both ends, in
// chords drawn in order from start to end. A piece with a non-finite end is skipped.
void SubdivideSegment(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const D3DXVECTOR3& startTangent,
                      const D3DXVECTOR3& endTangent, D3DCOLOR colour);
