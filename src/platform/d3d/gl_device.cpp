#include "platform/d3d/gl_device.h"

#include <sys/sysinfo.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/d3d/gl_buffers.h"
#include "platform/d3d/gl_texture.h"
#include "platform/d3d/sdl_formats.h"
#include "platform/os/os.h"
#include "platform/os/real_os.h"
#include "platform/os/sdl_library.h"

namespace {

template <typename T>
void Rebind(T*& slot, T* object) {
  if (object) object->AddRef();
  if (slot) slot->Release();
  slot = object;
}

}  // namespace

GlDevice* GlDevice::Create(SDL_Window* window, D3DDEVTYPE type, Rasteriser rasteriser, UINT adapter,
                           const D3DPRESENT_PARAMETERS& presentation, std::string* reason) {
  GlDevice* device = new GlDevice(window, type, adapter, presentation);
  if (device->Initialise(rasteriser, reason)) return device;
  device->Release();
  return nullptr;
}

GlDevice::GlDevice(SDL_Window* window, D3DDEVTYPE type, UINT adapter, const D3DPRESENT_PARAMETERS& presentation)
    : window_(window), type_(type), adapter_(adapter), presentation_(presentation) {}

bool GlDevice::Initialise(Rasteriser rasteriser, std::string* reason) {
  const D3DPRESENT_PARAMETERS& p = presentation_;
  if (!IsBackBufferFormat(p.BackBufferFormat)) {
    *reason = "back buffer format not supported";
    return false;
  }
  depth_ = p.EnableAutoDepthStencil ? GlFormatOfDepth(p.AutoDepthStencilFormat) : GlDepthFormat{};
  if (p.EnableAutoDepthStencil && !depth_.valid) {
    *reason = "depth format not supported";
    return false;
  }
  rasteriser_ = rasteriser;
  if (!CreateGlContext(window_, rasteriser, &context_, reason) || !CreateContextObjects(reason)) return false;

  if (!p.Windowed) {
    // Full screen on the adapter's display, the picture scaled with its aspect
    // kept. The window first covers the display itself: without a window
    // manager the full-screen request alone changes nothing.
    SDL_Rect display{};
    if (Sdl().SDL_GetDisplayBounds(static_cast<int>(adapter_), &display) == 0) {
      Sdl().SDL_SetWindowPosition(window_, display.x, display.y);
      Sdl().SDL_SetWindowSize(window_, display.w, display.h);
    }
    Sdl().SDL_ShowWindow(window_);
    Sdl().SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  return true;
}

bool GlDevice::CreateContextObjects(std::string* reason) {
  const D3DPRESENT_PARAMETERS& p = presentation_;
  if (!target_.Create(p.BackBufferWidth, p.BackBufferHeight, depth_, reason) || !program_.Create(reason)) return false;
  resetQuery_ = ResetQuery::None;
  if (context_.robust)
    resetQuery_ = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_KHR_robustness") ? ResetQuery::Core
                                                                                          : ResetQuery::Arb;
  // One vertex array and texture unit 0 serve every draw, so both stay bound.
  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenBuffers(1, &streamBuffer_);
  glGenSamplers(1, &sampler_);
  glBindSampler(0, sampler_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDepthRange(0.0, 1.0);
  // Full screen waits for the display's refresh, a window does not: as Direct3D's default interval.
  Sdl().SDL_GL_SetSwapInterval(p.Windowed ? 0 : 1);
  return true;
}

void GlDevice::DestroyContextObjects() {
  program_.Destroy();
  target_.Destroy();
  glDeleteSamplers(1, &sampler_);
  glDeleteBuffers(1, &streamBuffer_);
  glDeleteVertexArrays(1, &vertexArray_);
  sampler_ = streamBuffer_ = vertexArray_ = 0;
}

void GlDevice::ReportGlErrors() {
  constexpr int kMaxReported = 16;  // a fault that repeats every frame would fill the log
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    if (++glErrorCount_ > kMaxReported) continue;
    char line[96];
    std::snprintf(line, sizeof line, "OpenGL error 0x%04x in frame %llu%s\n", error,
                  static_cast<unsigned long long>(presentCount_),
                  glErrorCount_ == kMaxReported ? "; later errors are not reported" : "");
    OutputFaultLine(line);
  }
}

void GlDevice::SetContextLossDrill(uint32_t presents) {
  lossDrillPresents_ = presentsToLoss_ = presents;
}

GLenum GlDevice::ResetStatus() {
  if (drillLostPolls_ > 0) {
    --drillLostPolls_;
    return GL_UNKNOWN_CONTEXT_RESET;
  }
  if (!context_.context) return GL_NO_ERROR;  // a restore that failed: only another one can help
  if (resetQuery_ == ResetQuery::Core) return glGetGraphicsResetStatus();
  if (resetQuery_ == ResetQuery::Arb) return glGetGraphicsResetStatusARB();
  return GL_NO_ERROR;
}

void GlDevice::LoseContext() {
  if (contextLost_) return;
  contextLost_ = true;
  batch_.Clear();
  // On a lost context these calls do nothing; the drill's context is alive,
  // and loses its objects as a reset would take them.
  for (GlResource* resource : resources_) resource->DropGlObjects();
  DestroyContextObjects();
}

bool GlDevice::RestoreContext() {
  DestroyGlContext(&context_);
  std::string reason;
  bool restored = CreateGlContext(window_, rasteriser_, &context_, &reason) && CreateContextObjects(&reason);
  for (GlResource* resource : resources_) {
    if (restored && !resource->RestoreGlObjects()) {
      restored = false;
      reason = "a buffer's contents were not kept";
    }
  }
  if (!restored) {
    Os().OutputDebugStringA(("OpenGL context not restored: " + reason + "\n").c_str());
    // The next attempt starts from nothing again.
    for (GlResource* resource : resources_) resource->DropGlObjects();
    if (context_.context) DestroyContextObjects();
    return false;
  }
  contextLost_ = false;
  Os().OutputDebugStringA(("OpenGL context restored with " + std::to_string(resources_.size()) +
                           " textures and buffers\n").c_str());
  return true;
}

GlDevice::~GlDevice() {
  if (context_.context) Sdl().SDL_GL_MakeCurrent(window_, context_.context);
  for (GlTexture*& texture : textures_) Rebind(texture, static_cast<GlTexture*>(nullptr));
  Rebind(streamSource_, static_cast<GlVertexBuffer*>(nullptr));
  Rebind(indices_, static_cast<GlIndexBuffer*>(nullptr));
  for (GlResource* resource : resources_) resource->Detach();
  resources_.clear();
  if (context_.context) {
    DestroyContextObjects();
    if (!presentation_.Windowed) Sdl().SDL_SetWindowFullscreen(window_, 0);
  }
  DestroyGlContext(&context_);
}

template <typename T>
bool GlDevice::Changes(T& slot, const T& value) {
  if (std::memcmp(&slot, &value, sizeof(T)) == 0) return false;
  FlushPending();
  slot = value;
  return true;
}

HRESULT GlDevice::TestCooperativeLevel() {
  // While the reset goes on the device is lost. Once it is over, the context
  // is gone for good: a new one is made, and only when that fails does the
  // device need the reset that closes the viewer.
  if (ResetStatus() != GL_NO_ERROR) {
    LoseContext();
    return D3DERR_DEVICELOST;
  }
  if (contextLost_ && !RestoreContext()) return D3DERR_DEVICENOTRESET;
  return D3D_OK;
}

UINT GlDevice::GetAvailableTextureMem() {
  uint64_t kilobytes = 0;
  if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info")) {
    GLint available = 0;
    glGetIntegerv(GL_GPU_MEMORY_INFO_CURRENT_AVAILABLE_VIDMEM_NVX, &available);
    kilobytes = static_cast<uint64_t>(std::max(available, 0));
  } else if (epoxy_has_gl_extension("GL_ATI_meminfo")) {
    GLint free[4] = {};
    glGetIntegerv(GL_TEXTURE_FREE_MEMORY_ATI, free);
    kilobytes = static_cast<uint64_t>(std::max(free[0], 0));
  } else if (IsSoftwareRenderer(context_.renderer)) {
    // A software rasteriser keeps its textures in main memory.
    struct sysinfo info {};
    if (sysinfo(&info) == 0) kilobytes = (static_cast<uint64_t>(info.freeram) * info.mem_unit) >> 10;
  }
  return static_cast<UINT>(std::min<uint64_t>(kilobytes << 10, 0xFFFFFFFFu));
}

HRESULT GlDevice::GetDeviceCaps(D3DCAPS8* caps) {
  if (!caps) return D3DERR_INVALIDCALL;
  *caps = D3DCAPS8{};
  caps->DeviceType = type_;
  caps->AdapterOrdinal = adapter_;
  GLint size = 0, units = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &units);
  caps->MaxTextureWidth = caps->MaxTextureHeight = std::min<DWORD>(static_cast<DWORD>(size), kMaxTextureSize);
  caps->MaxSimultaneousTextures = std::min<DWORD>(static_cast<DWORD>(units), kTextureStageCount);
  caps->MaxActiveLights = kLightCount;
  caps->MaxPrimitiveCount = kMaxPrimitiveCount;
  // No fog and no bump mapping in this pipeline; alpha textures and mipmaps are.
  caps->RasterCaps = 0;
  caps->TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
  caps->TextureOpCaps = 0;
  return D3D_OK;
}

HRESULT GlDevice::BeginScene() {
  if (inScene_) return D3DERR_INVALIDCALL;
  inScene_ = true;
  return D3D_OK;
}

HRESULT GlDevice::EndScene() {
  if (!inScene_) return D3DERR_INVALIDCALL;
  FlushPending();
  inScene_ = false;
  return D3D_OK;
}

HRESULT GlDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  if (HRESULT level = TestCooperativeLevel(); FAILED(level)) return D3DERR_DEVICELOST;
  FlushPending();
  target_.PresentTo(window_);
  Sdl().SDL_GL_SwapWindow(window_);
  ++presentCount_;
  ReportGlErrors();
  if (lossDrillPresents_ > 0 && --presentsToLoss_ == 0) {
    presentsToLoss_ = lossDrillPresents_;
    drillLostPolls_ = 2;
    LoseContext();
  }
  return D3D_OK;
}

HRESULT GlDevice::Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) {
  if ((count != 0 && rects) || flags == 0) return D3DERR_INVALIDCALL;  // rectangles are not cleared here
  if (contextLost_) return D3D_OK;
  if (((flags & D3DCLEAR_ZBUFFER) && !target_.HasDepth()) || ((flags & D3DCLEAR_STENCIL) && !target_.HasStencil()))
    return D3DERR_INVALIDCALL;
  FlushPending();
  // A clear ignores the write masks of the render states.
  GLbitfield bits = 0;
  if (flags & D3DCLEAR_TARGET) {
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    float rgba[4];
    ColourOf(colour, rgba);
    glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
    bits |= GL_COLOR_BUFFER_BIT;
  }
  if (flags & D3DCLEAR_ZBUFFER) {
    glDepthMask(GL_TRUE);
    glClearDepth(std::clamp(z, 0.0f, 1.0f));
    bits |= GL_DEPTH_BUFFER_BIT;
  }
  if (flags & D3DCLEAR_STENCIL) {
    glStencilMask(0xFF);
    glClearStencil(static_cast<GLint>(stencil & 0xFF));
    bits |= GL_STENCIL_BUFFER_BIT;
  }
  target_.Bind();
  glClear(bits);
  return D3D_OK;
}

HRESULT GlDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  D3DMATRIX* slot = states_.Transform(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  Changes(*slot, *matrix);
  return D3D_OK;
}

HRESULT GlDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  D3DMATRIX* slot = states_.Transform(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  *matrix = *slot;
  return D3D_OK;
}

HRESULT GlDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= kRenderStateCount) return D3DERR_INVALIDCALL;
  Changes(states_.renderState[state], value);
  return D3D_OK;
}

HRESULT GlDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  return states_.GetRenderState(state, value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GlDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= kTextureStageCount || type >= kStageStateCount) return D3DERR_INVALIDCALL;
  Changes(states_.stageState[stage][type], value);
  return D3D_OK;
}

HRESULT GlDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  return states_.GetStageState(stage, type, value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT GlDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
  if (index >= kLightCount || !light) return D3DERR_INVALIDCALL;
  Changes(states_.light[index], *light);
  return D3D_OK;
}

HRESULT GlDevice::LightEnable(DWORD index, BOOL enable) {
  if (index >= kLightCount) return D3DERR_INVALIDCALL;
  Changes(states_.lightEnabled[index], enable != 0);
  return D3D_OK;
}

HRESULT GlDevice::SetMaterial(const D3DMATERIAL8* material) {
  if (!material) return D3DERR_INVALIDCALL;
  Changes(states_.material, *material);
  return D3D_OK;
}

HRESULT GlDevice::SetTexture(DWORD stage, IDirect3DTexture8* texture) {
  GlTexture* glTexture = dynamic_cast<GlTexture*>(texture);
  if (stage >= kTextureStageCount || (texture && !glTexture)) return D3DERR_INVALIDCALL;
  if (textures_[stage] == glTexture) return D3D_OK;
  if (stage == 0) FlushPending();
  Rebind(textures_[stage], glTexture);
  return D3D_OK;
}

HRESULT GlDevice::GetTexture(DWORD stage, IDirect3DTexture8** texture) {
  if (stage >= kTextureStageCount || !texture) return D3DERR_INVALIDCALL;
  *texture = textures_[stage];
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}

HRESULT GlDevice::SetClipStatus(const D3DCLIPSTATUS8* status) {
  if (!status) return D3DERR_INVALIDCALL;
  states_.clipStatus = *status;
  return D3D_OK;
}

HRESULT GlDevice::SetVertexShader(DWORD fvf) {
  states_.fvf = fvf;  // the batch keeps the format of its own vertices
  return D3D_OK;
}

HRESULT GlDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                IDirect3DTexture8** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) return D3DERR_INVALIDCALL;
  (void)pool;  // every pool keeps a system-memory copy, as the managed pool does
  TextureBudgetShare share;
  if (!share.Take(DescribeTexture(width, height, format).Size())) return D3DERR_OUTOFVIDEOMEMORY;
  GlTexture* created = GlTexture::Create(this, width, height, levels, format, std::move(share));
  if (!created) return D3DERR_INVALIDCALL;
  resources_.insert(created);
  *texture = created;
  return D3D_OK;
}

HRESULT GlDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD, D3DPOOL, IDirect3DVertexBuffer8** buffer) {
  constexpr UINT kMaxBufferLength = 256u << 20;
  if (!buffer || length == 0 || length > kMaxBufferLength) return D3DERR_INVALIDCALL;
  GlVertexBuffer* created = new GlVertexBuffer(this, length, (usage & D3DUSAGE_WRITEONLY) != 0, KeepsCopies());
  resources_.insert(created);
  *buffer = created;
  return D3D_OK;
}

HRESULT GlDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL,
                                    IDirect3DIndexBuffer8** buffer) {
  constexpr UINT kMaxBufferLength = 256u << 20;
  if (!buffer || length == 0 || length > kMaxBufferLength || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32))
    return D3DERR_INVALIDCALL;
  GlIndexBuffer* created = new GlIndexBuffer(this, length, format, (usage & D3DUSAGE_WRITEONLY) != 0, KeepsCopies());
  resources_.insert(created);
  *buffer = created;
  return D3D_OK;
}

HRESULT GlDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
  GlVertexBuffer* glBuffer = dynamic_cast<GlVertexBuffer*>(buffer);
  if (stream != 0 || (buffer && !glBuffer)) return D3DERR_INVALIDCALL;
  Rebind(streamSource_, glBuffer);
  streamStride_ = stride;
  return D3D_OK;
}

HRESULT GlDevice::SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) {
  GlIndexBuffer* glBuffer = dynamic_cast<GlIndexBuffer*>(buffer);
  if (buffer && !glBuffer) return D3DERR_INVALIDCALL;
  Rebind(indices_, glBuffer);
  baseVertexIndex_ = baseVertexIndex;
  return D3D_OK;
}

void GlDevice::ReadBack(std::vector<uint32_t>& argb, UINT* width, UINT* height) {
  FlushPending();
  target_.ReadBack(argb, !HasAlpha(presentation_.BackBufferFormat));
  if (width) *width = target_.Width();
  if (height) *height = target_.Height();
}
