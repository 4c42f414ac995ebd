#include <memory>

#include "gfxutil/d3dx_mesh.h"

namespace {

class MemoryBuffer final : public ID3DXBuffer {
 public:
  explicit MemoryBuffer(DWORD size) : bytes_(new uint8_t[size ? size : 1]()), size_(size) {}
  void* GetBufferPointer() override { return bytes_.get(); }
  DWORD GetBufferSize() override { return size_; }

 private:
  ~MemoryBuffer() override = default;
  std::unique_ptr<uint8_t[]> bytes_;
  DWORD size_;
};

}  // namespace

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = new MemoryBuffer(size);
  return D3D_OK;
}
