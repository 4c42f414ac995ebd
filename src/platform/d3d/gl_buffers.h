// Vertex and index buffers: system memory for Lock, an OpenGL buffer that
// Unlock updates.
#pragma once
#include <epoxy/gl.h>

#include <vector>

#include "platform/d3d/d3d8.h"
#include "platform/d3d/gl_resource.h"

class GlBufferStorage {
 public:
  // The owner deletes the OpenGL object (DeleteGlObject) while its context exists.
  GlBufferStorage(GLenum target, UINT length);
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags);
  // Uploads the locked range; returns false when nothing was locked.
  bool Unlock();
  void DeleteGlObject();
  GLuint Name() const { return name_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  GLenum target_;
  std::vector<uint8_t> bytes_;
  GLuint name_ = 0;
  bool locked_ = false;
  bool lockedReadOnly_ = false;
  UINT lockOffset_ = 0, lockSize_ = 0;
};

class GlVertexBuffer : public IDirect3DVertexBuffer8, public GlResource {
 public:
  GlVertexBuffer(GlResourceHost* host, UINT length) : GlResource(host), storage_(GL_ARRAY_BUFFER, length) {}
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) override;
  HRESULT Unlock() override;
  GLuint Name() const { return storage_.Name(); }
  UINT Length() const { return static_cast<UINT>(storage_.Bytes().size()); }

 protected:
  ~GlVertexBuffer() override { Leave(); }
  void DeleteGlObjects() override { storage_.DeleteGlObject(); }

 private:
  GlBufferStorage storage_;
};

class GlIndexBuffer : public IDirect3DIndexBuffer8, public GlResource {
 public:
  GlIndexBuffer(GlResourceHost* host, UINT length, D3DFORMAT format);
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) override;
  HRESULT Unlock() override;
  GLuint Name() const { return storage_.Name(); }
  UINT IndexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }
  UINT IndexCount() const { return static_cast<UINT>(storage_.Bytes().size()) / IndexSize(); }
  // The largest of `count` indices from `first`, which must lie inside the buffer.
  uint32_t LargestIndex(UINT first, UINT count) const;
  // The largest index of the whole buffer, found when it was last unlocked.
  uint32_t LargestIndexInBuffer() const { return largestInBuffer_; }

 protected:
  ~GlIndexBuffer() override { Leave(); }
  void DeleteGlObjects() override { storage_.DeleteGlObject(); }

 private:
  D3DFORMAT format_;
  GlBufferStorage storage_;
  uint32_t largestInBuffer_ = 0;  // a new buffer holds zeros
};
