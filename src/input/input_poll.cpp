// The per-frame poll of the keyboard and the mouse, and the quit key.
#include <cstring>

#include "base/debug_log.h"
#include "base/window_globals.h"
#include "graphics/direct3d.h"
#include "input/input.h"
#include "input/input_devices.h"
#include "input/input_tables.h"
#include "input/input_trace.h"

namespace {

void PollKeyboard() {
  std::memcpy(inputTables.previousKeys, inputTables.keys, kKeyCount);
  IDirectInputDevice8A* keyboard = inputDevices.keyboard;
  HRESULT result = keyboard ? keyboard->GetDeviceState(kKeyCount, inputTables.keys) : DIERR_NOTINITIALIZED;
  if (FAILED(result)) {
    std::memset(inputTables.keys, 0, kKeyCount);
    if (result == DIERR_INPUTLOST) {
      LogPrintf("キーボードのアクセス権を失いました.\n");
      keyboard->Acquire();
    }
  }
}

// In windowed mode the cursor is kept to the client area; the right and bottom
// edges read as the client width and height.
void ReadCursor() {
  POINT cursor = inputTables.cursor;
  if (!Os().GetCursorPos(&cursor)) return;
  if (isWindowed) {
    Os().ScreenToClient(mainWindow, &cursor);
    cursor.x = cursor.x < clientWidth ? cursor.x : clientWidth;
    if (cursor.x <= 0) cursor.x = 0;
    cursor.y = cursor.y < clientHeight ? cursor.y : clientHeight;
    if (cursor.y <= 0) cursor.y = 0;
  }
  inputTables.cursor = cursor;
}

// A failed read keeps the buttons and the wheel as they were, so a held button
// stays held and no edge arises.
void PollMouse() {
  ReadCursor();
  std::memcpy(inputTables.previousMouseButtons, inputTables.mouseButtons, kMouseButtonCount);
  IDirectInputDevice8A* mouse = inputDevices.mouse;
  DIMOUSESTATE state;
  HRESULT result = mouse ? mouse->GetDeviceState(sizeof state, &state) : DIERR_NOTINITIALIZED;
  if (FAILED(result)) {
    if (result == DIERR_INPUTLOST) {
      LogPrintf("マウスのアクセス権を失いました.\n");
      mouse->Acquire();
    }
    return;
  }
  inputTables.wheel = state.lZ;
  std::memcpy(inputTables.mouseButtons, state.rgbButtons, kMouseButtonCount);
}

}  // namespace

void PollInput() {
  PollKeyboard();
  PollMouse();
  TraceInputPoll();
  if (inputTables.keys[inputTables.quitKey] & 0x80) SendCloseMessage();
}
