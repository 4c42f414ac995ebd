#include "gfxutil/font/atlas.h"

#include <gtest/gtest.h>

#include "gfxutil/font/quads.h"

namespace {

GlyphBitmap Solid(int width, int height, uint8_t value = 200) {
  GlyphBitmap bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.left = 1;
  bitmap.top = height - 2;
  bitmap.advance = width + 1;
  bitmap.coverage.assign(size_t(width) * height, value);
  return bitmap;
}

bool Overlap(const AtlasGlyph& a, const AtlasGlyph& b) {
  return a.page == b.page && a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
         b.y < a.y + a.height;
}

TEST(FontAtlas, GlyphsGetTheirOwnTexelsAndKeepTheirMetrics) {
  FontAtlas atlas;
  std::vector<AtlasGlyph> placed;
  for (char32_t c = 0x4E00; c < 0x4E00 + 300; ++c) {
    const AtlasGlyph* glyph = atlas.Insert(c, Solid(14, 14, uint8_t(c)));
    ASSERT_NE(glyph, nullptr);
    placed.push_back(*glyph);
  }
  EXPECT_GT(atlas.PageCount(), 1);
  const AtlasGlyph solidBlock{0, FontAtlas::kSolidTexel, FontAtlas::kSolidTexel, FontAtlas::kSolidSize,
                              FontAtlas::kSolidSize};
  for (size_t i = 0; i < placed.size(); ++i) {
    const AtlasGlyph& glyph = placed[i];
    EXPECT_FALSE(Overlap(glyph, {glyph.page, solidBlock.x, solidBlock.y, solidBlock.width, solidBlock.height}));
    for (size_t j = i + 1; j < placed.size(); ++j) ASSERT_FALSE(Overlap(glyph, placed[j])) << i << " " << j;
    const uint8_t* page = atlas.PageCoverage(glyph.page);
    EXPECT_EQ(page[(glyph.y + 13) * FontAtlas::kPageSize + glyph.x + 13], uint8_t(0x4E00 + i));
    EXPECT_EQ(glyph.left, 1);
    EXPECT_EQ(glyph.top, 12);
    EXPECT_EQ(glyph.advance, 15);
  }
  EXPECT_EQ(atlas.Find(0x4E00 + 5)->x, placed[5].x);
  EXPECT_EQ(atlas.Find(U'a'), nullptr);
}

TEST(FontAtlas, BlanksAndOversizedGlyphsTakeNoRoom) {
  FontAtlas atlas;
  const AtlasGlyph* space = atlas.Insert(U' ', Solid(0, 0));
  ASSERT_NE(space, nullptr);
  EXPECT_EQ(space->width, 0);
  EXPECT_EQ(space->advance, 1);
  const AtlasGlyph* huge = atlas.Insert(U'W', Solid(FontAtlas::kPageSize, 10));
  ASSERT_NE(huge, nullptr);
  EXPECT_EQ(huge->width, 0);
  EXPECT_EQ(atlas.PageCount(), 0);
}

TEST(FontAtlas, FillsABoundedNumberOfPagesThenStartsAgainAfterReset) {
  FontAtlas atlas;
  char32_t c = 0x4E00;
  while (atlas.Insert(c, Solid(30, 30))) ++c;
  EXPECT_EQ(atlas.PageCount(), FontAtlas::kMaxPages);
  for (int page = 0; page < atlas.PageCount(); ++page) {
    EXPECT_TRUE(atlas.PageChanged(page));
    atlas.MarkPageUploaded(page);
    EXPECT_FALSE(atlas.PageChanged(page));
  }
  atlas.Reset();
  EXPECT_EQ(atlas.Find(0x4E00), nullptr);
  ASSERT_NE(atlas.Insert(c, Solid(30, 30)), nullptr);
  EXPECT_EQ(atlas.PageCount(), FontAtlas::kMaxPages);
  EXPECT_EQ(atlas.PageCoverage(1)[40 * FontAtlas::kPageSize + 40], 0);  // old glyphs are gone
  EXPECT_EQ(atlas.PageCoverage(1)[0], 255);                           // the solid block stays
}

struct Bounds {
  float left, top, right, bottom, uLeft, vTop, uRight, vBottom;
};
Bounds BoundsOf(const std::vector<TextVertex>& vertices) {
  Bounds b{1e9f, 1e9f, -1e9f, -1e9f, 1e9f, 1e9f, -1e9f, -1e9f};
  for (const TextVertex& v : vertices) {
    b = {std::min(b.left, v.x), std::min(b.top, v.y), std::max(b.right, v.x), std::max(b.bottom, v.y),
         std::min(b.uLeft, v.u), std::min(b.vTop, v.v), std::max(b.uRight, v.u), std::max(b.vBottom, v.v)};
  }
  return b;
}

TEST(FontQuads, GlyphQuadCoversItsPixelsAndTexels) {
  const AtlasGlyph glyph{0, 20, 40, 6, 10, 1, 9, 7};
  const PlacedGlyph placed{U'F', 100, 62, 7, false};
  PageQuads quads;
  AppendGlyphQuads(placed, glyph, 0xff123456, RECT{0, 0, 640, 480}, quads);
  ASSERT_EQ(quads.size(), 1u);
  ASSERT_EQ(quads[0].size(), 6u);
  Bounds b = BoundsOf(quads[0]);
  // Pixels 101..106 and 53..62; edges half a pixel before the first centre.
  EXPECT_FLOAT_EQ(b.left, 100.5f);
  EXPECT_FLOAT_EQ(b.right, 106.5f);
  EXPECT_FLOAT_EQ(b.top, 52.5f);
  EXPECT_FLOAT_EQ(b.bottom, 62.5f);
  EXPECT_FLOAT_EQ(b.uLeft * FontAtlas::kPageSize, 20);
  EXPECT_FLOAT_EQ(b.uRight * FontAtlas::kPageSize, 26);
  EXPECT_FLOAT_EQ(b.vTop * FontAtlas::kPageSize, 40);
  EXPECT_FLOAT_EQ(b.vBottom * FontAtlas::kPageSize, 50);
  for (const TextVertex& v : quads[0]) {
    EXPECT_EQ(v.colour, 0xff123456u);
    EXPECT_EQ(v.rhw, 1.0f);
  }
}

TEST(FontQuads, ClippingCutsPixelsAndTexelsAlike) {
  const AtlasGlyph glyph{2, 20, 40, 6, 10, 1, 9, 7};
  const PlacedGlyph placed{U'F', 100, 62, 7, false};
  PageQuads quads;
  AppendGlyphQuads(placed, glyph, 0xffffffff, RECT{0, 55, 104, 480}, quads);
  ASSERT_EQ(quads.size(), 3u);
  Bounds b = BoundsOf(quads[2]);
  EXPECT_FLOAT_EQ(b.right, 103.5f);
  EXPECT_FLOAT_EQ(b.top, 54.5f);
  EXPECT_FLOAT_EQ(b.uRight * FontAtlas::kPageSize, 23);
  EXPECT_FLOAT_EQ(b.vTop * FontAtlas::kPageSize, 42);

  PageQuads outside;
  AppendGlyphQuads(placed, glyph, 0xffffffff, RECT{0, 0, 101, 480}, outside);
  AppendGlyphQuads(placed, glyph, 0xffffffff, RECT{0, 63, 640, 480}, outside);
  for (const auto& page : outside) EXPECT_TRUE(page.empty());
}

TEST(FontQuads, UnderlineIsASolidRowBelowTheBaseline) {
  const AtlasGlyph blank{0, 0, 0, 0, 0, 0, 0, 7};
  const PlacedGlyph placed{U' ', 100, 62, 7, true};
  PageQuads quads;
  AppendGlyphQuads(placed, blank, 0xffffffff, RECT{0, 0, 640, 480}, quads);
  ASSERT_EQ(quads.size(), 1u);
  ASSERT_EQ(quads[0].size(), 6u);
  Bounds b = BoundsOf(quads[0]);
  EXPECT_FLOAT_EQ(b.left, 99.5f);
  EXPECT_FLOAT_EQ(b.right, 106.5f);
  EXPECT_FLOAT_EQ(b.top, 62.5f);
  EXPECT_FLOAT_EQ(b.bottom, 63.5f);
  float solid = (FontAtlas::kSolidTexel + FontAtlas::kSolidSize * 0.5f) / FontAtlas::kPageSize;
  EXPECT_FLOAT_EQ(b.uLeft, solid);
  EXPECT_FLOAT_EQ(b.uRight, solid);
}

}  // namespace
