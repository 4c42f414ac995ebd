// The key and button tables of the last two polls, shared by the poll and the
// accessors. A byte is down when bit 7 is set.
#pragma once
#include <cstdint>

#include "platform/os/os.h"

constexpr int kKeyCount = 256;
constexpr int kMouseButtonCount = 4;

struct InputTables {
  uint8_t keys[kKeyCount];
  uint8_t previousKeys[kKeyCount];
  uint8_t mouseButtons[kMouseButtonCount];
  uint8_t previousMouseButtons[kMouseButtonCount];
  int32_t wheel;
  POINT cursor;
  uint8_t quitKey;
};

// The two-bit state: bit 1 = down now, bit 0 = down at the poll before.
inline int ButtonState(uint8_t current, uint8_t previous) { return (current >> 7) << 1 | previous >> 7; }
