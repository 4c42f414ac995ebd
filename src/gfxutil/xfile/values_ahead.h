// The values of a long text list from a line start on, read by a second
// reader on a thread of its own while the main reader reads the part before
// it, and taken by the main reader while they are still being read (or read
// by the main reader itself when the second stalls). The second
// reader only records values: it stops at the first text that is not one, and
// the main reader, reading on from there, reports what it finds.
#pragma once
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

class XValuesAhead {
 public:
  static constexpr size_t kCheckpointEvery = 64;
  // How long the main reader waits for values when none come, by default.
  static constexpr std::chrono::microseconds kPatience{500};

  // Reads at most `cap` floats or dwords of [begin + from, end); false when
  // no thread could be started.
  bool Start(const uint8_t* begin, const uint8_t* end, size_t from, bool floats, size_t cap);
  // Stops reading, waits for the thread and frees the values.
  void Stop();

  void SetPatience(std::chrono::microseconds patience) { patience_ = patience; }
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
  void Read(std::stop_token stop, const uint8_t* begin, const uint8_t* end, size_t cap);
  void Publish(size_t count, bool ended);

  std::chrono::microseconds patience_ = kPatience;
  size_t from_ = 0;
  bool floats_ = false;
  std::unique_ptr<uint32_t[]> values_;
  std::unique_ptr<size_t[]> checkpoints_;  // offset before every kCheckpointEvery-th value
  // Values read, times two, plus one once the reading has ended.
  std::atomic<size_t> progress_{0};
  std::jthread thread_;
};
