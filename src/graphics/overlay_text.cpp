#include "graphics/overlay_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/program_state.h"
#include "gfxutil/d3dx_font.h"
#include "gfxutil/load_notes.h"
#include "graphics/direct3d.h"
#include "platform/d3d/com.h"

namespace {

constexpr char kOverlayFaceName[] = "ＭＳ ゴシック";
constexpr D3DCOLOR kShadowColour = 0xff000000;
constexpr D3DCOLOR kTextColour = 0xffffffff;
constexpr D3DCOLOR kAlertColour = 0xffffd800;  // a warm yellow, unlike any other text
constexpr int kFormattedTextSize = 2400;
constexpr int kFpsTextSize = 16;

Com<ID3DXFont> overlayFont;
bool overlayFontWanted = true;

LOGFONTA OverlayLogFont(int height, int weight) {
  LOGFONTA logFont{};
  logFont.lfHeight = height;
  logFont.lfWeight = weight;
  logFont.lfCharSet = SHIFTJIS_CHARSET;
  static_assert(sizeof(kOverlayFaceName) <= LF_FACESIZE);
  memcpy(logFont.lfFaceName, kOverlayFaceName, sizeof(kOverlayFaceName));
  return logFont;
}

void DrawIn(int left, int top, const char* text, D3DCOLOR colour) {
  RECT rect{left, top, Program().screenWidth, Program().screenHeight};
  overlayFont->DrawTextA(text, -1, &rect, DT_EXPANDTABS | DT_NOPREFIX, colour);
}

void DrawWithShadow(int x, int y, const char* text, D3DCOLOR colour) {
  if (!overlayFont || !text) return;
  DrawIn(x + 1, y + 1, text, kShadowColour);
  DrawIn(x, y, text, colour);
}

}  // namespace

void WantOverlayFont(bool wanted) { overlayFontWanted = wanted; }

int CreateOverlayFont(int height, int weight) {
  ReleaseOverlayFont();
  if (!overlayFontWanted) {
    LogPrintf("overlay font: none wanted; overlay text is not drawn\n");
    return 0;
  }
  if (!Graphics().d3dDevice) {
    LogPrintf("overlay font: no device; overlay text is not drawn\n");
    return 0;
  }
  LOGFONTA logFont = OverlayLogFont(height, weight);
  LoadNotes notes;
  HRESULT hr = D3DXCreateFontIndirect(Graphics().d3dDevice, &logFont, overlayFont.put(), &notes);
  for (const LoadNote& note : notes.All()) LogPrintf("overlay font: %s\n", note.Text().c_str());
  if (FAILED(hr)) {
    overlayFont.reset();
    LogPrintf("overlay font \"%s\" %d/%d cannot be created (0x%08x%s); overlay text is not drawn\n",
              kOverlayFaceName, height, weight, static_cast<unsigned>(hr),
              hr == D3DERR_NOTFOUND ? ": no installed font fits" : "");
    return 0;
  }
  return 1;
}

void ReleaseOverlayFont() { overlayFont.reset(); }

void DrawOverlayText(int x, int y, const char* text) { DrawWithShadow(x, y, text, kTextColour); }

void DrawOverlayAlert(int x, int y, const char* text) { DrawWithShadow(x, y, text, kAlertColour); }

void DrawOverlayTextf(int x, int y, const char* format, ...) {
  char buffer[kFormattedTextSize];
  va_list arguments;
  va_start(arguments, format);
  int length = vsnprintf(buffer, sizeof(buffer), format, arguments);
  va_end(arguments);
  if (length >= 0) DrawOverlayText(x, y, buffer);
}

void DrawFps(int x, int y) {
  char buffer[kFpsTextSize];
  snprintf(buffer, sizeof(buffer), "FPS: %.1f", Program().framePacing.fps);
  DrawOverlayText(x, y, buffer);
}
