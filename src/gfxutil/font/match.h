// Finding the installed font file for a logical font, through fontconfig.
#pragma once
#include <string>

#include "gfxutil/d3dx_font.h"

struct FontFileMatch {
  std::string path;  // empty when nothing fits
  int faceIndex = 0;
};

// The best installed face for the face name, weight and italic flag. A
// Shift-JIS character set asks for Japanese coverage and rejects faces without
// it, so an unknown Japanese face name still finds a Japanese face.
FontFileMatch MatchFontFile(const LOGFONTA& logFont);
