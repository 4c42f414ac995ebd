#include "platform/d3d/d3d8.h"
#include "platform/d3d/gl_direct3d.h"

namespace {

Direct3DFactory installedFactory = CreateGlDirect3D;

}  // namespace

void SetDirect3DFactory(Direct3DFactory factory) { installedFactory = factory ? factory : CreateGlDirect3D; }

IDirect3D8* Direct3DCreate8(UINT sdkVersion) { return installedFactory(sdkVersion); }
