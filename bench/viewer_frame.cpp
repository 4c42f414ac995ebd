// One whole viewer frame for each sample plug-in on the real OpenGL device
// (headless unless the environment chooses a display): the frame routine of its kind,
// model, rails, overlay and Present, with a read-back so the rasteriser has
// finished. Frame pacing is not included: this is the time a frame costs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/program_state.h"
#include "graphics/direct3d.h"
#include "headless_device.h"
#include "platform/d3d/read_back.h"
#include "shell/main_window.h"
#include "viewer/frame_routines.h"
#include "viewer/plugin_loading.h"

namespace {

struct Sample {
  const char* directory;
  const char* definitionFile;  // null: a bare model
  PluginKind kind;
  void (*routine)();
};

const Sample kSamples[] = {
    {"Train", "Train.txt", kTrainKind, TrainFrame},
    {"Struct", "Struct.txt", kStructKind, StructFrame},
    {"Station", "Station.txt", kStationKind, StationFrame},
    {"Surface", "Surface.txt", kSurfaceKind, SurfaceFrame},
    {"model", nullptr, kStructKind, StructFrame},
};

bool StartDevice() {
  static const bool ready = [] {
    UseHeadlessDisplay();
    SetDisplaySize();
    return CreateMainWindow() && InitDirect3D(Program().screenWidth, Program().screenHeight);
  }();
  return ready;
}

bool Load(const Sample& sample) {
  SetupInfoBlocks();
  std::string directory = std::string(VDL_SOURCE_DIR) + "/samples/" + sample.directory;
  if (chdir(directory.c_str()) != 0) return false;
  if (!sample.definitionFile) return LoadBareModel("Car.x") == 1;
  FILE* file = std::fopen(sample.definitionFile, "r");
  if (!file) return false;
  LoadPlugin(sample.kind, file);
  return true;
}

void BM_ViewerFrame(benchmark::State& state) {
  const Sample& sample = kSamples[state.range(0)];
  state.SetLabel(sample.directory);
  if (!StartDevice() || !Load(sample)) {
    state.SkipWithError("no OpenGL device or sample");
    return;
  }
  std::vector<uint32_t> pixels;
  for (auto _ : state) {
    sample.routine();
    ReadBackBuffer(Graphics().d3dDevice, pixels);
  }
  ViewerShutdown();
}
BENCHMARK(BM_ViewerFrame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
