// The fixed costs of a first frame on the real OpenGL device (headless, Mesa's
// llvmpipe unless the environment chooses otherwise): a new window, context and
// fixed-function program, then the first draws of the kinds a viewer frame
// makes (a lit, textured model; an unlit line; a screen-space textured quad
// for the overlay) and a read-back, which run the rasteriser's shader compiles.
// The difference of the two benchmarks is what the first draws cost.
#include <benchmark/benchmark.h>

#include <vector>

#include "headless_device.h"
#include "platform/d3d/read_back.h"

namespace {

struct LitTexturedVertex {
  float x, y, z, nx, ny, nz, u, v;
};
struct LineVertex {
  float x, y, z;
  D3DCOLOR diffuse;
};
struct ScreenVertex {
  float x, y, z, rhw;
  D3DCOLOR diffuse;
  float u, v;
};

void DrawFirstFrame(IDirect3DDevice8* device) {
  IDirect3DTexture8* texture = nullptr;
  device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture);
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {1, 1, 1, 1};
  light.Direction = {0, -1, 1};
  device->SetLight(0, &light);
  device->LightEnable(0, 1);
  device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF203040, 1.0f, 0);
  device->BeginScene();
  device->SetRenderState(D3DRS_LIGHTING, 1);
  device->SetTexture(0, texture);
  LitTexturedVertex model[3] = {{-0.8f, -0.8f, 0.5f, 0, 0, -1, 0, 0},
                                {0.0f, 0.8f, 0.5f, 0, 0, -1, 0.5f, 1},
                                {0.8f, -0.8f, 0.5f, 0, 0, -1, 1, 0}};
  device->SetVertexShader(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, model, sizeof model[0]);
  device->SetRenderState(D3DRS_LIGHTING, 0);
  device->SetTexture(0, nullptr);
  LineVertex line[2] = {{-1, 0, 0.2f, 0xFFFF0000}, {1, 0, 0.2f, 0xFFFF0000}};
  device->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
  device->DrawPrimitiveUP(D3DPT_LINELIST, 1, line, sizeof line[0]);
  device->SetTexture(0, texture);
  ScreenVertex quad[6] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0},  {32, 0, 0, 1, 0xFFFFFFFF, 1, 0},
                          {0, 16, 0, 1, 0xFFFFFFFF, 0, 1}, {0, 16, 0, 1, 0xFFFFFFFF, 0, 1},
                          {32, 0, 0, 1, 0xFFFFFFFF, 1, 0}, {32, 16, 0, 1, 0xFFFFFFFF, 1, 1}};
  device->SetVertexShader(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, quad, sizeof quad[0]);
  device->SetTexture(0, nullptr);
  device->EndScene();
  device->Present(nullptr, nullptr, nullptr, nullptr);
  std::vector<uint32_t> pixels;
  ReadBackBuffer(device, pixels);
  texture->Release();
}

void BM_NewDevice(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessDevice device;
    if (!device.Create(640, 480)) {
      state.SkipWithError("no OpenGL device");
      return;
    }
  }
}

void BM_NewDeviceAndFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessDevice device;
    if (!device.Create(640, 480)) {
      state.SkipWithError("no OpenGL device");
      return;
    }
    DrawFirstFrame(device.device);
  }
}

BENCHMARK(BM_NewDevice)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NewDeviceAndFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
