#include "platform/dinput/press_latch.h"

#include <limits>

void PressLatch::NotePress(size_t index) {
  if (index >= controls_.size()) return;
  uint8_t& pending = controls_[index].pendingPresses;
  if (pending < std::numeric_limits<uint8_t>::max()) ++pending;
}

bool PressLatch::Read(size_t index, bool downNow) {
  if (index >= controls_.size()) return downNow;
  Control& control = controls_[index];
  bool down = downNow;
  if (control.pendingPresses > 0) {
    // A press shows as a change from up to down: after a down read, an up read comes first.
    down = !control.reportedDown;
    if (down) --control.pendingPresses;
  }
  control.reportedDown = down;
  return down;
}

void PressLatch::Clear() {
  for (Control& control : controls_) control = Control{};
}
