#include <cstring>

#include "graphics/device_setup.h"

IDirect3DDevice8* CreateDeviceWithFallback(IDirect3D8* d3d, UINT adapter, HWND window,
                                           D3DPRESENT_PARAMETERS* presentation) {
  struct Attempt {
    const char* name;
    D3DDEVTYPE type;
    DWORD behaviour;
  };
  static constexpr Attempt attempts[] = {{"TnLHAL", D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                                         {"HAL", D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                                         {"REF", D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
  for (const Attempt& attempt : attempts) {
    std::strcpy(deviceSetup.deviceType, attempt.name);
    IDirect3DDevice8* device = nullptr;
    if (SUCCEEDED(d3d->CreateDevice(adapter, attempt.type, window, attempt.behaviour, presentation, &device)) &&
        device) {
      LogPrintf("デバイスタイプ = %s\n", deviceSetup.deviceType);
      return device;
    }
  }
  return nullptr;
}
