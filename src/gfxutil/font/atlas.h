// Glyph coverage packed into square pages in shelves; the pages become the
// font's textures. Memory is bounded: when every page is full the owner draws
// what it has and resets the atlas.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "gfxutil/font/face.h"

struct AtlasGlyph {
  int page = 0;
  int x = 0, y = 0;  // top-left texel in the page
  int width = 0, height = 0;  // 0 for blanks and for glyphs too large for a page
  int left = 0, top = 0, advance = 0;  // as in GlyphBitmap
};

class FontAtlas {
 public:
  static constexpr int kPageSize = 256;
  static constexpr int kMaxPages = 8;
  // Every page holds an opaque block here, for drawing underlines.
  static constexpr int kSolidTexel = 0;
  static constexpr int kSolidSize = 2;

  const AtlasGlyph* Find(char32_t codepoint) const;
  // Null when no page has room left.
  const AtlasGlyph* Insert(char32_t codepoint, const GlyphBitmap& bitmap);
  // Forgets every glyph; the pages stay and are refilled.
  void Reset();

  int PageCount() const { return static_cast<int>(pages_.size()); }
  const uint8_t* PageCoverage(int page) const { return pages_[page].coverage.data(); }
  bool PageChanged(int page) const { return pages_[page].changed; }
  void MarkPageUploaded(int page) { pages_[page].changed = false; }

 private:
  struct Page {
    std::vector<uint8_t> coverage;  // kPageSize * kPageSize
    int shelfY = 0, shelfHeight = 0, cursorX = 0;
    bool changed = true;
  };
  static void Clear(Page& page);
  bool Place(Page& page, int width, int height, int& x, int& y);

  std::vector<Page> pages_;
  std::unordered_map<char32_t, AtlasGlyph> glyphs_;
};
