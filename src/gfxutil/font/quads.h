// Pre-transformed, textured, coloured quads for placed glyphs, clipped to a
// rectangle, gathered per atlas page.
#pragma once
#include <vector>

#include "gfxutil/font/atlas.h"
#include "gfxutil/font/layout.h"

struct TextVertex {
  float x, y, z, rhw;  // screen pixels
  D3DCOLOR colour;
  float u, v;
};
constexpr DWORD kTextVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Triangle-list vertices, six per quad, indexed by atlas page.
using PageQuads = std::vector<std::vector<TextVertex>>;

// The glyph's image, and its underline when the layout asks for one.
void AppendGlyphQuads(const PlacedGlyph& placed, const AtlasGlyph& glyph, D3DCOLOR colour, const RECT& clip,
                      PageQuads& out);
