// The asynchronous key table by virtual-key code, refreshed from the message
// pump. A key that went down and up since the previous poll counts as down once.
#include <cstring>

#include "input/input.h"

namespace {

constexpr int kVirtualKeyCount = 256;
constexpr int16_t kDownOrWentDown = static_cast<int16_t>(0x8001);

uint8_t virtualKeys[kVirtualKeyCount];
uint8_t previousVirtualKeys[kVirtualKeyCount];

}  // namespace

void PollVirtualKeys() {
  std::memcpy(previousVirtualKeys, virtualKeys, kVirtualKeyCount);
  for (int code = 0; code < kVirtualKeyCount; ++code)
    virtualKeys[code] = (Os().GetAsyncKeyState(code) & kDownOrWentDown) != 0;
}

int VirtualKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= kVirtualKeyCount) return 0;
  return previousVirtualKeys[virtualKey] | virtualKeys[virtualKey] << 1;
}
