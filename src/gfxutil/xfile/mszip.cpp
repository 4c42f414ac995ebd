#include "gfxutil/xfile/mszip.h"

#include <sys/mman.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <system_error>

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

// The body's size as the size field declares it, and the bytes to set aside
// for it: the declared size, trusted only as far as the chunks could fill it.
bool BodySize(std::span<const uint8_t> data, size_t& expectedBody, size_t& capacity, std::string& error) {
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
  expectedBody = declaredSize - kXFileHeaderSize;
  // Each chunk holds at most 32 KiB.
  size_t chunkBound = data.size() / (kChunkHeaderSize + kSignatureSize + 1) + 1;
  capacity = std::min(expectedBody, chunkBound * kMaxChunkSize);
  return true;
}

// Inflates the chunks into `out` (room for `capacity` bytes), telling
// `inflated` the bytes done and the bytes of `data` consumed after each
// chunk, until it answers false; false with `error` at the first fault or
// when they do not come to `expectedBody` bytes.
template <class Progress>
bool InflateChunks(std::span<const uint8_t> data, uint8_t* out, size_t capacity, size_t expectedBody, Progress inflated,
                   std::string& error) {
  RawInflater inflater;
  if (!inflater.ok()) {
    error = "the inflater could not be set up";
    return false;
  }
  size_t done = 0;
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
    if (done + plainSize > expectedBody || done + plainSize > capacity) {
      error = AtOffset(chunkOffset, "more decompressed data than the header declares");
      return false;
    }
    size_t historySize = std::min(done, kMaxChunkSize);
    std::span<const uint8_t> history(out + done - historySize, historySize);
    std::span<const uint8_t> packed(data.data() + pos + kSignatureSize, packedSize - kSignatureSize);
    if (!inflater.Chunk(packed, history, std::span<uint8_t>(out + done, plainSize))) {
      error = AtOffset(chunkOffset, "corrupt compressed chunk");
      return false;
    }
    done += plainSize;
    pos += packedSize;
    if (!inflated(done, pos)) return true;
  }
  if (done != expectedBody) {
    error = AtOffset(kXFileHeaderSize + data.size(), "the compressed data ends before the declared size");
    return false;
  }
  return true;
}

}  // namespace

void XInflatingBody::Unmap::operator()(uint8_t* pages) const { munmap(pages, bytes); }

XInflatingBody::~XInflatingBody() {
  if (worker_.joinable()) worker_.join();
}

bool XInflatingBody::Start(std::span<const uint8_t> data, bool onOwnThread, XInputPager* pager, std::string& error) {
  if (!BodySize(data, expectedBody_, capacity_, error)) return false;
  data_ = data;
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t bytes = (capacity_ / page + 1) * page;
  void* pages = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) {
    error = AtOffset(kXFileHeaderSize, "no memory for the decompressed data");
    return false;
  }
  // Huge pages where the system allows: one fault per 2 MiB instead of per
  // page, and faults are what inflating into fresh memory mostly costs (on a
  // virtual machine a fifth of an MSZIP load).
  madvise(pages, bytes, MADV_HUGEPAGE);
  bytes_ = std::unique_ptr<uint8_t[], Unmap>(static_cast<uint8_t*>(pages), Unmap{bytes});
  auto inflate = [this, pager] {
    auto inflated = [this, pager](size_t done, size_t consumed) {
      progress_.store(done * 2, std::memory_order_release);
      if (pager) pager->ReleaseBefore(consumed);
      return true;
    };
    bool ok = InflateChunks(data_, bytes_.get(), capacity_, expectedBody_, inflated, error_);
    size_t done = progress_.load(std::memory_order_relaxed) / 2;
    ok_ = ok;
    progress_.store(done * 2 + 1, std::memory_order_release);
  };
  if (onOwnThread) {
    try {
      worker_ = std::thread(inflate);
      return true;
    } catch (const std::system_error&) {
      // no thread to be had: inflated here, whole, before reading
    }
  }
  inflate();
  return true;
}

size_t XInflatingBody::WaitFor(size_t bytes) {
  size_t progress = progress_.load(std::memory_order_acquire);
  while (progress / 2 < bytes && progress % 2 == 0) {
    std::this_thread::yield();
    progress = progress_.load(std::memory_order_acquire);
  }
  return progress / 2;
}

bool XInflatingBody::Finish(std::string& error) {
  if (worker_.joinable()) worker_.join();
  if (!ok_) error = error_;
  return ok_;
}

// Whole pages of what is inflated, but for the history the inflating thread
// reads.
void XInflatingBody::ReleaseBefore(size_t offset) {
  if (recalled_) return;
  size_t inflated = Inflated();
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t end = std::min(offset, inflated > kMaxChunkSize ? inflated - kMaxChunkSize : 0) / page * page;
  if (end <= released_) return;
  madvise(bytes_.get() + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

// The same chunks inflate to the same bytes: from the start again, up to
// where none were given back.
void XInflatingBody::Recall() {
  if (recalled_) return;
  recalled_ = true;
  if (released_ == 0) return;
  if (worker_.joinable()) worker_.join();
  std::string error;
  InflateChunks(
      data_, bytes_.get(), capacity_, expectedBody_, [this](size_t done, size_t) { return done < released_; }, error);
}
