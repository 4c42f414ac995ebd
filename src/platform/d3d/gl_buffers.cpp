#include "platform/d3d/gl_buffers.h"

#include <cstring>

GlBufferStorage::GlBufferStorage(GLenum target, UINT length) : target_(target), bytes_(length) {
  glGenBuffers(1, &name_);
  glBindBuffer(target_, name_);
  glBufferData(target_, static_cast<GLsizeiptr>(bytes_.size()), bytes_.data(), GL_STATIC_DRAW);
}

void GlBufferStorage::DeleteGlObject() {
  if (name_) glDeleteBuffers(1, &name_);
  name_ = 0;
}

HRESULT GlBufferStorage::Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) {
  if (!data || locked_ || offset > bytes_.size()) return D3DERR_INVALIDCALL;
  if (size == 0) size = static_cast<UINT>(bytes_.size()) - offset;  // 0: to the end
  if (size > bytes_.size() - offset) return D3DERR_INVALIDCALL;
  *data = bytes_.data() + offset;
  locked_ = true;
  lockedReadOnly_ = (flags & D3DLOCK_READONLY) != 0;
  lockOffset_ = offset;
  lockSize_ = size;
  return D3D_OK;
}

bool GlBufferStorage::Unlock() {
  if (!locked_) return false;
  locked_ = false;
  if (!lockedReadOnly_ && name_ && lockSize_ > 0) {
    glBindBuffer(target_, name_);
    glBufferSubData(target_, lockOffset_, lockSize_, bytes_.data() + lockOffset_);
  }
  return true;
}

HRESULT GlVertexBuffer::Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) {
  return storage_.Lock(offset, size, data, flags);
}

HRESULT GlVertexBuffer::Unlock() {
  if (host_) host_->FlushPending();
  return storage_.Unlock() ? D3D_OK : D3DERR_INVALIDCALL;
}

GlIndexBuffer::GlIndexBuffer(GlResourceHost* host, UINT length, D3DFORMAT format)
    : GlResource(host), format_(format), storage_(GL_ELEMENT_ARRAY_BUFFER, length) {}

HRESULT GlIndexBuffer::Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) {
  return storage_.Lock(offset, size, data, flags);
}

HRESULT GlIndexBuffer::Unlock() {
  if (host_) host_->FlushPending();
  if (!storage_.Unlock()) return D3DERR_INVALIDCALL;
  largestInBuffer_ = LargestIndex(0, IndexCount());  // once here rather than at every draw
  return D3D_OK;
}

uint32_t GlIndexBuffer::LargestIndex(UINT first, UINT count) const {
  uint32_t largest = 0;
  const uint8_t* bytes = storage_.Bytes().data();
  for (UINT i = first; i < first + count; ++i) {
    uint32_t index = 0;
    if (format_ == D3DFMT_INDEX32) {
      std::memcpy(&index, bytes + static_cast<size_t>(i) * 4, 4);
    } else {
      uint16_t small = 0;
      std::memcpy(&small, bytes + static_cast<size_t>(i) * 2, 2);
      index = small;
    }
    if (index > largest) largest = index;
  }
  return largest;
}
