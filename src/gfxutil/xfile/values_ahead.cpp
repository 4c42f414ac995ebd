#include "gfxutil/xfile/values_ahead.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "gfxutil/xfile/text_reader.h"

namespace {

bool ReadChunk(XTextReader& reader, bool floats, uint32_t* out, size_t count) {
  if (!floats) return reader.ReadDwords(out, count);
  float chunk[XValuesAhead::kCheckpointEvery];
  if (!reader.ReadFloats(chunk, count)) return false;
  std::memcpy(out, chunk, count * sizeof(float));
  return true;
}

}  // namespace

XValuesAhead::~XValuesAhead() {
  if (!worker_.joinable()) return;
  Stop();
  state_.store(kQuit, std::memory_order_release);
  state_.notify_one();
  worker_.join();
}

bool XValuesAhead::Prepare() {
  if (worker_.joinable()) return true;
  try {
    worker_ = std::thread([this] { Work(); });
  } catch (const std::system_error&) {
    return false;  // no thread to be had: lists are read by the main reader alone
  }
  return true;
}

bool XValuesAhead::Start(const uint8_t* begin, const uint8_t* end, size_t from, bool floats, size_t cap,
                         XInputPager* pager) {
  if (!Prepare()) return false;
  begin_ = begin;
  end_ = end;
  from_ = from;
  floats_ = floats;
  cap_ = cap;
  pager_ = pager;
  values_ = std::make_unique_for_overwrite<uint32_t[]>(cap);
  checkpoints_ = std::make_unique_for_overwrite<size_t[]>(cap / kCheckpointEvery + 1);
  progress_.store(0, std::memory_order_relaxed);
  state_.store(kReading, std::memory_order_release);
  state_.notify_one();
  return true;
}

void XValuesAhead::Work() {
  for (;;) {
    // Awake, the worker takes the next list at once; asleep, it would first
    // have to be woken, which can take milliseconds.
    auto awakeUntil = std::chrono::steady_clock::now() + kStayAwake;
    uint32_t state;
    spinning_.store(true, std::memory_order_relaxed);
    while ((state = state_.load(std::memory_order_acquire)) == kIdle) {
      if (std::chrono::steady_clock::now() < awakeUntil) {
        std::this_thread::yield();
      } else {
        spinning_.store(false, std::memory_order_relaxed);
        state_.wait(kIdle, std::memory_order_acquire);
      }
    }
    spinning_.store(false, std::memory_order_relaxed);
    if (state == kQuit) return;
    Read();
    state_.store(kIdle, std::memory_order_release);
  }
}

void XValuesAhead::Read() {
  XSecondReaderPager pager(pager_, from_);
  XQuietTextReader reader(begin_, end_, &pager);
  reader.Seek(from_);
  size_t count = 0;
  while (count < cap_ && !cancel_.load(std::memory_order_relaxed)) {
    size_t at = reader.Position();
    size_t chunk = std::min(kCheckpointEvery, cap_ - count);
    checkpoints_[count / kCheckpointEvery] = at;
    if (!ReadChunk(reader, floats_, &values_[count], chunk)) {
      // Keep the values before the one that failed.
      reader.Seek(at);
      for (size_t i = 0; i < chunk && ReadChunk(reader, floats_, &values_[count], 1); ++i) ++count;
      break;
    }
    count += chunk;
    Publish(count, false);
  }
  Publish(count, true);
}

void XValuesAhead::Publish(size_t count, bool ended) { progress_.store(count * 2 + ended, std::memory_order_release); }

size_t XValuesAhead::WaitFor(size_t count) {
  size_t progress = progress_.load(std::memory_order_acquire);
  size_t seen = progress;
  auto deadline = std::chrono::steady_clock::now() + patience_;
  while (progress / 2 < count && progress % 2 == 0) {
    std::this_thread::yield();
    progress = progress_.load(std::memory_order_acquire);
    if (std::chrono::steady_clock::now() < deadline) continue;
    // The other thread stalled, its core busy with other work: the caller
    // reads on alone rather than wait.
    if (progress == seen) break;
    seen = progress;
    deadline = std::chrono::steady_clock::now() + patience_;
  }
  return progress / 2;
}

void XValuesAhead::Stop() {
  cancel_.store(true, std::memory_order_relaxed);
  while (state_.load(std::memory_order_acquire) == kReading) std::this_thread::yield();
  cancel_.store(false, std::memory_order_relaxed);
  values_.reset();
  checkpoints_.reset();
}
