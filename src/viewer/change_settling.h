// Waiting for a burst of file changes to end: every change starts the quiet
// period again, and the burst is over once a whole period passes without one.
// Times are the program's millisecond clock; the arithmetic survives its wrap.
#pragma once
#include <cstdint>

struct ChangeSettling {
  uint32_t quietMs = 250;
  bool pending = false;     // a change is waiting for the quiet period to pass
  uint32_t lastChange = 0;  // clock at the last change

  void NoteChange(uint32_t now);
  // True once per burst: at the first call a whole quiet period after its last change.
  bool TakeSettled(uint32_t now);
};
