// Finding the installed font file for a logical font, through fontconfig.
#pragma once
#include <string>

#include "gfxutil/d3dx_font.h"
#include "gfxutil/load_notes.h"

struct FontFileMatch {
  std::string path;  // empty when nothing fits
  int faceIndex = 0;
  std::string family;
};

// The best installed face for the face name, weight and italic flag. A
// Shift-JIS character set asks for Japanese coverage, so an unknown Japanese
// face name still finds a Japanese face. When no installed face covers the
// language, the best face there is, so that at least Latin text and figures
// show; a note in `notes` (when given) then names it.
FontFileMatch MatchFontFile(const LOGFONTA& logFont, LoadNotes* notes = nullptr);
