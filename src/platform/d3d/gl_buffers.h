// Vertex and index buffers: an OpenGL buffer, with system memory only while
// locked, so the data is not held twice; Unlock uploads what was written.
// On a context that can be lost, a copy is kept to make the buffer again.
#pragma once
#include <epoxy/gl.h>

#include <memory>
#include <vector>

#include "platform/d3d/d3d8.h"
#include "platform/d3d/gl_resource.h"

class GlBufferStorage {
 public:
  // The owner deletes the OpenGL object (DeleteGlObject) while its context
  // exists. A new buffer holds zeros. A lock of a write-only buffer starts
  // from undefined bytes rather than reading the buffer back. With keepCopy,
  // what is written is also kept in system memory for Restore.
  GlBufferStorage(GLenum target, UINT length, bool writeOnly, bool keepCopy);
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags);
  // While locked for writing, the locked bytes as the caller left them; else null.
  const uint8_t* WrittenBytes() const { return locked_ && !lockedReadOnly_ ? locked_.get() : nullptr; }
  UINT LockedSize() const { return lockSize_; }
  // Uploads the locked range and frees its memory; false when nothing was locked.
  bool Unlock();
  void DeleteGlObject();
  // A new OpenGL buffer holding the kept copy; false without one.
  bool Restore();
  GLuint Name() const { return name_; }
  UINT Length() const { return length_; }
  // The bytes of a range, read back from OpenGL.
  std::vector<uint8_t> Read(UINT offset, UINT size) const;

 private:
  GLenum target_;
  UINT length_;
  bool writeOnly_;
  GLuint name_ = 0;
  std::vector<uint8_t> copy_;          // all of it, with keepCopy; else empty
  std::unique_ptr<uint8_t[]> locked_;  // the locked range's bytes, while locked
  bool lockedReadOnly_ = false;
  UINT lockOffset_ = 0, lockSize_ = 0;
};

class GlVertexBuffer : public IDirect3DVertexBuffer8, public GlResource {
 public:
  GlVertexBuffer(GlResourceHost* host, UINT length, bool writeOnly, bool keepCopy)
      : GlResource(host), storage_(GL_ARRAY_BUFFER, length, writeOnly, keepCopy) {}
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) override;
  HRESULT Unlock() override;
  GLuint Name() const { return storage_.Name(); }
  UINT Length() const { return storage_.Length(); }
  bool RestoreGlObjects() override { return storage_.Restore(); }

 protected:
  ~GlVertexBuffer() override { Leave(); }
  void DeleteGlObjects() override { storage_.DeleteGlObject(); }

 private:
  GlBufferStorage storage_;
};

class GlIndexBuffer : public IDirect3DIndexBuffer8, public GlResource {
 public:
  GlIndexBuffer(GlResourceHost* host, UINT length, D3DFORMAT format, bool writeOnly, bool keepCopy);
  HRESULT Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) override;
  HRESULT Unlock() override;
  GLuint Name() const { return storage_.Name(); }
  UINT IndexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }
  UINT IndexCount() const { return storage_.Length() / IndexSize(); }
  // The largest of `count` indices from `first`, which must lie inside the
  // buffer; read back from OpenGL.
  uint32_t LargestIndex(UINT first, UINT count) const;
  // No index of the buffer is larger: the largest written by any unlock so far.
  uint32_t LargestIndexInBuffer() const { return largestInBuffer_; }
  bool RestoreGlObjects() override { return storage_.Restore(); }

 protected:
  ~GlIndexBuffer() override { Leave(); }
  void DeleteGlObjects() override { storage_.DeleteGlObject(); }

 private:
  uint32_t Largest(const uint8_t* bytes, size_t count) const;

  D3DFORMAT format_;
  GlBufferStorage storage_;
  uint32_t largestInBuffer_ = 0;  // a new buffer holds zeros
};
