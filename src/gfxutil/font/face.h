// An installed font face matched to a logical font through fontconfig, opened
// with FreeType at one pixel size; glyphs come out as 8-bit coverage bitmaps.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "gfxutil/d3dx_font.h"

struct GlyphBitmap {
  int width = 0;
  int height = 0;
  int left = 0;     // from the pen position to the first column
  int top = 0;      // from the baseline up to the first row
  int advance = 0;  // pen movement, pixels
  std::vector<uint8_t> coverage;  // width * height, top row first
};

class FontFace {
 public:
  // Cell heights are kept within this bound so one glyph always fits a texture page.
  static constexpr int kMaxCellHeight = 128;
  static constexpr int kDefaultCellHeight = 16;

  // Matches the face name, weight, italic flag and character set (Shift-JIS asks
  // for Japanese coverage) as MatchFontFile does. Null when no face is
  // installed or FreeType cannot open the match. `notes` as for MatchFontFile.
  static std::unique_ptr<FontFace> Open(const LOGFONTA& logFont, LoadNotes* notes = nullptr);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  int LineHeight() const { return lineHeight_; }  // distance between line tops
  int Ascent() const { return ascent_; }          // from a line's top to its baseline
  int AverageCharWidth() const { return averageCharWidth_; }

  int Advance(char32_t codepoint);
  // Characters the face lacks come out as its missing-glyph shape.
  GlyphBitmap Rasterise(char32_t codepoint);

 private:
  struct FreeTypeHandles;
  FontFace(std::unique_ptr<FreeTypeHandles> handles, LONG requestedHeight);

  std::unique_ptr<FreeTypeHandles> ft_;
  int lineHeight_ = 0;
  int ascent_ = 0;
  int averageCharWidth_ = 0;
  std::unordered_map<char32_t, int> advances_;
};
