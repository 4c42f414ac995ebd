// Vertices of consecutive DrawPrimitiveUP calls that may be drawn as one:
// list primitives of one type, vertex format and stride, with no state change
// in between. Drawing them together draws them in the same order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/d3d/d3d8types.h"

class PrimitiveBatch {
 public:
  static constexpr size_t kMaxBytes = 4u << 20;  // drawn when it grows beyond this

  bool Empty() const { return vertexCount_ == 0; }
  // Whether the call can join what is held (always, when nothing is held).
  bool Accepts(D3DPRIMITIVETYPE type, DWORD fvf, UINT stride) const;
  static bool Joinable(D3DPRIMITIVETYPE type) {
    return type == D3DPT_LINELIST || type == D3DPT_TRIANGLELIST || type == D3DPT_POINTLIST;
  }
  void Add(D3DPRIMITIVETYPE type, DWORD fvf, UINT stride, const void* vertices, UINT vertexCount);
  void Clear();

  D3DPRIMITIVETYPE Type() const { return type_; }
  DWORD Fvf() const { return fvf_; }
  UINT Stride() const { return stride_; }
  UINT VertexCount() const { return vertexCount_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  D3DPRIMITIVETYPE type_ = D3DPT_LINELIST;
  DWORD fvf_ = 0;
  UINT stride_ = 0;
  UINT vertexCount_ = 0;
  std::vector<uint8_t> bytes_;
};
