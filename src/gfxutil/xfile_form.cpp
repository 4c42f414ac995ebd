#include "gfxutil/xfile_form.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gfxutil/xfile/header.h"

bool ReadXFileForm(const char* path, XFileForm& form, std::string& error) {
  FILE* file = std::fopen(path, "rb");
  if (!file) {
    error = std::string("cannot open the file: ") + std::strerror(errno);
    return false;
  }
  uint8_t bytes[kXFileHeaderSize];
  size_t read = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  XFileHeader header;
  if (FAILED(ParseXFileHeader(std::span<const uint8_t>(bytes, read), header, error))) return false;
  form = XFileForm{header.binary, header.compressed, header.floatBytes * 8};
  return true;
}
