// Screen text with the published behaviour of D3DX's font object: a logical
// font is matched to an installed face, glyphs are rasterised once into atlas
// textures and drawn as pre-transformed textured quads over the frame.
#pragma once
#include <cstdint>

#include "gfxutil/load_notes.h"
#include "platform/d3d/d3d8.h"

using BYTE = uint8_t;
using LONG = int32_t;

constexpr int LF_FACESIZE = 32;
constexpr BYTE SHIFTJIS_CHARSET = 128;
constexpr LONG FW_NORMAL = 400;

// lfHeight > 0 asks for a cell height (ascent + descent) in pixels, < 0 for a
// character (em) height, 0 for the default size. lfFaceName is UTF-8, or code
// page 932 when it is not valid UTF-8.
struct LOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};

// DrawTextA format flags. Text is left- and top-aligned and clipped to the
// rectangle; "\n", "\r\n" and a lone "\r" start new lines. Without
// DT_NOPREFIX, "&x" draws x underlined and "&&" draws one '&'.
constexpr DWORD DT_EXPANDTABS = 0x40;  // tab stops every 8 average character widths
constexpr DWORD DT_NOPREFIX = 0x800;

class ID3DXFont : public IUnknown {
 public:
  // Draws count bytes of text (count < 0: up to the terminating NUL) into rect
  // in the given colour. Text is UTF-8; text that is not valid UTF-8 is read as
  // code page 932. Returns the height of the drawn text in pixels, 0 on failure.
  virtual int DrawTextA(const char* text, int count, RECT* rect, DWORD format, D3DCOLOR colour) = 0;
};

// Fails with D3DERR_INVALIDCALL for null arguments, D3DERR_NOTFOUND when no
// face is installed at all, or the device's error when the first glyph
// texture cannot be made. When no installed face has the glyphs of the
// requested character set, the best face there is stands in, and a note in
// `notes` (when given) names it.
HRESULT D3DXCreateFontIndirect(IDirect3DDevice8* device, const LOGFONTA* logFont, ID3DXFont** font,
                               LoadNotes* notes = nullptr);
