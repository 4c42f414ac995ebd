#include "platform/d3d/gl_buffers.h"

#include <cstdlib>
#include <cstring>

GlBufferStorage::GlBufferStorage(GLenum target, UINT length, bool writeOnly, bool keepCopy)
    : target_(target), length_(length), writeOnly_(writeOnly) {
  if (keepCopy) copy_.assign(length, 0);
  // Zeroed pages that are only read are never made resident.
  std::unique_ptr<void, decltype(&std::free)> zeros(std::calloc(length, 1), &std::free);
  glGenBuffers(1, &name_);
  glBindBuffer(target_, name_);
  glBufferData(target_, static_cast<GLsizeiptr>(length_), zeros.get(), GL_STATIC_DRAW);
}

void GlBufferStorage::DeleteGlObject() {
  if (name_) glDeleteBuffers(1, &name_);
  name_ = 0;
}

bool GlBufferStorage::Restore() {
  if (copy_.size() != length_) return false;
  glGenBuffers(1, &name_);
  glBindBuffer(target_, name_);
  glBufferData(target_, static_cast<GLsizeiptr>(length_), copy_.data(), GL_STATIC_DRAW);
  return true;
}

HRESULT GlBufferStorage::Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) {
  if (!data || locked_ || offset > length_) return D3DERR_INVALIDCALL;
  if (size == 0) size = length_ - offset;  // 0: to the end
  if (size > length_ - offset) return D3DERR_INVALIDCALL;
  locked_ = std::make_unique_for_overwrite<uint8_t[]>(size ? size : 1);
  if (!writeOnly_ && name_ && size > 0) {
    glBindBuffer(target_, name_);
    glGetBufferSubData(target_, offset, size, locked_.get());
  }
  *data = locked_.get();
  lockedReadOnly_ = (flags & D3DLOCK_READONLY) != 0;
  lockOffset_ = offset;
  lockSize_ = size;
  return D3D_OK;
}

bool GlBufferStorage::Unlock() {
  if (!locked_) return false;
  if (!lockedReadOnly_ && lockSize_ > 0) {
    if (!copy_.empty()) std::memcpy(copy_.data() + lockOffset_, locked_.get(), lockSize_);
    if (name_) {
      glBindBuffer(target_, name_);
      glBufferSubData(target_, lockOffset_, lockSize_, locked_.get());
    }
  }
  locked_.reset();
  return true;
}

std::vector<uint8_t> GlBufferStorage::Read(UINT offset, UINT size) const {
  std::vector<uint8_t> bytes(size);
  if (name_ && size > 0) {
    glBindBuffer(target_, name_);
    glGetBufferSubData(target_, offset, size, bytes.data());
  }
  return bytes;
}

HRESULT GlVertexBuffer::Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) {
  return storage_.Lock(offset, size, data, flags);
}

HRESULT GlVertexBuffer::Unlock() {
  if (host_) host_->FlushPending();
  return storage_.Unlock() ? D3D_OK : D3DERR_INVALIDCALL;
}

GlIndexBuffer::GlIndexBuffer(GlResourceHost* host, UINT length, D3DFORMAT format, bool writeOnly, bool keepCopy)
    : GlResource(host), format_(format), storage_(GL_ELEMENT_ARRAY_BUFFER, length, writeOnly, keepCopy) {}

HRESULT GlIndexBuffer::Lock(UINT offset, UINT size, uint8_t** data, DWORD flags) {
  return storage_.Lock(offset, size, data, flags);
}

HRESULT GlIndexBuffer::Unlock() {
  if (host_) host_->FlushPending();
  // Indices overwritten may have been the largest, so this stays an upper
  // bound; a draw that it does not clear scans its own range.
  if (const uint8_t* written = storage_.WrittenBytes()) {
    uint32_t largest = Largest(written, storage_.LockedSize() / IndexSize());
    if (largest > largestInBuffer_) largestInBuffer_ = largest;
  }
  return storage_.Unlock() ? D3D_OK : D3DERR_INVALIDCALL;
}

uint32_t GlIndexBuffer::Largest(const uint8_t* bytes, size_t count) const {
  uint32_t largest = 0;
  for (size_t i = 0; i < count; ++i) {
    uint32_t index = 0;
    if (format_ == D3DFMT_INDEX32) {
      std::memcpy(&index, bytes + i * 4, 4);
    } else {
      uint16_t small = 0;
      std::memcpy(&small, bytes + i * 2, 2);
      index = small;
    }
    if (index > largest) largest = index;
  }
  return largest;
}

uint32_t GlIndexBuffer::LargestIndex(UINT first, UINT count) const {
  std::vector<uint8_t> bytes = storage_.Read(first * IndexSize(), count * IndexSize());
  return Largest(bytes.data(), count);
}
