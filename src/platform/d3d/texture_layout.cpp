#include "platform/d3d/texture_layout.h"

namespace {

UINT BytesPerPixel(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_X4R4G4B4: return 2;
    case D3DFMT_A8: return 1;
  }
  return 0;
}

UINT BytesPerBlock(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_DXT1: return 8;
    case D3DFMT_DXT3:
    case D3DFMT_DXT5: return 16;
  }
  return 0;
}

}  // namespace

TextureLayout DescribeTexture(UINT width, UINT height, D3DFORMAT format) {
  TextureLayout layout;
  if (width == 0 || height == 0 || width > kMaxTextureSize || height > kMaxTextureSize) return layout;
  if (UINT block = BytesPerBlock(format)) {
    layout.compressed = true;
    layout.pitch = (width + 3) / 4 * block;
    layout.rows = (height + 3) / 4;
    layout.unitBytes = block;
  } else if (UINT pixel = BytesPerPixel(format)) {
    layout.pitch = width * pixel;
    layout.rows = height;
    layout.unitBytes = pixel;
  } else {
    return layout;
  }
  layout.valid = true;
  return layout;
}

UINT FullLevelCount(UINT width, UINT height, UINT requested) {
  UINT levels = 1;
  for (UINT size = width > height ? width : height; size > 1; size /= 2) ++levels;
  return requested == 0 || requested > levels ? levels : requested;
}
