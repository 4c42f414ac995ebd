#include "gfxutil/xfile_form.h"

#include <vector>

#include "gfxutil/xfile/header.h"
#include "platform/os/file_source.h"

bool ReadXFileForm(const char* path, XFileForm& form, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!Files().Read(path, kXFileHeaderSize, BeyondLimit::kCut, bytes, error)) return false;
  XFileHeader header;
  if (FAILED(ParseXFileHeader(bytes, header, error))) return false;
  form = XFileForm{header.binary, header.compressed, header.floatBytes * 8};
  return true;
}
