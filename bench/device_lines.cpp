// One frame of the rail preview's kind on the real OpenGL device: a clear and
// 10 000 user-pointer line draws of two vertices each (0: the frame alone),
// then Present and a read-back so the rasteriser has finished the frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "headless_device.h"
#include "platform/d3d/gl_device.h"
#include "platform/d3d/read_back.h"

namespace {

struct LineVertex {
  float x, y, z;
  D3DCOLOR diffuse;
};

// Short chords along circles, as the rail curves are drawn, blinking alpha.
std::vector<LineVertex> Chords(int count) {
  std::vector<LineVertex> vertices;
  for (int i = 0; i < count; ++i) {
    float ring = 0.1f + 0.8f * static_cast<float>(i % 100) / 100.0f;
    float a = static_cast<float>(i / 100) * 0.0628f;
    D3DCOLOR colour = i % 3 ? 0x80ff00ffu : 0x80ff0000u;
    vertices.push_back({ring * std::cos(a), ring * std::sin(a), 0.5f, colour});
    vertices.push_back({ring * std::cos(a + 0.0628f), ring * std::sin(a + 0.0628f), 0.5f, colour});
  }
  return vertices;
}

void DrawFrame(benchmark::State& state, bool separately) {
  HeadlessDevice d;
  if (!d.Create(640, 480)) {
    state.SkipWithError("no OpenGL device");
    return;
  }
  IDirect3DDevice8* device = d.device;
  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  device->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
  const int kLines = static_cast<int>(state.range(0));
  std::vector<LineVertex> vertices = Chords(kLines);
  std::vector<uint32_t> pixels;
  GlDevice* gl = dynamic_cast<GlDevice*>(device);
  uint64_t drawsBefore = gl->GlDrawCount();
  for (auto _ : state) {
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xff000000, 1.0f, 0);
    for (int i = 0; i < kLines; ++i) {
      // A state that leaves the picture alone but ends the batch: one draw per line.
      if (separately) device->SetRenderState(D3DRS_AMBIENT, static_cast<DWORD>(i & 1));
      device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
      device->DrawPrimitiveUP(D3DPT_LINELIST, 1, &vertices[2 * i], sizeof(LineVertex));
    }
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
    ReadBackBuffer(device, pixels);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["gl_draws_per_frame"] =
      static_cast<double>(gl->GlDrawCount() - drawsBefore) / static_cast<double>(state.iterations());
  state.counters["lines_per_second"] =
      benchmark::Counter(static_cast<double>(kLines), benchmark::Counter::kIsIterationInvariantRate);
  state.SetLabel(gl->Renderer());
}

void BM_LineFrameBatched(benchmark::State& state) { DrawFrame(state, false); }
void BM_LineFrameOneDrawPerLine(benchmark::State& state) { DrawFrame(state, true); }

BENCHMARK(BM_LineFrameBatched)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineFrameOneDrawPerLine)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
