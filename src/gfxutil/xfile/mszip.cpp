#include "gfxutil/xfile/mszip.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "gfxutil/byte_order.h"
#include "gfxutil/xfile/header.h"
#include "gfxutil/xfile/token.h"

namespace {

constexpr size_t kMaxChunkSize = 32768;  // also the deflate history carried over
constexpr size_t kChunkHeaderSize = 4;   // two WORDs
constexpr size_t kSignatureSize = 2;     // "CK", counted in the compressed size

class RawInflater {
 public:
  RawInflater() { ok_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
  ~RawInflater() {
    if (ok_) inflateEnd(&stream_);
  }
  RawInflater(const RawInflater&) = delete;
  RawInflater& operator=(const RawInflater&) = delete;

  bool ok() const { return ok_; }

  // Inflates one whole chunk with `history` as its preset dictionary; true when
  // the deflate stream ends exactly after `out.size()` bytes.
  bool Chunk(std::span<const uint8_t> in, std::span<const uint8_t> history, std::span<uint8_t> out) {
    if (inflateReset(&stream_) != Z_OK) return false;
    if (!history.empty() &&
        inflateSetDictionary(&stream_, history.data(), static_cast<uInt>(history.size())) != Z_OK)
      return false;
    stream_.next_in = const_cast<Bytef*>(in.data());
    stream_.avail_in = static_cast<uInt>(in.size());
    stream_.next_out = out.data();
    stream_.avail_out = static_cast<uInt>(out.size());
    int status = inflate(&stream_, Z_FINISH);
    return status == Z_STREAM_END && stream_.avail_out == 0;
  }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

std::string AtOffset(size_t offset, const char* what) {
  char text[128];
  std::snprintf(text, sizeof text, "offset %zu: %s", offset, what);
  return text;
}

}  // namespace

bool InflateMszip(std::span<const uint8_t> data, std::vector<uint8_t>& body, std::string& error) {
  body.clear();
  if (data.size() < 4) {
    error = AtOffset(kXFileHeaderSize, "the compressed file has no size field");
    return false;
  }
  uint32_t declaredSize = Le32(data.data());
  if (declaredSize < kXFileHeaderSize) {
    error = AtOffset(kXFileHeaderSize, "the decompressed size is smaller than the header");
    return false;
  }
  if (declaredSize > kXMaxInflatedBytes) {
    char what[96];
    std::snprintf(what, sizeof what, "decompressed size %u is more than the %u bytes the viewer inflates",
                  declaredSize, kXMaxInflatedBytes);
    error = AtOffset(kXFileHeaderSize, what);
    return false;
  }
  size_t expectedBody = declaredSize - kXFileHeaderSize;
  // Each chunk holds at most 32 KiB; trust the declared size only that far.
  size_t chunkBound = data.size() / (kChunkHeaderSize + kSignatureSize + 1) + 1;
  body.reserve(std::min(expectedBody, chunkBound * kMaxChunkSize));

  RawInflater inflater;
  if (!inflater.ok()) {
    error = "the inflater could not be set up";
    return false;
  }
  size_t pos = 4;
  while (pos < data.size()) {
    size_t chunkOffset = kXFileHeaderSize + pos;
    if (data.size() - pos < kChunkHeaderSize + kSignatureSize) {
      error = AtOffset(chunkOffset, "truncated compressed chunk header");
      return false;
    }
    size_t plainSize = Le16(data.data() + pos);
    size_t packedSize = Le16(data.data() + pos + 2);
    pos += kChunkHeaderSize;
    if (plainSize > kMaxChunkSize) {
      error = AtOffset(chunkOffset, "compressed chunk larger than 32768 bytes");
      return false;
    }
    if (packedSize < kSignatureSize || packedSize > data.size() - pos) {
      error = AtOffset(chunkOffset, "truncated compressed chunk");
      return false;
    }
    if (data[pos] != 'C' || data[pos + 1] != 'K') {
      error = AtOffset(chunkOffset, "compressed chunk without its CK signature");
      return false;
    }
    if (body.size() + plainSize > expectedBody) {
      error = AtOffset(chunkOffset, "more decompressed data than the header declares");
      return false;
    }
    size_t historySize = std::min(body.size(), kMaxChunkSize);
    size_t start = body.size();
    body.resize(start + plainSize);
    std::span<const uint8_t> history(body.data() + start - historySize, historySize);
    std::span<const uint8_t> packed(data.data() + pos + kSignatureSize, packedSize - kSignatureSize);
    if (!inflater.Chunk(packed, history, std::span<uint8_t>(body.data() + start, plainSize))) {
      error = AtOffset(chunkOffset, "corrupt compressed chunk");
      body.clear();
      return false;
    }
    pos += packedSize;
  }
  if (body.size() != expectedBody) {
    error = AtOffset(kXFileHeaderSize + data.size(), "the compressed data ends before the declared size");
    body.clear();
    return false;
  }
  return true;
}
