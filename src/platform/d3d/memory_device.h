// A device that keeps textures and buffers in main memory and draws nothing:
// what loading needs when only a report of the loaded plug-in is wanted, with
// no display and no GPU. It keeps every state as the other devices do.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/d3d/d3d8.h"
#include "platform/d3d/device_states.h"
#include "platform/d3d/texture_budget.h"
#include "platform/d3d/texture_layout.h"

class MemoryTexture : public IDirect3DTexture8 {
 public:
  MemoryTexture(UINT width, UINT height, UINT levels, D3DFORMAT format, const TextureLayout& layout,
                TextureBudgetShare share);

  UINT GetLevelCount() override { return levels; }
  UINT GetWidth() override { return width; }
  UINT GetHeight() override { return height; }
  D3DFORMAT GetFormat() override { return format; }
  HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
  HRESULT UnlockRect(UINT level) override;

  UINT width, height, levels;
  D3DFORMAT format;
  TextureLayout layout;
  std::vector<uint8_t> bits;  // level 0, layout.pitch bytes per row
  bool locked = false;
  TextureBudgetShare share;  // of the bits
};

// The bytes of a vertex or index buffer, handed out by Lock.
struct MemoryBufferStorage {
  HRESULT Lock(UINT offset, UINT size, uint8_t** data);
  HRESULT Unlock();
  std::vector<uint8_t> bytes;
  bool locked = false;
};

class MemoryVertexBuffer : public IDirect3DVertexBuffer8 {
 public:
  explicit MemoryVertexBuffer(UINT length) { storage.bytes.resize(length); }
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD) override { return storage.Lock(offset, size, data); }
  HRESULT Unlock() override { return storage.Unlock(); }
  MemoryBufferStorage storage;
};

class MemoryIndexBuffer : public IDirect3DIndexBuffer8 {
 public:
  MemoryIndexBuffer(UINT length, D3DFORMAT format_) : format(format_) { storage.bytes.resize(length); }
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD) override { return storage.Lock(offset, size, data); }
  HRESULT Unlock() override { return storage.Unlock(); }
  D3DFORMAT format;
  MemoryBufferStorage storage;
};

// D3DDEVTYPE_NULLREF in its capabilities. Null when memory runs out.
IDirect3DDevice8* CreateMemoryDevice();
