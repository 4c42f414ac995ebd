// The Direct3D 8 device on OpenGL 3.3 core: one context on the device window,
// the picture drawn into a back buffer of the requested size, the
// fixed-function pipeline in one GLSL program. A context lost to a reset is
// made again with every texture and buffer, so the device is only lost while
// the reset goes on.
#pragma once
#include <SDL2/SDL_video.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/d3d/d3d8.h"
#include "platform/d3d/device_states.h"
#include "platform/d3d/gl_context.h"
#include "platform/d3d/gl_fixed_function.h"
#include "platform/d3d/gl_render_target.h"
#include "platform/d3d/gl_resource.h"
#include "platform/d3d/primitive_batch.h"

class GlTexture;
class GlVertexBuffer;
class GlIndexBuffer;

constexpr UINT kMaxPrimitiveCount = 0xFFFFF;  // per draw call

class GlDevice : public IDirect3DDevice8, public GlResourceHost {
 public:
  // Null with the reason when the device cannot be made on this window.
  static GlDevice* Create(SDL_Window* window, D3DDEVTYPE type, Rasteriser rasteriser, UINT adapter,
                          const D3DPRESENT_PARAMETERS& presentation, std::string* reason);

  // The back buffer as it is now, rows top to bottom, 0xAARRGGBB.
  void ReadBack(std::vector<uint32_t>& argb, UINT* width, UINT* height);
  // Draw calls sent to OpenGL so far (batched calls count once).
  uint64_t GlDrawCount() const { return glDrawCount_; }
  const std::string& Renderer() const { return context_.renderer; }
  // Textures and buffers alive; each has its OpenGL object.
  size_t ResourceCount() const { return resources_.size(); }
  // Every `presents` presents, loses the context as a reset does (0: never),
  // and keeps what the resources need to come back. Set before they are created.
  void SetContextLossDrill(uint32_t presents);

  void FlushPending() override;
  void Forget(GlResource* resource) override { resources_.erase(resource); }

  HRESULT TestCooperativeLevel() override;
  UINT GetAvailableTextureMem() override;
  HRESULT GetDeviceCaps(D3DCAPS8* caps) override;
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

 protected:
  ~GlDevice() override;

 private:
  enum class ResetQuery { None, Core, Arb };

  GlDevice(SDL_Window* window, D3DDEVTYPE type, UINT adapter, const D3DPRESENT_PARAMETERS& presentation);
  bool Initialise(Rasteriser rasteriser, std::string* reason);
  // What the device itself owns in the context.
  bool CreateContextObjects(std::string* reason);
  void DestroyContextObjects();
  // The reset status of the context, or of the drill.
  GLenum ResetStatus();
  // From a reset on: nothing is drawn, and the OpenGL objects are gone.
  void LoseContext();
  // A new context with the device's and the resources' objects; false when
  // it cannot be made or a resource kept no copy.
  bool RestoreContext();
  // Each OpenGL error since the last present, to standard error.
  void ReportGlErrors();
  bool KeepsCopies() const { return context_.robust || lossDrillPresents_ > 0; }
  // Sets up depth, blending, culling, the texture and the program for one draw.
  void PrepareDraw(const VertexFormat& format);
  void DrawFromStream(D3DPRIMITIVETYPE type, const VertexFormat& format, UINT stride, const void* vertices,
                      UINT vertexCount);
  template <typename T>
  bool Changes(T& slot, const T& value);

  SDL_Window* window_;
  D3DDEVTYPE type_;
  UINT adapter_;
  D3DPRESENT_PARAMETERS presentation_;
  Rasteriser rasteriser_ = Rasteriser::Any;
  GlDepthFormat depth_;
  GlContext context_;
  ResetQuery resetQuery_ = ResetQuery::None;
  bool contextLost_ = false;
  uint32_t lossDrillPresents_ = 0, presentsToLoss_ = 0;
  int drillLostPolls_ = 0;  // polls that still see the drill's reset going on
  GlRenderTarget target_;
  FixedFunctionProgram program_;
  GLuint vertexArray_ = 0, streamBuffer_ = 0, sampler_ = 0;
  DeviceStates states_;
  GlTexture* textures_[kTextureStageCount] = {};  // only stage 0 is drawn
  GlVertexBuffer* streamSource_ = nullptr;
  UINT streamStride_ = 0;
  GlIndexBuffer* indices_ = nullptr;
  UINT baseVertexIndex_ = 0;
  bool inScene_ = false;
  PrimitiveBatch batch_;
  std::unordered_set<GlResource*> resources_;
  uint64_t glDrawCount_ = 0;
  uint64_t presentCount_ = 0, glErrorCount_ = 0;
};
