#include "gfxutil/xfile/header.h"

#include <cstring>

namespace {

bool FieldIs(std::span<const uint8_t> file, size_t offset, const char (&text)[5]) {
  return std::memcmp(file.data() + offset, text, 4) == 0;
}

}  // namespace

HRESULT ParseXFileHeader(std::span<const uint8_t> file, XFileHeader& header, std::string& error) {
  if (file.size() < kXFileHeaderSize || !FieldIs(file, 0, "xof ")) {
    error = "not an X file (no \"xof \" header)";
    return D3DXFERR_BADFILETYPE;
  }
  if (!FieldIs(file, 4, "0302") && !FieldIs(file, 4, "0303")) {
    error = "unsupported X file version";
    return D3DXFERR_BADFILEVERSION;
  }
  if (FieldIs(file, 8, "txt ")) {
    header = {false, false, 4};
  } else if (FieldIs(file, 8, "bin ")) {
    header = {true, false, 4};
  } else if (FieldIs(file, 8, "tzip")) {
    header = {false, true, 4};
  } else if (FieldIs(file, 8, "bzip")) {
    header = {true, true, 4};
  } else {
    error = "unknown X file encoding";
    return D3DXFERR_BADFILETYPE;
  }
  if (FieldIs(file, 12, "0064")) {
    header.floatBytes = 8;
  } else if (!FieldIs(file, 12, "0032")) {
    error = "unsupported float size";
    return D3DXFERR_BADFILEFLOATSIZE;
  }
  return D3D_OK;
}
