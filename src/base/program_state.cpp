#include "base/program_state.h"

namespace {
constexpr int kScreenWidths[] = {640, 800, 1024};
constexpr int kScreenHeights[] = {480, 600, 768};
constexpr int sizeIndex = 0;

void EmptyFrameRoutine() {}
}  // namespace

ProgramState& Program() {
  static ProgramState state;
  return state;
}

void SetDisplaySize() {
  Program().screenWidth = kScreenWidths[sizeIndex];
  Program().screenHeight = kScreenHeights[sizeIndex];
}

void SetFrameRoutine(FrameRoutine routine) {
  Program().application.frameRoutine = routine ? routine : EmptyFrameRoutine;
}

void SetCaption(const char* text) { Os().SetWindowTextA(Program().mainWindow, text); }

void SendCloseMessage() { Os().SendMessageA(Program().mainWindow, WM_CLOSE, 0, 0); }
