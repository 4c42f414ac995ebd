// Recording implementations of IDirect3D8 and IDirect3DDevice8 for unit tests.
// Every call is recorded in order with its arguments; the devices keep their
// states so tests (and the code under test, through Get*) can read them; the
// results of the set-up calls are scripted.
//
//   RecordingDevice device;          // on the stack
//   Graphics().d3dDevice = &device;  // the code under test may Release it once
//   ... code under test ...
//   EXPECT_EQ(device.Count("DrawPrimitiveUP"), 3u);
//
// Each double holds one hidden reference of its own, so a Release by the code
// under test never deletes an object that lives on the stack.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/d3d/d3d8.h"
#include "platform/d3d/device_states.h"
#include "platform/d3d/memory_device.h"
#include "platform/d3d/texture_layout.h"

struct DeviceCall {
  std::string name;
  std::vector<double> args;  // the numeric arguments, in order
  D3DMATRIX matrix{};        // SetTransform
  D3DMATERIAL8 material{};   // SetMaterial
  D3DLIGHT8 light{};         // SetLight
  D3DPRESENT_PARAMETERS presentation{};  // CreateDevice
  const void* object = nullptr;  // the texture or buffer passed (SetTexture, SetStreamSource, SetIndices)
  DWORD fvf = 0;                 // vertex format in use (draw calls)
  std::vector<uint8_t> vertices;  // DrawPrimitiveUP: a copy of the caller's vertices

  double Arg(size_t i) const { return i < args.size() ? args[i] : -1.0; }
};

// One vertex of a recorded DrawPrimitiveUP, decoded by its vertex format;
// absent elements are zero.
struct RecordedVertex {
  D3DVECTOR position{};
  float rhw = 0;
  D3DVECTOR normal{};
  D3DCOLOR diffuse = 0;
  float u = 0, v = 0;
};
std::vector<RecordedVertex> DecodeVertices(const DeviceCall& call);

class CallRecord {
 public:
  std::vector<DeviceCall> calls;

  size_t Count(std::string_view name) const;
  std::vector<const DeviceCall*> Named(std::string_view name) const;
  // Names of all calls in order, for comparing sequences.
  std::vector<std::string> Names() const;
  void ClearCalls() { calls.clear(); }

 protected:
  DeviceCall& Record(const char* name, std::initializer_list<double> args);
};

// The product's memory texture and buffers, counted while they live.
class RecordingTexture : public MemoryTexture {
 public:
  static inline int liveCount = 0;  // textures not yet released, over all devices

  RecordingTexture(UINT width, UINT height, UINT levels, D3DFORMAT format, const TextureLayout& layout)
      : MemoryTexture(width, height, levels, format, layout, TextureBudgetShare()) {
    ++liveCount;
  }
  ~RecordingTexture() override { --liveCount; }
  HRESULT UnlockRect(UINT level) override;

  int unlockCount = 0;
};

class RecordingVertexBuffer : public MemoryVertexBuffer {
 public:
  static inline int liveCount = 0;
  explicit RecordingVertexBuffer(UINT length) : MemoryVertexBuffer(length) { ++liveCount; }
  ~RecordingVertexBuffer() override { --liveCount; }
};

class RecordingIndexBuffer : public MemoryIndexBuffer {
 public:
  static inline int liveCount = 0;
  RecordingIndexBuffer(UINT length, D3DFORMAT format) : MemoryIndexBuffer(length, format) { ++liveCount; }
  ~RecordingIndexBuffer() override { --liveCount; }
};

class RecordingDevice : public IDirect3DDevice8, public CallRecord {
 public:
  RecordingDevice();
  ~RecordingDevice() override;
  // References taken with AddRef beyond the one every object starts with.
  int ExtraReferences();

  // Scripted results.
  HRESULT cooperativeLevel = D3D_OK;
  HRESULT beginSceneResult = D3D_OK;
  HRESULT endSceneResult = D3D_OK;
  HRESULT presentResult = D3D_OK;
  HRESULT createTextureResult = D3D_OK;
  UINT availableTextureMem = 64u << 20;
  D3DCAPS8 caps{};

  // Current state, as the calls left it.
  DeviceStates states;
  IDirect3DTexture8* textures[kTextureStageCount] = {};
  IDirect3DVertexBuffer8* streamSource = nullptr;
  UINT streamStride = 0;
  IDirect3DIndexBuffer8* indices = nullptr;
  UINT baseVertexIndex = 0;
  bool inScene = false;

  DWORD RenderState(D3DRENDERSTATETYPE state) const { return states.RenderState(state); }
  DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const { return states.StageState(stage, type); }

  HRESULT TestCooperativeLevel() override;
  UINT GetAvailableTextureMem() override;
  HRESULT GetDeviceCaps(D3DCAPS8* out) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT Present(const RECT* src, const RECT* dest, HWND override, const void* dirty) override;
  HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
  HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override;
  HRESULT LightEnable(DWORD index, BOOL enable) override;
  HRESULT SetMaterial(const D3DMATERIAL8* material) override;
  HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override;
  HRESULT GetTexture(DWORD stage, IDirect3DTexture8** texture) override;
  HRESULT SetClipStatus(const D3DCLIPSTATUS8* status) override;
  HRESULT SetVertexShader(DWORD fvf) override;
  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) override;
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture8** texture) override;
  HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer8** buffer) override;
  HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer8** buffer) override;
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;
  HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices, UINT startIndex,
                               UINT primitiveCount) override;
};

class RecordingDirect3D : public IDirect3D8, public CallRecord {
 public:
  RecordingDirect3D();
  ~RecordingDirect3D() override;
  int ExtraReferences();

  // Scripted answers.
  UINT adapterCount = 1;
  std::string adapterDescription = "Recording adapter";
  D3DDISPLAYMODE currentMode{1920, 1080, 60, D3DFMT_X8R8G8B8};
  std::vector<D3DDISPLAYMODE> modes{{640, 480, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8}};
  std::set<D3DFORMAT> depthFormats{D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16};          // CheckDeviceFormat
  std::set<D3DFORMAT> matchingDepthFormats{D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16};  // CheckDepthStencilMatch
  std::vector<HRESULT> createDeviceResults;  // per attempt; attempts past the end succeed

  RecordingDevice device;  // what a successful CreateDevice hands out (with a reference added)

  UINT GetAdapterCount() override;
  HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* identifier) override;
  UINT GetAdapterModeCount(UINT adapter) override;
  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
  HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) override;
  HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                            D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) override;
  HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                 D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) override;
  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                       D3DPRESENT_PARAMETERS* presentation, IDirect3DDevice8** out) override;

 private:
  size_t createAttempts_ = 0;
};

// While it lives, Direct3DCreate8 records its call on `direct3d` and hands it
// out with a reference added; with null, Direct3DCreate8 fails.
class ScopedDirect3DFactory {
 public:
  explicit ScopedDirect3DFactory(RecordingDirect3D* direct3d);
  ~ScopedDirect3DFactory();
  ScopedDirect3DFactory(const ScopedDirect3DFactory&) = delete;
  ScopedDirect3DFactory& operator=(const ScopedDirect3DFactory&) = delete;
};
