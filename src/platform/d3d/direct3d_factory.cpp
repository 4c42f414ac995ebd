#include "platform/d3d/d3d8.h"

namespace {

Direct3DFactory installedFactory = nullptr;

}  // namespace

void SetDirect3DFactory(Direct3DFactory factory) { installedFactory = factory; }

IDirect3D8* Direct3DCreate8(UINT sdkVersion) { return installedFactory ? installedFactory(sdkVersion) : nullptr; }
