// Set-up and release of the DirectInput object, the keyboard and the mouse.
#include "input/input_devices.h"

#include "base/debug_log.h"
#include "base/error_box.h"
#include "base/program_state.h"
#include "input/input.h"
#include "input/input_state.h"
#include "input/input_trace.h"

namespace {

struct SystemDeviceTexts {
  const char* create;
  const char* format;
  const char* cooperativeLevel;
};

// Creates the device, sets its data format and cooperative level and acquires
// it; a failing step shows its message and leaves the rest undone.
int SetUpSystemDevice(const GUID& guid, const DIDATAFORMAT& format, const SystemDeviceTexts& texts,
                      Com<IDirectInputDevice8A>& device) {
  if (FAILED(Input().devices.directInput->CreateDevice(guid, device.put()))) {
    device.reset();
    ShowErrorBox(texts.create);
    return 0;
  }
  if (FAILED(device->SetDataFormat(&format))) {
    ShowErrorBox(texts.format);
    return 0;
  }
  if (FAILED(device->SetCooperativeLevel(Program().mainWindow, kCooperativeLevel))) {
    ShowErrorBox(texts.cooperativeLevel);
    return 0;
  }
  device->Acquire();
  return 1;
}

void ReleaseDevice(Com<IDirectInputDevice8A>& device) {
  if (!device) return;
  device->Unacquire();
  device.reset();
}

}  // namespace

int InitDirectInput() {
  LogPrintf("InitDirectInput\n");
  StartInputTrace();
  if (FAILED(DirectInput8Create(DIRECTINPUT_VERSION, Input().devices.directInput.put()))) {
    Input().devices.directInput.reset();
    ShowErrorBox("DirectInputが初期化できませんでした.");
    return 0;
  }
  const SystemDeviceTexts keyboardTexts = {"キーボードデバイスが作成できません.", "キーボードフォーマットが設定できません.",
                                           "キーボードの協調レベルが設定できません."};
  if (!SetUpSystemDevice(GUID_SysKeyboard, c_dfDIKeyboard, keyboardTexts, Input().devices.keyboard)) return 0;
  Input().tables.quitKey = DIK_ESCAPE;

  // The mouse's data-format failure shows the keyboard's text.
  const SystemDeviceTexts mouseTexts = {"マウスデバイスが作成できません.", "キーボードフォーマットが設定できません.",
                                        "マウスの協調レベルが設定できません."};
  if (!SetUpSystemDevice(GUID_SysMouse, c_dfDIMouse, mouseTexts, Input().devices.mouse)) return 0;
  SetCursorClientPos(Program().clientWidth / 2, Program().clientHeight / 2);

  SetUpControllers();
  return 1;
}

void FreeInput() {
  LogPrintf("FreeInput\n");
  for (uint32_t slot = 0; slot < Input().devices.controllerCount; ++slot)
    ReleaseDevice(Input().devices.controllers[slot]);
  Input().devices.controllerCount = 0;
  ReleaseDevice(Input().devices.mouse);
  ReleaseDevice(Input().devices.keyboard);
  Input().devices.directInput.reset();
}
