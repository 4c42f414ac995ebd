// DirectInput for unit tests: scripted devices, device states and failures,
// and a record of the calls the program makes.
//
//   FakeDirectInput input;               // installed as DirectInput8Create until destroyed
//   input.keyboard.keys[DIK_A] = 0x80;   // what the next keyboard reads return
//   input.mouse.readResults.push_back(DIERR_INPUTLOST);
//   input.controllers.resize(9);         // nine attached controllers
//   input.controllers[2].formatResult = DIERR_INVALIDPARAM;
//
// Devices behave like DirectInput's: a read needs the data format and an
// acquired device, and a read that reports lost input unacquires it.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/dinput/dinput8.h"

class FakeDirectInput {
 public:
  struct Device {
    // Scripted results of the set-up steps.
    HRESULT createResult = DI_OK;
    HRESULT formatResult = DI_OK;
    HRESULT cooperativeLevelResult = DI_OK;
    HRESULT enumObjectsResult = DI_OK;
    std::deque<HRESULT> readResults;  // one per GetDeviceState; DI_OK when used up
    int axisCount = 0;                // absolute axes that EnumObjects reports

    // The state that successful reads return, by data format.
    uint8_t keys[256] = {};
    DIMOUSESTATE mouse = {};
    DIJOYSTATE2 joystick = {};

    // Recorded.
    bool created = false;
    bool acquired = false;
    int acquireCount = 0;
    const DIDATAFORMAT* dataFormat = nullptr;
    HWND window = nullptr;
    DWORD cooperativeLevel = 0;
    std::vector<DIPROPRANGE> ranges;  // every DIPROP_RANGE set
  };

  FakeDirectInput();
  ~FakeDirectInput();
  FakeDirectInput(const FakeDirectInput&) = delete;
  FakeDirectInput& operator=(const FakeDirectInput&) = delete;

  HRESULT createResult = DI_OK;  // of DirectInput8Create
  Device keyboard;
  Device mouse;
  std::vector<Device> controllers;  // attached game controllers, in enumeration order

  // Every call with a visible effect, as "device.Call": "keyboard.Acquire",
  // "controller[2].Release", "DirectInput.EnumDevices", "DirectInput.Release".
  std::vector<std::string> calls;
  DWORD requestedVersion = 0;
  DWORD enumClass = 0, enumFlags = 0;
  bool directInputAlive = false;
  int liveDevices = 0;

  // The instance GUID EnumDevices reports for a controller.
  static GUID ControllerGuid(size_t index);
};
