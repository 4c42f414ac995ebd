#include "platform/d3d/read_back.h"

#include "platform/d3d/gl_device.h"

bool ReadBackBuffer(IDirect3DDevice8* device, std::vector<uint32_t>& argb, UINT* width, UINT* height) {
  GlDevice* glDevice = dynamic_cast<GlDevice*>(device);
  if (!glDevice) return false;
  glDevice->ReadBack(argb, width, height);
  return true;
}
