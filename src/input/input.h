// Per-frame input state: two-bit key and button states (bit 1 = down at the
// last poll, bit 0 = down at the poll before), wheel and cursor position.
// Diagnostic: VDL_TRACE_INPUT=1 in the environment logs a line for each poll
// that changes a key or button or moves the cursor or the wheel.
#pragma once
#include <cstdint>

#include "platform/dinput/dinput8.h"
#include "platform/os/os.h"

int InitDirectInput();
void FreeInput();
void PollInput();
void ClearInputState();
int KeyState(int dikCode);
int MouseButtonState(int index);
POINT CursorPosition();
int32_t WheelDelta();
void SetCursorClientPos(int x, int y);
void SetQuitKey(uint8_t dikCode);
void PollVirtualKeys();
int VirtualKeyState(int virtualKey);

// Reading the two-bit states: down now (held or just pressed), or pressed in this frame.
inline bool IsHeld(int state) { return state >= 2; }
inline bool IsPressed(int state) { return state == 2; }
