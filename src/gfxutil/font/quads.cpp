#include "gfxutil/font/quads.h"

#include <algorithm>

namespace {

// Texel (0, 0) covers the pixel whose centre is the integer screen position, so
// quads start half a pixel up and left of it to map texels onto pixels exactly.
constexpr float kPixelCentreOffset = -0.5f;
constexpr float kTexelSize = 1.0f / FontAtlas::kPageSize;

struct ScreenRect {
  int left, top, right, bottom;
};
struct TexelRect {
  float left, top, right, bottom;
};

void AppendQuad(ScreenRect screen, TexelRect texels, D3DCOLOR colour, const RECT& clip, std::vector<TextVertex>& out) {
  ScreenRect visible{std::max(screen.left, clip.left), std::max(screen.top, clip.top),
                     std::min(screen.right, clip.right), std::min(screen.bottom, clip.bottom)};
  if (visible.left >= visible.right || visible.top >= visible.bottom) return;
  // Texels follow the screen one to one, so clipping moves them by the same amount.
  float u0 = texels.left + (texels.right - texels.left) * (visible.left - screen.left) / (screen.right - screen.left);
  float u1 = texels.left + (texels.right - texels.left) * (visible.right - screen.left) / (screen.right - screen.left);
  float v0 = texels.top + (texels.bottom - texels.top) * (visible.top - screen.top) / (screen.bottom - screen.top);
  float v1 = texels.top + (texels.bottom - texels.top) * (visible.bottom - screen.top) / (screen.bottom - screen.top);
  float x0 = visible.left + kPixelCentreOffset, x1 = visible.right + kPixelCentreOffset;
  float y0 = visible.top + kPixelCentreOffset, y1 = visible.bottom + kPixelCentreOffset;
  TextVertex topLeft{x0, y0, 0, 1, colour, u0 * kTexelSize, v0 * kTexelSize};
  TextVertex topRight{x1, y0, 0, 1, colour, u1 * kTexelSize, v0 * kTexelSize};
  TextVertex bottomLeft{x0, y1, 0, 1, colour, u0 * kTexelSize, v1 * kTexelSize};
  TextVertex bottomRight{x1, y1, 0, 1, colour, u1 * kTexelSize, v1 * kTexelSize};
  out.insert(out.end(), {topLeft, topRight, bottomLeft, topRight, bottomRight, bottomLeft});
}

}  // namespace

void AppendGlyphQuads(const PlacedGlyph& placed, const AtlasGlyph& glyph, D3DCOLOR colour, const RECT& clip,
                      PageQuads& out) {
  if (out.size() <= size_t(glyph.page)) out.resize(glyph.page + 1);
  std::vector<TextVertex>& quads = out[glyph.page];
  if (glyph.width > 0 && glyph.height > 0) {
    int left = placed.x + glyph.left, top = placed.baseline - glyph.top;
    AppendQuad({left, top, left + glyph.width, top + glyph.height},
               {float(glyph.x), float(glyph.y), float(glyph.x + glyph.width), float(glyph.y + glyph.height)}, colour,
               clip, quads);
  }
  if (placed.underlined && placed.advance > 0) {
    // Any texel of the solid block will do; its centre keeps point sampling inside it.
    float solid = FontAtlas::kSolidTexel + FontAtlas::kSolidSize * 0.5f;
    AppendQuad({placed.x, placed.baseline + 1, placed.x + placed.advance, placed.baseline + 2},
               {solid, solid, solid, solid}, colour, clip, quads);
  }
}
