// The DirectInput object and the devices taken from it.
#pragma once
#include <cstdint>

#include "platform/d3d/com.h"
#include "platform/dinput/dinput8.h"

constexpr uint32_t kMaxControllers = 8;
// Non-exclusive, background: the cooperative level of every device.
constexpr DWORD kCooperativeLevel = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;

struct InputDevices {
  Com<IDirectInput8A> directInput;
  Com<IDirectInputDevice8A> keyboard;
  Com<IDirectInputDevice8A> mouse;
  // A controller whose creation failed keeps its slot, empty.
  Com<IDirectInputDevice8A> controllers[kMaxControllers];
  uint32_t controllerCount = 0;
};

// Takes up to kMaxControllers attached game controllers; never fails.
void SetUpControllers();
