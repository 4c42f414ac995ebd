#include "base/program_globals.h"

Application application;
FramePacing framePacing;
int screenWidth, screenHeight;
char programDirectory[kPathBufferSize];
uint8_t nightMode = 0;
int32_t isLinearFilter = 0;

namespace {
constexpr int kScreenWidths[] = {640, 800, 1024};
constexpr int kScreenHeights[] = {480, 600, 768};
constexpr int sizeIndex = 0;

void EmptyFrameRoutine() {}
}  // namespace

void SetDisplaySize() {
  screenWidth = kScreenWidths[sizeIndex];
  screenHeight = kScreenHeights[sizeIndex];
}

void SetFrameRoutine(FrameRoutine routine) { application.frameRoutine = routine ? routine : EmptyFrameRoutine; }
