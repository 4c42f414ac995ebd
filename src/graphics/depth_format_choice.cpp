#include "graphics/device_setup.h"

DepthFormatChoice ChooseDepthFormat(IDirect3D8* d3d, UINT adapter, D3DFORMAT displayFormat) {
  static constexpr DepthFormatChoice candidates[] = {
      {D3DFMT_D24S8, true}, {D3DFMT_D24X4S4, true}, {D3DFMT_D24X8, false}, {D3DFMT_D16, false}, {D3DFMT_D15S1, true}};
  // Always asked of the HAL device, also when the device later falls back.
  for (const DepthFormatChoice& candidate : candidates) {
    if (SUCCEEDED(d3d->CheckDeviceFormat(adapter, D3DDEVTYPE_HAL, displayFormat, D3DUSAGE_DEPTHSTENCIL,
                                         D3DRTYPE_SURFACE, candidate.format)) &&
        SUCCEEDED(d3d->CheckDepthStencilMatch(adapter, D3DDEVTYPE_HAL, displayFormat, displayFormat,
                                              candidate.format)))
      return candidate;
  }
  return {D3DFMT_UNKNOWN, false};
}
