// Placing the characters of a DrawTextA call: line breaks, tab stops and
// mnemonic prefixes. Characters wholly right of or below the rectangle are
// left out; the quads clip the ones on its edges.
#pragma once
#include <string_view>
#include <vector>

#include "gfxutil/font/face.h"

struct PlacedGlyph {
  char32_t codepoint;
  int x;         // pen position
  int baseline;
  int advance;
  bool underlined;  // the character after a '&' prefix
};

struct TextLayout {
  std::vector<PlacedGlyph> glyphs;  // spaces included; tabs and line ends are not glyphs
  int lineCount = 0;                // all lines of the text, also those below the rectangle
};

// Bytes are UTF-8, or code page 932 when they are not valid UTF-8. The first
// line starts at the rectangle's top-left corner; lines are face.LineHeight() apart.
TextLayout LayoutText(std::string_view bytes, DWORD format, const RECT& rect, FontFace& face);
