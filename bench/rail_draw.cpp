// One station rail pass (the per-frame preview of every platform segment):
// a station like the sample, with four platforms of 20 units, and a large
// generated one with 1000 platforms of 100 units; on the recording device
// (geometry and call overhead only) and as whole frames on the OpenGL device
// (run with SDL_VIDEODRIVER=offscreen where there is no display).
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "graphics/direct3d.h"
#include "platform/os/os.h"
#include "rail/station_rails.h"
#include "recording_device.h"
#include "scene/camera.h"

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

// A 640 x 480 OpenGL device on a hidden window, seen from the station view's
// starting camera, with the blending and unlit state the rails are drawn in.
class GlFrame {
 public:
  GlFrame() {
    window_ = Os().CreateWindowExA("rail benchmark", kWidth, kHeight, [](HWND w, UINT m, WPARAM p, LPARAM l) {
      return Os().DefWindowProcA(w, m, p, l);
    });
    direct3d_ = window_ ? Direct3DCreate8(220) : nullptr;
    if (!direct3d_) return;
    D3DPRESENT_PARAMETERS p{};
    p.BackBufferWidth = kWidth;
    p.BackBufferHeight = kHeight;
    p.BackBufferFormat = D3DFMT_X8R8G8B8;
    p.BackBufferCount = 1;
    p.SwapEffect = D3DSWAPEFFECT_DISCARD;
    p.hDeviceWindow = window_;
    p.Windowed = 1;
    p.EnableAutoDepthStencil = 1;
    p.AutoDepthStencilFormat = D3DFMT_D24S8;
    if (direct3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &d3dDevice) !=
        D3D_OK)
      return;
    requestedWidth = kWidth;
    requestedHeight = kHeight;
    InitViewTransforms();
    UpdateCamera(5.4977875f, 0.5235988f, 30.0f, D3DXVECTOR3(0, 0, 0));
    d3dDevice->SetTransform(D3DTS_VIEW, &viewMatrix);
    d3dDevice->SetRenderState(D3DRS_LIGHTING, 0);
    d3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  }
  ~GlFrame() {
    if (d3dDevice) d3dDevice->Release();
    d3dDevice = nullptr;
    if (direct3d_) direct3d_->Release();
    if (window_) Os().DestroyWindow(window_);
  }
  bool Ready() const { return d3dDevice != nullptr; }

  // Clear, draw, present: the lines batched by the device reach OpenGL at the latest here.
  void Draw(const std::vector<Platform>& platforms) {
    d3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    d3dDevice->BeginScene();
    DrawStationRails(platforms.data(), static_cast<int>(platforms.size()), 0.5f, D3DXVECTOR3(0, 0, 0),
                     D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    d3dDevice->EndScene();
    d3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
  }

 private:
  static constexpr int kWidth = 640, kHeight = 480;
  HWND window_ = nullptr;
  IDirect3D8* direct3d_ = nullptr;
};

void RunGlFrames(benchmark::State& state, const std::vector<Platform>& platforms) {
  GlFrame frame;
  if (!frame.Ready()) {
    state.SkipWithError("no OpenGL device (set SDL_VIDEODRIVER=offscreen without a display)");
    return;
  }
  for (auto _ : state) frame.Draw(platforms);
}

void BM_GlFrameWithoutRails(benchmark::State& state) { RunGlFrames(state, {}); }
BENCHMARK(BM_GlFrameWithoutRails)->Unit(benchmark::kMillisecond);

void BM_GlFrameSampleStation(benchmark::State& state) { RunGlFrames(state, SampleLikeStation()); }
BENCHMARK(BM_GlFrameSampleStation)->Unit(benchmark::kMillisecond);

void BM_GlFrameThousandPlatforms(benchmark::State& state) { RunGlFrames(state, GeneratedStation(1000, 100)); }
BENCHMARK(BM_GlFrameThousandPlatforms)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
