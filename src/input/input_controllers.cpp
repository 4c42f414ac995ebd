// Up to eight game controllers, each with the axis range -1000..1000. A
// controller that fails a step is logged and left unacquired.
#include "base/debug_log.h"
#include "base/program_state.h"
#include "input/input_state.h"

namespace {

constexpr LONG kAxisMin = -1000, kAxisMax = 1000;

BOOL TakeController(const DIDEVICEINSTANCEA* instance, void*) {
  uint32_t slot = Input().devices.controllerCount;
  if (slot >= kMaxControllers) return DIENUM_STOP;  // an enumerator that ignored the stop
  if (FAILED(
          Input().devices.directInput->CreateDevice(instance->guidInstance, Input().devices.controllers[slot].put()))) {
    Input().devices.controllers[slot].reset();
    LogPrintf("ジョイスティック[%d]が初期化できません.\n", static_cast<int>(slot));
  }
  ++Input().devices.controllerCount;
  return Input().devices.controllerCount < kMaxControllers ? DIENUM_CONTINUE : DIENUM_STOP;
}

BOOL SetAxisRange(const DIDEVICEOBJECTINSTANCEA* axis, void* ref) {
  IDirectInputDevice8A* controller = Input().devices.controllers[reinterpret_cast<uintptr_t>(ref)];
  DIPROPRANGE range = {{sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), axis->dwType, DIPH_BYID}, kAxisMin, kAxisMax};
  controller->SetProperty(DIPROP_RANGE, &range.diph);
  return DIENUM_CONTINUE;
}

void SetUpController(uint32_t slot) {
  IDirectInputDevice8A* controller = Input().devices.controllers[slot];
  int index = static_cast<int>(slot);
  if (controller->SetDataFormat(&c_dfDIJoystick2) != DI_OK) {
    LogPrintf("ジョイスティック[%d]のフォーマットが指定できません.\n", index);
    return;
  }
  if (controller->SetCooperativeLevel(Program().mainWindow, kCooperativeLevel) != DI_OK) {
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
  Input().devices.controllerCount = 0;
  Input().devices.directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, TakeController, nullptr, DIEDFL_ATTACHEDONLY);
  if (Input().devices.controllerCount == 0) return;
  LogPrintf("ジョイスティック数 = %d\n", static_cast<int>(Input().devices.controllerCount));
  for (uint32_t slot = 0; slot < Input().devices.controllerCount; ++slot)
    if (Input().devices.controllers[slot]) SetUpController(slot);
}
