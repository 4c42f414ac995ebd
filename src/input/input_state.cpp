// The accessors of the per-frame input state.
#include "base/program_state.h"
#include "graphics/direct3d.h"
#include "input/input.h"
#include "input/input_state.h"

InputState& Input() {
  static InputState state;
  return state;
}

// Out-of-range codes and indices read as up rather than past the tables.
int KeyState(int dikCode) {
  if (dikCode < 0 || dikCode >= kKeyCount) return 0;
  return ButtonState(Input().tables.keys[dikCode], Input().tables.previousKeys[dikCode]);
}

int MouseButtonState(int index) {
  if (index < 0 || index >= kMouseButtonCount) return 0;
  return ButtonState(Input().tables.mouseButtons[index], Input().tables.previousMouseButtons[index]);
}

POINT CursorPosition() { return Input().tables.cursor; }

int32_t WheelDelta() { return Input().tables.wheel; }

void SetCursorClientPos(int x, int y) {
  POINT point = {x, y};
  if (Graphics().isWindowed) Os().ClientToScreen(Program().mainWindow, &point);
  Os().SetCursorPos(point.x, point.y);
}

void SetQuitKey(uint8_t dikCode) { Input().tables.quitKey = dikCode; }

void ClearInputState() {
  for (int i = 0; i < kKeyCount; ++i) Input().tables.keys[i] = Input().tables.previousKeys[i] = 0;
  for (int i = 0; i < kMouseButtonCount; ++i)
    Input().tables.mouseButtons[i] = Input().tables.previousMouseButtons[i] = 0;
}
