#include "platform/d3d/primitive_batch.h"

bool PrimitiveBatch::Accepts(D3DPRIMITIVETYPE type, DWORD fvf, UINT stride) const {
  if (Empty()) return Joinable(type);
  return Joinable(type) && type == type_ && fvf == fvf_ && stride == stride_ && bytes_.size() < kMaxBytes;
}

void PrimitiveBatch::Add(D3DPRIMITIVETYPE type, DWORD fvf, UINT stride, const void* vertices, UINT vertexCount) {
  type_ = type;
  fvf_ = fvf;
  stride_ = stride;
  const uint8_t* bytes = static_cast<const uint8_t*>(vertices);
  bytes_.insert(bytes_.end(), bytes, bytes + static_cast<size_t>(vertexCount) * stride);
  vertexCount_ += vertexCount;
}

void PrimitiveBatch::Clear() {
  bytes_.clear();
  vertexCount_ = 0;
}
