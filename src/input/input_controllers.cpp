// Up to eight game controllers, each with the axis range -1000..1000. A
// controller that fails a step is logged and left unacquired.
#include "base/debug_log.h"
#include "base/window_globals.h"
#include "input/input_devices.h"

namespace {

constexpr LONG kAxisMin = -1000, kAxisMax = 1000;

BOOL TakeController(const DIDEVICEINSTANCEA* instance, void*) {
  uint32_t slot = inputDevices.controllerCount;
  if (slot >= kMaxControllers) return DIENUM_STOP;  // an enumerator that ignored the stop
  if (FAILED(inputDevices.directInput->CreateDevice(instance->guidInstance, inputDevices.controllers[slot].put()))) {
    inputDevices.controllers[slot].reset();
    LogPrintf("ジョイスティック[%d]が初期化できません.\n", static_cast<int>(slot));
  }
  ++inputDevices.controllerCount;
  return inputDevices.controllerCount < kMaxControllers ? DIENUM_CONTINUE : DIENUM_STOP;
}

BOOL SetAxisRange(const DIDEVICEOBJECTINSTANCEA* axis, void* ref) {
  IDirectInputDevice8A* controller = inputDevices.controllers[reinterpret_cast<uintptr_t>(ref)];
  DIPROPRANGE range = {{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), axis->dwType, DIPH_BYID}, kAxisMin, kAxisMax};
  controller->SetProperty(DIPROP_RANGE, &range.diph);
  return DIENUM_CONTINUE;
}

void SetUpController(uint32_t slot) {
  IDirectInputDevice8A* controller = inputDevices.controllers[slot];
  int index = static_cast<int>(slot);
  if (controller->SetDataFormat(&c_dfDIJoystick2) != DI_OK) {
    LogPrintf("ジョイスティック[%d]のフォーマットが指定できません.\n", index);
    return;
  }
  if (controller->SetCooperativeLevel(mainWindow, kCooperativeLevel) != DI_OK) {
    LogPrintf("ジョイスティック[%d]の協調レベルが設定できません.\n", index);
    return;
  }
  if (controller->EnumObjects(SetAxisRange, reinterpret_cast<void*>(uintptr_t{slot}), DIDFT_AXIS) != DI_OK) {
    LogPrintf("ジョイスティック[%d]の軸の列挙ができません.\n", index);
    return;
  }
  controller->Acquire();
}

}  // namespace

void SetUpControllers() {
  inputDevices.controllerCount = 0;
  inputDevices.directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, TakeController, nullptr, DIEDFL_ATTACHEDONLY);
  if (inputDevices.controllerCount == 0) return;
  LogPrintf("ジョイスティック数 = %d\n", static_cast<int>(inputDevices.controllerCount));
  for (uint32_t slot = 0; slot < inputDevices.controllerCount; ++slot)
    if (inputDevices.controllers[slot]) SetUpController(slot);
}
