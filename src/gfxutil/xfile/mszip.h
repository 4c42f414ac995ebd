// MSZIP, the compression of "tzip" and "bzip" X files: after the header, a
// DWORD with the size of the whole decompressed file (header included), then
// chunks of WORD uncompressed size, WORD compressed size, "CK" and a raw
// deflate stream. Each chunk continues the history of the chunks before it.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <thread>

#include "gfxutil/xfile/binary_reader.h"

// The body inflated chunk by chunk, on a thread of its own when asked, so
// that a binary reader reads its start while the rest is still inflated. The
// inflated bytes are published after each chunk (`progress_`, release; the
// reader loads it with acquire) and never written again, but when they are
// recalled; the thread is joined by Finish, Recall or the destructor. The
// pages the reader is done with are given back.
class XInflatingBody final : public XGrowingInput, public XInputPager {
 public:
  XInflatingBody() = default;
  ~XInflatingBody();
  XInflatingBody(const XInflatingBody&) = delete;
  XInflatingBody& operator=(const XInflatingBody&) = delete;

  // Sets aside the body's bytes and starts inflating `data` (everything after
  // the header, which must outlive this object), telling `pager` (when
  // given) which of its bytes are done with. False, with `error`, when the
  // size field is refused or no memory is had. Without a thread the body is
  // inflated before this returns.
  bool Start(std::span<const uint8_t> data, bool onOwnThread, XInputPager* pager, std::string& error);
  const uint8_t* Bytes() const { return bytes_.get(); }
  // The bytes inflated so far: all of the body once Finish says so.
  size_t Inflated() const { return progress_.load(std::memory_order_acquire) / 2; }
  // The most the body can hold: the reader's end.
  size_t Capacity() const { return capacity_; }
  size_t WaitFor(size_t bytes) override;
  // Waits for the end of inflating: true when the whole body inflated, else
  // false with the fault in `error`.
  bool Finish(std::string& error);

  void ReleaseBefore(size_t offset) override;
  // Waits for the end of inflating and inflates again the bytes given back;
  // none are given back after.
  void Recall() override;

 private:
  struct Unmap {
    size_t bytes;
    void operator()(uint8_t* pages) const;
  };

  // Pages of its own, so that the ones given back read as zeros until recalled.
  std::unique_ptr<uint8_t[], Unmap> bytes_{nullptr, Unmap{0}};
  size_t capacity_ = 0;
  std::span<const uint8_t> data_;
  size_t expectedBody_ = 0;
  size_t released_ = 0;
  bool recalled_ = false;
  // Bytes inflated, times two, plus one once inflating has ended.
  std::atomic<size_t> progress_{0};
  // Written by the inflating thread before its last store to progress_.
  bool ok_ = false;
  std::string error_;
  std::thread worker_;
};
