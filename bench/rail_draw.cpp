// One station rail pass (the per-frame preview of every platform segment):
// a station like the sample, with four platforms of 20 units, and a large
// generated one with 1000 platforms of 100 units, on the recording device
// (geometry and call overhead only).
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "graphics/direct3d.h"
#include "rail/station_rails.h"
#include "recording_device.h"

namespace {

using Platform = std::array<float, 6>;

std::vector<Platform> SampleLikeStation() {
  std::vector<Platform> platforms;
  for (float z : {-4.8f, 0.3f, 2.3f, 6.3f}) platforms.push_back({-10, 0.25f, z, 10, 0.25f, z});
  return platforms;
}

std::vector<Platform> GeneratedStation(int count, float length) {
  std::vector<Platform> platforms;
  for (int i = 0; i < count; ++i) platforms.push_back({-length / 2, 0.05f, 4.0f * i, length / 2, 0.05f, 4.0f * i});
  return platforms;
}

void RunPass(benchmark::State& state, const std::vector<Platform>& platforms) {
  RecordingDevice device;
  d3dDevice = &device;
  const D3DXVECTOR3 origin(0, 0, 0), forward(0, 0, 1), up(0, 1, 0);
  size_t lines = 0;
  for (auto _ : state) {
    DrawStationRails(platforms.data(), static_cast<int>(platforms.size()), 0.5f, origin, forward, up);
    state.PauseTiming();
    lines = device.Count("DrawPrimitiveUP");
    device.ClearCalls();
    state.ResumeTiming();
  }
  d3dDevice = nullptr;
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
}

void BM_RailPassSampleStation(benchmark::State& state) { RunPass(state, SampleLikeStation()); }
BENCHMARK(BM_RailPassSampleStation)->Unit(benchmark::kMicrosecond);

void BM_RailPassThousandPlatforms(benchmark::State& state) { RunPass(state, GeneratedStation(1000, 100)); }
BENCHMARK(BM_RailPassThousandPlatforms)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
