// A Direct3D-8-shaped graphics interface. The program draws through these
// interfaces only; the OpenGL implementation lives in gl_*.cpp, and the unit
// tests use a recording implementation (tests/doubles).
#pragma once
#include "platform/d3d/d3d8types.h"
#include "platform/d3d/unknown.h"

class IDirect3DTexture8 : public IUnknown {
 public:
  virtual UINT GetLevelCount() = 0;
  // Width and height of level 0.
  virtual UINT GetWidth() = 0;
  virtual UINT GetHeight() = 0;
  virtual D3DFORMAT GetFormat() = 0;
  // Level 0 only. Pitch is bytes per row (per row of 4x4 blocks for DXT formats).
  virtual HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) = 0;
  virtual HRESULT UnlockRect(UINT level) = 0;
};

class IDirect3DVertexBuffer8 : public IUnknown {
 public:
  virtual HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
};

class IDirect3DIndexBuffer8 : public IUnknown {
 public:
  virtual HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) = 0;
  virtual HRESULT Unlock() = 0;
};

class IDirect3DDevice8 : public IUnknown {
 public:
  virtual HRESULT TestCooperativeLevel() = 0;
  virtual UINT GetAvailableTextureMem() = 0;
  virtual HRESULT GetDeviceCaps(D3DCAPS8* caps) = 0;
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  // Presents the back buffer to the device window; the rectangles and window
  // override are always null in this program.
  virtual HRESULT Present(const RECT* src, const RECT* dest, HWND override, const void* dirty) = 0;
  virtual HRESULT Clear(DWORD count, const void* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) = 0;

  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
  virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) = 0;
  virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) = 0;
  virtual HRESULT SetLight(DWORD index, const D3DLIGHT8* light) = 0;
  virtual HRESULT LightEnable(DWORD index, BOOL enable) = 0;
  virtual HRESULT SetMaterial(const D3DMATERIAL8* material) = 0;
  // A bound texture is held with a reference until it is replaced; GetTexture
  // adds a reference that the caller releases (as do SetStreamSource/SetIndices).
  virtual HRESULT SetTexture(DWORD stage, IDirect3DTexture8* texture) = 0;
  virtual HRESULT GetTexture(DWORD stage, IDirect3DTexture8** texture) = 0;
  virtual HRESULT SetClipStatus(const D3DCLIPSTATUS8* status) = 0;

  // The vertex "shader" of Direct3D 8 fixed-function drawing is an FVF code.
  virtual HRESULT SetVertexShader(DWORD fvf) = 0;
  virtual HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices, UINT stride) = 0;

  virtual HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                IDirect3DTexture8** texture) = 0;
  virtual HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                     IDirect3DVertexBuffer8** buffer) = 0;
  virtual HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                    IDirect3DIndexBuffer8** buffer) = 0;
  virtual HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) = 0;
  virtual HRESULT SetIndices(IDirect3DIndexBuffer8* buffer, UINT baseVertexIndex) = 0;
  virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices, UINT startIndex,
                                       UINT primitiveCount) = 0;
};

class IDirect3D8 : public IUnknown {
 public:
  virtual UINT GetAdapterCount() = 0;
  virtual HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* identifier) = 0;
  virtual UINT GetAdapterModeCount(UINT adapter) = 0;
  virtual HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) = 0;
  virtual HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) = 0;
  virtual HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                    D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) = 0;
  virtual HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                         D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) = 0;
  virtual HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                               D3DPRESENT_PARAMETERS* presentation, IDirect3DDevice8** device) = 0;
};

// Creates the Direct3D object (SDK version 220). Returns null on failure.
// The OpenGL implementation is the default; tests install their own factory.
IDirect3D8* Direct3DCreate8(UINT sdkVersion);
using Direct3DFactory = IDirect3D8* (*)(UINT sdkVersion);
void SetDirect3DFactory(Direct3DFactory factory);  // null restores the OpenGL one
