#include "gfxutil/font/atlas.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kPadding = 1;  // keeps neighbours out of each other's edge texels
}

const AtlasGlyph* FontAtlas::Find(char32_t codepoint) const {
  auto found = glyphs_.find(codepoint);
  return found == glyphs_.end() ? nullptr : &found->second;
}

const AtlasGlyph* FontAtlas::Insert(char32_t codepoint, const GlyphBitmap& bitmap) {
  AtlasGlyph glyph{0, 0, 0, 0, 0, bitmap.left, bitmap.top, bitmap.advance};
  bool fits = bitmap.width + kPadding <= kPageSize && bitmap.height + kPadding <= kPageSize;
  if (fits && bitmap.width > 0 && bitmap.height > 0) {
    int page = 0;
    while (page < PageCount() && !Place(pages_[page], bitmap.width, bitmap.height, glyph.x, glyph.y)) ++page;
    if (page == PageCount()) {
      if (PageCount() == kMaxPages) return nullptr;
      pages_.emplace_back();
      Clear(pages_.back());
      Place(pages_.back(), bitmap.width, bitmap.height, glyph.x, glyph.y);
    }
    glyph.page = page;
    glyph.width = bitmap.width;
    glyph.height = bitmap.height;
    Page& target = pages_[page];
    for (int row = 0; row < bitmap.height; ++row) {
      memcpy(&target.coverage[size_t(glyph.y + row) * kPageSize + glyph.x],
             &bitmap.coverage[size_t(row) * bitmap.width], bitmap.width);
    }
    target.changed = true;
  }
  return &glyphs_.insert_or_assign(codepoint, glyph).first->second;
}

void FontAtlas::Reset() {
  glyphs_.clear();
  for (Page& page : pages_) Clear(page);
}

void FontAtlas::Clear(Page& page) {
  page.coverage.assign(size_t(kPageSize) * kPageSize, 0);
  for (int row = kSolidTexel; row < kSolidTexel + kSolidSize; ++row) {
    memset(&page.coverage[size_t(row) * kPageSize + kSolidTexel], 255, kSolidSize);
  }
  page.shelfY = 0;
  page.shelfHeight = kSolidSize;
  page.cursorX = kSolidTexel + kSolidSize + kPadding;
  page.changed = true;
}

// Shelf packing: glyphs of one font are about the same height, so rows of
// glyphs waste little room.
bool FontAtlas::Place(Page& page, int width, int height, int& x, int& y) {
  if (page.cursorX + width + kPadding > kPageSize) {
    page.shelfY += page.shelfHeight + kPadding;
    page.shelfHeight = 0;
    page.cursorX = 0;
  }
  if (page.shelfY + height + kPadding > kPageSize) return false;
  x = page.cursorX;
  y = page.shelfY;
  page.cursorX += width + kPadding;
  page.shelfHeight = std::max(page.shelfHeight, height);
  return true;
}
