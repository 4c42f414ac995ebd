// The program's state as a test starts it: the program's and the graphics'
// records as a fresh process has them, a windowed 640 x 480 main window, and
// the test's window handle and device when given.
#pragma once
#include "base/program_state.h"
#include "graphics/graphics_state.h"

inline void ResetProgramState(HWND window = nullptr, IDirect3DDevice8* device = nullptr) {
  Program() = ProgramState{};
  SetDisplaySize();
  Program().mainWindow = window;
  Program().clientWidth = Program().screenWidth;
  Program().clientHeight = Program().screenHeight;
  Graphics() = GraphicsState{};
  Graphics().isWindowed = true;
  Graphics().d3dDevice = device;
}
