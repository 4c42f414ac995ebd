// The accessors of the per-frame input state.
#include "base/window_globals.h"
#include "graphics/direct3d.h"
#include "input/input.h"
#include "input/input_tables.h"

InputTables inputTables;

// Out-of-range codes and indices read as up rather than past the tables.
int KeyState(int dikCode) {
  if (dikCode < 0 || dikCode >= kKeyCount) return 0;
  return ButtonState(inputTables.keys[dikCode], inputTables.previousKeys[dikCode]);
}

int MouseButtonState(int index) {
  if (index < 0 || index >= kMouseButtonCount) return 0;
  return ButtonState(inputTables.mouseButtons[index], inputTables.previousMouseButtons[index]);
}

POINT CursorPosition() { return inputTables.cursor; }

int32_t WheelDelta() { return inputTables.wheel; }

void SetCursorClientPos(int x, int y) {
  POINT point = {x, y};
  if (isWindowed) Os().ClientToScreen(mainWindow, &point);
  Os().SetCursorPos(point.x, point.y);
}

void SetQuitKey(uint8_t dikCode) { inputTables.quitKey = dikCode; }

void ClearInputState() {
  for (int i = 0; i < kKeyCount; ++i) inputTables.keys[i] = inputTables.previousKeys[i] = 0;
  for (int i = 0; i < kMouseButtonCount; ++i) inputTables.mouseButtons[i] = inputTables.previousMouseButtons[i] = 0;
}
