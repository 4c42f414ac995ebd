#include "gfxutil/xfile/values_ahead.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "gfxutil/xfile/text_reader.h"

namespace {

// A reader whose failures only end its run: nobody reads their places, so
// counting lines for them would be wasted.
class QuietTextReader final : public XTextReader {
 public:
  using XTextReader::XTextReader;

 protected:
  std::string Where(const uint8_t*) const override { return {}; }
  unsigned LineAt(const uint8_t*) const override { return 0; }
};

bool ReadChunk(XTextReader& reader, bool floats, uint32_t* out, size_t count) {
  if (!floats) return reader.ReadDwords(out, count);
  float chunk[XValuesAhead::kCheckpointEvery];
  if (!reader.ReadFloats(chunk, count)) return false;
  std::memcpy(out, chunk, count * sizeof(float));
  return true;
}

}  // namespace

bool XValuesAhead::Start(const uint8_t* begin, const uint8_t* end, size_t from, bool floats, size_t cap) {
  from_ = from;
  floats_ = floats;
  values_ = std::make_unique_for_overwrite<uint32_t[]>(cap);
  checkpoints_ = std::make_unique_for_overwrite<size_t[]>(cap / kCheckpointEvery + 1);
  progress_.store(0, std::memory_order_relaxed);
  try {
    thread_ = std::jthread([this, begin, end, cap](std::stop_token stop) { Read(stop, begin, end, cap); });
  } catch (const std::system_error&) {
    Stop();  // no thread to be had: the list is read by the main reader alone
    return false;
  }
  return true;
}

void XValuesAhead::Read(std::stop_token stop, const uint8_t* begin, const uint8_t* end, size_t cap) {
  QuietTextReader reader(begin, end);
  reader.Seek(from_);
  size_t count = 0;
  while (count < cap && !stop.stop_requested()) {
    size_t at = reader.Position();
    size_t chunk = std::min(kCheckpointEvery, cap - count);
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
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
  values_.reset();
  checkpoints_.reset();
}
