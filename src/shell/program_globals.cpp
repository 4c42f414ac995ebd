#include "shell/application.h"

int screenWidth, screenHeight;
char programDirectory[kPathBufferSize];

namespace {
constexpr int kScreenWidths[] = {640, 800, 1024};
constexpr int kScreenHeights[] = {480, 600, 768};
constexpr int sizeIndex = 0;
}  // namespace

void SetDisplaySize() {
  screenWidth = kScreenWidths[sizeIndex];
  screenHeight = kScreenHeights[sizeIndex];
}
