#include "platform/d3d/memory_device.h"

#include <new>

namespace {

template <typename T>
void Rebind(T*& slot, T* object) {
  if (object) object->AddRef();
  if (slot) slot->Release();
  slot = object;
}

class MemoryDevice final : public IDirect3DDevice8 {
 public:
  MemoryDevice() {
    caps_.DeviceType = D3DDEVTYPE_NULLREF;
    caps_.MaxTextureWidth = caps_.MaxTextureHeight = kMaxTextureSize;
    caps_.MaxSimultaneousTextures = kTextureStageCount;
    caps_.MaxActiveLights = kLightCount;
    caps_.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
  }

  HRESULT TestCooperativeLevel() override { return D3D_OK; }
  UINT GetAvailableTextureMem() override { return static_cast<UINT>(TextureBudgetLeft()); }
  HRESULT GetDeviceCaps(D3DCAPS8* caps) override {
    if (!caps) return D3DERR_INVALIDCALL;
    *caps = caps_;
    return D3D_OK;
  }
  HRESULT BeginScene() override {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
  }
  HRESULT EndScene() override {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
  }
  HRESULT Present(const RECT*, const RECT*, HWND, const void*) override { return D3D_OK; }
  HRESULT Clear(DWORD, const void*, DWORD, D3DCOLOR, float, DWORD) override { return D3D_OK; }

  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
    D3DMATRIX* slot = states_.Transform(state);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *slot = *matrix;
    return D3D_OK;
  }
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override {
    D3DMATRIX* slot = states_.Transform(state);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    return states_.SetRenderState(state, value) ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override {
    return states_.GetRenderState(state, value) ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
    return states_.SetStageState(stage, type, value) ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override {
    return states_.GetStageState(stage, type, value) ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT SetLight(DWORD index, const D3DLIGHT8* light) override {
    return light && states_.SetLight(index, *light) ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT LightEnable(DWORD index, BOOL enable) override {
    return states_.LightEnable(index, enable) ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HRESULT SetMaterial(const D3DMATERIAL8* material) override {
    if (!material) return D3DERR_INVALIDCALL;
    states_.material = *material;
    return D3D_OK;
  }
  HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) override {
    if (stage >= kTextureStageCount) return D3DERR_INVALIDCALL;
    Rebind(textures_[stage], texture);
    return D3D_OK;
  }
  HRESULT GetTexture(DWORD stage, IDirect3DTexture8** texture) override {
    if (stage >= kTextureStageCount || !texture) return D3DERR_INVALIDCALL;
    *texture = textures_[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
  }
  HRESULT SetClipStatus(const D3DCLIPSTATUS8* status) override {
    if (!status) return D3DERR_INVALIDCALL;
    states_.clipStatus = *status;
    return D3D_OK;
  }
  HRESULT SetVertexShader(DWORD fvf) override {
    states_.fvf = fvf;
    return D3D_OK;
  }
  HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE, UINT, const void* vertices, UINT stride) override {
    return vertices && stride ? D3D_OK : D3DERR_INVALIDCALL;
  }

  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD, D3DFORMAT format, D3DPOOL,
                        IDirect3DTexture8** texture) override {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    TextureLayout layout = DescribeTexture(width, height, format);
    if (!layout.valid) return D3DERR_INVALIDCALL;
    TextureBudgetShare share;
    if (!share.Take(layout.Size())) return D3DERR_OUTOFVIDEOMEMORY;
    *texture = new (std::nothrow)
        MemoryTexture(width, height, FullLevelCount(width, height, levels), format, layout, std::move(share));
    return *texture ? D3D_OK : E_OUTOFMEMORY;
  }
  HRESULT CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer8** buffer) override {
    if (!buffer || length == 0) return D3DERR_INVALIDCALL;
    *buffer = new (std::nothrow) MemoryVertexBuffer(length);
    return *buffer ? D3D_OK : E_OUTOFMEMORY;
  }
  HRESULT CreateIndexBuffer(UINT length, DWORD, D3DFORMAT format, D3DPOOL, IDirect3DIndexBuffer8** buffer) override {
    if (!buffer || length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
    *buffer = new (std::nothrow) MemoryIndexBuffer(length, format);
    return *buffer ? D3D_OK : E_OUTOFMEMORY;
  }
  HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT) override {
    if (stream != 0) return D3DERR_INVALIDCALL;
    Rebind(streamSource_, buffer);
    return D3D_OK;
  }
  HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT) override {
    Rebind(indices_, buffer);
    return D3D_OK;
  }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE, UINT, UINT, UINT, UINT) override {
    return streamSource_ && indices_ ? D3D_OK : D3DERR_INVALIDCALL;
  }

 protected:
  ~MemoryDevice() override {
    for (IDirect3DTexture8*& texture : textures_) Rebind(texture, static_cast<IDirect3DTexture8*>(nullptr));
    Rebind(streamSource_, static_cast<IDirect3DVertexBuffer8*>(nullptr));
    Rebind(indices_, static_cast<IDirect3DIndexBuffer8*>(nullptr));
  }

 private:
  D3DCAPS8 caps_{};
  DeviceStates states_;
  IDirect3DTexture8* textures_[kTextureStageCount] = {};
  IDirect3DVertexBuffer8* streamSource_ = nullptr;
  IDirect3DIndexBuffer8* indices_ = nullptr;
  bool inScene_ = false;
};

}  // namespace

MemoryTexture::MemoryTexture(UINT width_, UINT height_, UINT levels_, D3DFORMAT format_, const TextureLayout& layout_,
                             TextureBudgetShare share_)
    : width(width_),
      height(height_),
      levels(levels_),
      format(format_),
      layout(layout_),
      bits(layout_.Size()),
      share(std::move(share_)) {}

HRESULT MemoryTexture::LockRect(UINT level, D3DLOCKED_RECT* out, const RECT* rect, DWORD) {
  if (level != 0 || !out || locked) return D3DERR_INVALIDCALL;
  size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        static_cast<UINT>(rect->right) > width || static_cast<UINT>(rect->bottom) > height)
      return D3DERR_INVALIDCALL;
    offset = layout.OffsetOf(rect->left, rect->top);
  }
  out->Pitch = static_cast<int>(layout.pitch);
  out->pBits = bits.data() + offset;
  locked = true;
  return D3D_OK;
}

HRESULT MemoryTexture::UnlockRect(UINT level) {
  if (level != 0 || !locked) return D3DERR_INVALIDCALL;
  locked = false;
  return D3D_OK;
}

HRESULT MemoryBufferStorage::Lock(UINT offset, UINT size, uint8_t** data) {
  if (!data || locked || offset > bytes.size()) return D3DERR_INVALIDCALL;
  if (size != 0 && size > bytes.size() - offset) return D3DERR_INVALIDCALL;
  *data = bytes.data() + offset;
  locked = true;
  return D3D_OK;
}

HRESULT MemoryBufferStorage::Unlock() {
  if (!locked) return D3DERR_INVALIDCALL;
  locked = false;
  return D3D_OK;
}

IDirect3DDevice8* CreateMemoryDevice() { return new (std::nothrow) MemoryDevice(); }
