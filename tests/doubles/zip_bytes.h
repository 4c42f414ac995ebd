// Zip archives written byte by byte, as zip tools on Windows write them or as
// a hostile file might: raw name bytes, the UTF-8 flag only when asked, and
// sizes that may lie.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ZipMember {
  std::string name;          // raw bytes; a trailing '/' makes a directory entry
  std::string data;
  bool utf8Flag = false;     // general purpose bit 11
  bool deflate = true;       // else stored
  int64_t claimedSize = -1;  // the uncompressed size the headers state; -1: the true one
};

std::vector<uint8_t> ZipBytes(const std::vector<ZipMember>& members);
// Writes the archive to a file; false when it cannot.
bool WriteZip(const std::string& path, const std::vector<ZipMember>& members);
