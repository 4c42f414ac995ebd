// One station rail pass (the per-frame preview of every platform segment):
// the sample station plug-in, and a large generated station with 1000
// platforms of 100 units; on the recording device (geometry and call overhead
// only) and as whole frames on the OpenGL device (headless where there is no
// display).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "graphics/direct3d.h"
#include "headless_device.h"
#include "platform/d3d/read_back.h"
#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "rail/station_rails.h"
#include "recording_device.h"
#include "scene/camera.h"
#include "test_paths.h"

namespace {

using Run = void (*)(benchmark::State&, const std::vector<PlatformSegment>&);

// The sample's platforms as the station plug-in reads and scales them.
std::vector<PlatformSegment> SampleStation() {
  std::vector<PlatformSegment> platforms;
  FILE* file = std::fopen(SourcePath("samples/Station/Station.txt").c_str(), "r");
  if (!file) return platforms;
  platforms = (new StationPlugin("Station", file, false))->platforms;
  std::fclose(file);
  Plugins().stationList.DestroyObjects();
  return platforms;
}

void RunOnSampleStation(benchmark::State& state, Run run) {
  std::vector<PlatformSegment> platforms = SampleStation();
  if (platforms.empty()) {
    state.SkipWithError("samples/Station/Station.txt gave no platforms");
    return;
  }
  run(state, platforms);
}

std::vector<PlatformSegment> GeneratedStation(int count, float length) {
  std::vector<PlatformSegment> platforms;
  for (int i = 0; i < count; ++i) platforms.push_back({-length / 2, 0.05f, 4.0f * i, length / 2, 0.05f, 4.0f * i});
  return platforms;
}

void RunPass(benchmark::State& state, const std::vector<PlatformSegment>& platforms) {
  RecordingDevice device;
  Graphics().d3dDevice = &device;
  const D3DXVECTOR3 origin(0, 0, 0), forward(0, 0, 1), up(0, 1, 0);
  auto pass = [&] { DrawStationRails(platforms.data(), static_cast<int>(platforms.size()), 0.5f, origin, forward, up); };
  pass();
  const size_t lines = device.Count("DrawPrimitiveUP");
  device.ClearCalls();
  for (auto _ : state) {
    pass();
    device.ClearCalls();  // pausing the timer would cost more than a small pass
  }
  Graphics().d3dDevice = nullptr;
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}

void BM_RailPassSampleStation(benchmark::State& state) { RunOnSampleStation(state, RunPass); }
BENCHMARK(BM_RailPassSampleStation)->Unit(benchmark::kMicrosecond);

void BM_RailPassThousandPlatforms(benchmark::State& state) { RunPass(state, GeneratedStation(1000, 100)); }
BENCHMARK(BM_RailPassThousandPlatforms)->Unit(benchmark::kMillisecond);

// A 640 x 480 OpenGL device on a hidden window, seen from the station view's
// starting camera, with the blending and unlit state the rails are drawn in.
class GlFrame {
 public:
  GlFrame() {
    if (!headless_.Create(kWidth, kHeight)) return;
    Graphics().d3dDevice = headless_.device;
    Graphics().requestedWidth = kWidth;
    Graphics().requestedHeight = kHeight;
    InitViewTransforms();
    UpdateCamera(5.4977875f, 0.5235988f, 30.0f, D3DXVECTOR3(0, 0, 0));
    Graphics().d3dDevice->SetTransform(D3DTS_VIEW, &Graphics().viewMatrix);
    Graphics().d3dDevice->SetRenderState(D3DRS_LIGHTING, 0);
    Graphics().d3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    Graphics().d3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    Graphics().d3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  }
  ~GlFrame() { Graphics().d3dDevice = nullptr; }
  bool Ready() const { return Graphics().d3dDevice != nullptr; }

  // Clear, draw, present: the lines batched by the device reach OpenGL at the latest here.
  void Draw(const std::vector<PlatformSegment>& platforms) {
    Graphics().d3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    Graphics().d3dDevice->BeginScene();
    DrawStationRails(platforms.data(), static_cast<int>(platforms.size()), 0.5f, D3DXVECTOR3(0, 0, 0),
                     D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    Graphics().d3dDevice->EndScene();
    Graphics().d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
    ReadBackBuffer(Graphics().d3dDevice, pixels_);  // waits until the rasteriser has finished the frame
  }

 private:
  static constexpr UINT kWidth = 640, kHeight = 480;
  HeadlessDevice headless_;
  std::vector<uint32_t> pixels_;
};

void RunGlFrames(benchmark::State& state, const std::vector<PlatformSegment>& platforms) {
  GlFrame frame;
  if (!frame.Ready()) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  for (auto _ : state) frame.Draw(platforms);
}

void BM_GlFrameWithoutRails(benchmark::State& state) { RunGlFrames(state, {}); }
BENCHMARK(BM_GlFrameWithoutRails)->Unit(benchmark::kMillisecond);

void BM_GlFrameSampleStation(benchmark::State& state) { RunOnSampleStation(state, RunGlFrames); }
BENCHMARK(BM_GlFrameSampleStation)->Unit(benchmark::kMillisecond);

void BM_GlFrameThousandPlatforms(benchmark::State& state) { RunGlFrames(state, GeneratedStation(1000, 100)); }
BENCHMARK(BM_GlFrameThousandPlatforms)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
