// The values of a long text list from a line start on, read by a second
// reader on a thread of its own while the main reader reads the part before
// it, and taken by the main reader while they are still being read (or read
// by the main reader itself when the second stalls). The second
// reader only records values: it stops at the first text that is not one, and
// the main reader, reading on from there, reports what it finds. One worker
// thread reads every list of a file in turn.
#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

class XInputPager;

class XValuesAhead {
 public:
  static constexpr size_t kCheckpointEvery = 64;
  // How long the main reader waits for values when none come, by default.
  static constexpr std::chrono::microseconds kPatience{500};
  // How long the worker stays awake for the next list before it sleeps.
  static constexpr std::chrono::milliseconds kStayAwake{20};

  XValuesAhead() = default;
  ~XValuesAhead();
  XValuesAhead(const XValuesAhead&) = delete;
  XValuesAhead& operator=(const XValuesAhead&) = delete;

  // Starts the worker before any list needs it: where the other cores sleep,
  // a new thread may take milliseconds to first run. False when no thread
  // could be started.
  bool Prepare();
  // Reads at most `cap` floats or dwords of [begin + from, end), dropping
  // through `pager` (when given) what it has read; false when no thread
  // could be started.
  bool Start(const uint8_t* begin, const uint8_t* end, size_t from, bool floats, size_t cap, XInputPager* pager);
  // Stops reading, waits until the worker is idle and frees the values.
  void Stop();

  void SetPatience(std::chrono::microseconds patience) { patience_ = patience; }
  // Whether the worker is awake waiting for a list: it is then one of the
  // machine's tasks ready to run, though it stands aside for any other.
  bool Spinning() const { return spinning_.load(std::memory_order_relaxed); }
  size_t From() const { return from_; }
  bool Floats() const { return floats_; }
  // Waits until `count` values are read, the reading has ended or stalled,
  // and returns how many are read.
  size_t WaitFor(size_t count);
  // The bit patterns of the values read (floats as stored).
  const uint32_t* Values() const { return values_.get(); }
  // The offset before value `index` rounded down to a checkpoint, and that
  // checkpoint's value index; for values already read.
  size_t CheckpointOffset(size_t index) const { return checkpoints_[index / kCheckpointEvery]; }
  static size_t CheckpointIndex(size_t index) { return index / kCheckpointEvery * kCheckpointEvery; }

 private:
  enum State : uint32_t { kIdle, kReading, kQuit };

  void Work();
  void Read();
  void Publish(size_t count, bool ended);

  std::chrono::microseconds patience_ = kPatience;
  // The list being read: set by the main thread before it hands it over.
  const uint8_t* begin_ = nullptr;
  const uint8_t* end_ = nullptr;
  size_t from_ = 0;
  size_t cap_ = 0;
  bool floats_ = false;
  XInputPager* pager_ = nullptr;
  std::unique_ptr<uint32_t[]> values_;
  std::unique_ptr<size_t[]> checkpoints_;  // offset before every kCheckpointEvery-th value
  // Values read, times two, plus one once the reading has ended.
  std::atomic<size_t> progress_{0};
  std::atomic<uint32_t> state_{kIdle};
  std::atomic<bool> cancel_{false};
  std::atomic<bool> spinning_{false};
  std::thread worker_;
};
