// The per-frame poll of the keyboard and the mouse, and the quit key.
#include <cstring>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "graphics/direct3d.h"
#include "input/input.h"
#include "input/input_state.h"
#include "input/input_trace.h"

namespace {

void PollKeyboard() {
  std::memcpy(Input().tables.previousKeys, Input().tables.keys, kKeyCount);
  IDirectInputDevice8A* keyboard = Input().devices.keyboard;
  HRESULT result = keyboard ? keyboard->GetDeviceState(kKeyCount, Input().tables.keys) : DIERR_NOTINITIALIZED;
  if (FAILED(result)) {
    std::memset(Input().tables.keys, 0, kKeyCount);
    if (result == DIERR_INPUTLOST) {
      LogPrintf("キーボードのアクセス権を失いました.\n");
      keyboard->Acquire();
    }
  }
}

// In windowed mode the cursor is kept to the client area; the right and bottom
// edges read as the client width and height.
void ReadCursor() {
  POINT cursor = Input().tables.cursor;
  if (!Os().GetCursorPos(&cursor)) return;
  if (Graphics().isWindowed) {
    Os().ScreenToClient(Program().mainWindow, &cursor);
    cursor.x = cursor.x < Program().clientWidth ? cursor.x : Program().clientWidth;
    if (cursor.x <= 0) cursor.x = 0;
    cursor.y = cursor.y < Program().clientHeight ? cursor.y : Program().clientHeight;
    if (cursor.y <= 0) cursor.y = 0;
  }
  Input().tables.cursor = cursor;
}

// A failed read keeps the buttons and the wheel as they were, so a held button
// stays held and no edge arises.
void PollMouse() {
  ReadCursor();
  std::memcpy(Input().tables.previousMouseButtons, Input().tables.mouseButtons, kMouseButtonCount);
  IDirectInputDevice8A* mouse = Input().devices.mouse;
  DIMOUSESTATE state;
  HRESULT result = mouse ? mouse->GetDeviceState(sizeof state, &state) : DIERR_NOTINITIALIZED;
  if (FAILED(result)) {
    if (result == DIERR_INPUTLOST) {
      LogPrintf("マウスのアクセス権を失いました.\n");
      mouse->Acquire();
    }
    return;
  }
  Input().tables.wheel = state.lZ;
  std::memcpy(Input().tables.mouseButtons, state.rgbButtons, kMouseButtonCount);
}

}  // namespace

void PollInput() {
  PollKeyboard();
  PollMouse();
  TraceInputPoll();
  if (Input().tables.keys[Input().tables.quitKey] & 0x80) SendCloseMessage();
}
