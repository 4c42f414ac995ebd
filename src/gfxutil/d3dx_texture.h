// Texture creation from image files, in the shape of the D3DX call.
#pragma once
#include "gfxutil/load_notes.h"
#include "platform/d3d/d3d8.h"

constexpr UINT D3DX_DEFAULT = 0xFFFFFFFF;

enum D3DXIMAGE_FILEFORMAT : uint32_t {
  D3DXIFF_BMP = 0,  // BMP and DIB
  D3DXIFF_JPG = 1,
  D3DXIFF_TGA = 2,
  D3DXIFF_PNG = 3,
  D3DXIFF_DDS = 4,
  D3DXIFF_PPM = 5,  // PPM and PGM, binary or ASCII
};

// What an image file holds: its size, the pixel format it was read into
// (A8R8G8B8, or DXT1/3/5 for compressed DDS files) and the kind of file.
struct D3DXIMAGE_INFO {
  UINT Width;
  UINT Height;
  UINT Depth;      // 1
  UINT MipLevels;  // 1: only the top level is read
  D3DFORMAT Format;
  D3DRESOURCETYPE ResourceType;  // D3DRTYPE_TEXTURE
  D3DXIMAGE_FILEFORMAT ImageFileFormat;
};
constexpr HRESULT D3DXERR_INVALIDDATA = static_cast<HRESULT>(0x88760B59u);

// Loads srcFile (BMP, DIB, TGA, PPM, PNG, JPEG or DDS, recognised by content;
// the name is looked up as ResolveExistingPath does) into a new texture in the
// managed pool at the file's size. DXT files stay DXT when the device creates
// such a texture; everything else becomes D3DFMT_A8R8G8B8. Images larger
// than the device's maximum texture size are scaled down with a box filter.
// colourKey: 0 for none, else pixels equal to it (alpha included) become
// transparent black.
// mipLevels: passed to CreateTexture, D3DX_DEFAULT meaning a full chain.
// width, height, format, pool, filter and mipFilter are accepted for the
// call's shape; the size, format and pool are chosen as described above.
// srcInfo, when given, receives what the file holds, before any scaling;
// palette must be null. A failure leaves *texture null and, when `notes` is
// given, sets its fault: the file and the reason.
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice8* device, const char* srcFile, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                     DWORD mipFilter, D3DCOLOR colourKey, D3DXIMAGE_INFO* srcInfo, void* palette,
                                     IDirect3DTexture8** texture, LoadNotes* notes = nullptr);
