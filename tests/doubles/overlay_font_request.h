// The logical font the overlay asks for, for tests that open faces directly.
#pragma once
#include <cstring>

#include "gfxutil/d3dx_font.h"

inline LOGFONTA OverlayFontRequest(LONG height = 14) {
  LOGFONTA logFont{};
  logFont.lfHeight = height;
  logFont.lfWeight = FW_NORMAL;
  logFont.lfCharSet = SHIFTJIS_CHARSET;
  strcpy(logFont.lfFaceName, "ＭＳ ゴシック");
  return logFont;
}
