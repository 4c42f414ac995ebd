// The 16-byte header that opens every X file: magic, version, encoding and
// float size.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "gfxutil/xfile/errors.h"

constexpr size_t kXFileHeaderSize = 16;

struct XFileHeader {
  bool binary = false;
  bool compressed = false;  // MSZIP chunks follow the header (tzip, bzip)
  unsigned floatBytes = 4;  // size of a float in binary float lists: 4 or 8
};

// D3D_OK, or a D3DXFERR_ code with the reason in `error`.
HRESULT ParseXFileHeader(std::span<const uint8_t> file, XFileHeader& header, std::string& error);
