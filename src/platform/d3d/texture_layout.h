// Memory layout of a texture's top level as LockRect hands it out.
#pragma once
#include <cstddef>

#include "platform/d3d/d3d8types.h"

constexpr UINT kMaxTextureSize = 8192;

struct TextureLayout {
  bool valid = false;  // a format the devices keep, with a size in range
  bool compressed = false;  // DXT: rows are rows of 4x4 blocks
  UINT pitch = 0;      // bytes per row
  UINT rows = 0;
  UINT unitBytes = 0;  // bytes per pixel, or per 4x4 block
  size_t Size() const { return static_cast<size_t>(pitch) * rows; }
  // Byte offset of pixel (x, y); for DXT formats, of the block holding it.
  size_t OffsetOf(UINT x, UINT y) const {
    UINT unit = compressed ? 4 : 1;
    return static_cast<size_t>(y / unit) * pitch + static_cast<size_t>(x / unit) * unitBytes;
  }
};

TextureLayout DescribeTexture(UINT width, UINT height, D3DFORMAT format);

// Number of mipmap levels when CreateTexture asks for "all" (0) or more than exist.
UINT FullLevelCount(UINT width, UINT height, UINT requested);
