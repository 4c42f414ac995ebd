// One frame of the viewer's overlay on the real OpenGL device through the
// program's own start-up path: a five-line info block, the two switch lines and
// the frame rate (0: the frame alone), then Present and a read-back so the
// rasteriser has finished the frame.
#include <benchmark/benchmark.h>

#include <vector>

#include "base/program_state.h"
#include "graphics/direct3d.h"
#include "graphics/overlay_text.h"
#include "graphics/text_lines.h"
#include "headless_device.h"
#include "platform/d3d/read_back.h"
#include "shell/main_window.h"

namespace {

struct Viewer {
  Viewer() {
    UseHeadlessDisplay();
    SetDisplaySize();
    ready = CreateMainWindow() && InitDirect3D(Program().screenWidth, Program().screenHeight);
    info.Setup(5, 5, Program().screenHeight - 75);
    info.AddLine("<PLUGIN>");
    info.AddLine("名前: 試験用 電車 & 客車");
    info.AddLine("作者: 山田 太郎");
    info.AddLinef("車体長 = %.2f m\t幅 = %.2f m", 20.0, 2.95);
    info.AddLinef("最高速度 = %d km/h", 120);
  }
  ~Viewer() {
    FreeDirect3D();
    if (Program().mainWindow) Os().DestroyWindow(Program().mainWindow);
  }
  bool ready = false;
  TextLines info;
};

void DrawOverlay(const TextLines& info) {
  info.Draw();
  DrawOverlayTextf(Program().screenWidth - 180, 5, "時間帯(TAB)    : %s", "昼");
  DrawOverlayTextf(Program().screenWidth - 180, 19, "フィルタ(SPACE): %s", "最近補完");
  DrawFps(5, 5);
}

void BM_OverlayFrame(benchmark::State& state) {
  static Viewer viewer;
  if (!viewer.ready) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  Program().framePacing.fps = 29.97f;
  std::vector<uint32_t> pixels;
  for (auto _ : state) {
    BeginFrame(0xff000000);
    if (state.range(0)) DrawOverlay(viewer.info);
    ReadBackBuffer(Graphics().d3dDevice, pixels);
    EndFrame();
  }
}
BENCHMARK(BM_OverlayFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
