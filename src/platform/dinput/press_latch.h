// Presses that SDL events announced since the previous state read. A read of
// the present state alone misses a key or button that went down and up between
// two reads; with the latch, each such press reads as down once and as up in
// the read after, and several presses between two reads are handed out one per
// down read, so none is lost.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class PressLatch {
 public:
  explicit PressLatch(size_t controlCount) : controls_(controlCount) {}

  // A control went down (out-of-range indices are ignored).
  void NotePress(size_t index);
  // Whether the read reports the control down, given whether it is down now.
  // Call it once per control and read.
  bool Read(size_t index, bool downNow);
  // Forgets the presses and what was reported (on acquisition).
  void Clear();

 private:
  struct Control {
    uint8_t pendingPresses = 0;  // saturates: a bound, not a count anyone reaches by hand
    bool reportedDown = false;
  };
  std::vector<Control> controls_;
};
