#include "gfxutil/image/file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

bool ReadFileBytes(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes, std::string& error) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    error = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  struct stat status;
  bool ok = false;
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) {
    error = "not a regular file";
  } else if (static_cast<uint64_t>(status.st_size) > maxBytes) {
    error = "file too large (" + std::to_string(status.st_size) + " bytes)";
  } else {
    bytes.resize(static_cast<size_t>(status.st_size));
    ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!ok) error = "read error";
  }
  std::fclose(file);
  return ok;
}
