#include "zip_bytes.h"

#include <zlib.h>

#include <cstdio>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void PutBytes(std::vector<uint8_t>& out, const std::string& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

std::string RawDeflate(const std::string& data) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

}  // namespace

std::vector<uint8_t> ZipBytes(const std::vector<ZipMember>& members) {
  std::vector<uint8_t> out, central;
  for (const ZipMember& member : members) {
    uint32_t offset = static_cast<uint32_t>(out.size());
    bool deflated = member.deflate && !member.data.empty();
    std::string packed = deflated ? RawDeflate(member.data) : member.data;
    uint32_t crc = static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(member.data.data()), static_cast<uInt>(member.data.size())));
    uint32_t size = member.claimedSize >= 0 ? static_cast<uint32_t>(member.claimedSize)
                                            : static_cast<uint32_t>(member.data.size());
    std::vector<uint8_t> common;
    Put16(common, member.utf8Flag ? 0x0800 : 0);
    Put16(common, deflated ? 8 : 0);
    Put32(common, 0x58A16000);  // a time and a date in 2024
    Put32(common, crc);
    Put32(common, static_cast<uint32_t>(packed.size()));
    Put32(common, size);
    Put16(common, static_cast<uint32_t>(member.name.size()));
    Put16(common, 0);

    Put32(out, 0x04034B50);
    Put16(out, 20);
    out.insert(out.end(), common.begin(), common.end());
    PutBytes(out, member.name);
    PutBytes(out, packed);

    Put32(central, 0x02014B50);
    Put16(central, 20);  // made on MS-DOS or Windows
    Put16(central, 20);
    central.insert(central.end(), common.begin(), common.end());
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, member.name.ends_with('/') ? 0x10 : 0x20);
    Put32(central, offset);
    PutBytes(central, member.name);
  }
  uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), central.begin(), central.end());
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, static_cast<uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

bool WriteZip(const std::string& path, const std::vector<ZipMember>& members) {
  std::vector<uint8_t> bytes = ZipBytes(members);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
