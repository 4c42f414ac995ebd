#include "platform/d3d/gl_direct3d.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/d3d/gl_device.h"
#include "platform/d3d/gl_formats.h"
#include "platform/d3d/sdl_formats.h"
#include "platform/os/os.h"
#include "platform/os/sdl_library.h"
#include "platform/os/sdl_window.h"

namespace {

// VDL_CONTEXT_LOSS_DRILL=<n>: the device loses its context every n presents,
// to try the recovery from a reset where the driver never resets.
uint32_t ContextLossDrillPresents() {
  const char* value = std::getenv("VDL_CONTEXT_LOSS_DRILL");
  if (!value) return 0;
  unsigned long presents = std::strtoul(value, nullptr, 10);
  return presents > 1000000 ? 1000000 : static_cast<uint32_t>(presents);
}

constexpr UINT kSdkVersion = 220;

// Modes a back buffer can take; SDL also lists placeholders without a size or format.
std::vector<D3DDISPLAYMODE> UsableModes(int display) {
  std::vector<D3DDISPLAYMODE> modes;
  int count = Sdl().SDL_GetNumDisplayModes(display);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (Sdl().SDL_GetDisplayMode(display, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0) continue;
    D3DFORMAT format = D3DFormatOfSdl(mode.format);
    if (format == D3DFMT_UNKNOWN) continue;
    modes.push_back({static_cast<UINT>(mode.w), static_cast<UINT>(mode.h), static_cast<UINT>(mode.refresh_rate),
                     format});
  }
  return modes;
}

class GlDirect3D : public IDirect3D8 {
 public:
  GlDirect3D() = default;

  UINT GetAdapterCount() override {
    int count = Sdl().SDL_GetNumVideoDisplays();
    return count > 0 ? static_cast<UINT>(count) : 0;
  }

  HRESULT GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* identifier) override {
    if (adapter >= GetAdapterCount() || !identifier) return D3DERR_INVALIDCALL;
    *identifier = D3DADAPTER_IDENTIFIER8{};
    const char* name = Sdl().SDL_GetDisplayName(static_cast<int>(adapter));
    std::snprintf(identifier->Description, sizeof identifier->Description, "%s (display %s)",
                  Sdl().SDL_GetCurrentVideoDriver(), name ? name : "?");
    std::snprintf(identifier->Driver, sizeof identifier->Driver, "OpenGL 3.3 on SDL %s", Sdl().SDL_GetCurrentVideoDriver());
    return D3D_OK;
  }

  UINT GetAdapterModeCount(UINT adapter) override {
    return adapter < GetAdapterCount() ? static_cast<UINT>(ModesOf(adapter).size()) : 0;
  }

  HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) override {
    SDL_DisplayMode mode{};
    if (adapter >= GetAdapterCount() || !out || Sdl().SDL_GetDesktopDisplayMode(static_cast<int>(adapter), &mode) != 0)
      return D3DERR_INVALIDCALL;
    *out = {static_cast<UINT>(mode.w), static_cast<UINT>(mode.h), static_cast<UINT>(mode.refresh_rate),
            D3DFormatOfSdl(mode.format)};
    return D3D_OK;
  }

  HRESULT EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) override {
    if (adapter >= GetAdapterCount() || !out) return D3DERR_INVALIDCALL;
    const std::vector<D3DDISPLAYMODE>& modes = ModesOf(adapter);
    if (mode >= modes.size()) return D3DERR_INVALIDCALL;
    *out = modes[mode];
    return D3D_OK;
  }

  HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat, DWORD usage, D3DRESOURCETYPE type,
                            D3DFORMAT checkFormat) override {
    if (adapter >= GetAdapterCount() || !IsBackBufferFormat(adapterFormat)) return D3DERR_INVALIDCALL;
    bool available = false;
    if (usage & D3DUSAGE_DEPTHSTENCIL)
      available = type == D3DRTYPE_SURFACE && GlFormatOfDepth(checkFormat).valid;
    else if (type == D3DRTYPE_TEXTURE)
      available = !(usage & D3DUSAGE_RENDERTARGET) && GlFormatOfTexture(checkFormat).valid;
    return available ? D3D_OK : D3DERR_NOTAVAILABLE;
  }

  HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT renderTargetFormat,
                                 D3DFORMAT depthStencilFormat) override {
    if (adapter >= GetAdapterCount() || !IsBackBufferFormat(adapterFormat)) return D3DERR_INVALIDCALL;
    // The back buffer is a framebuffer object: any of its depth formats goes with any colour format.
    return IsBackBufferFormat(renderTargetFormat) && GlFormatOfDepth(depthStencilFormat).valid ? D3D_OK
                                                                                               : D3DERR_NOTAVAILABLE;
  }

  HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                       D3DPRESENT_PARAMETERS* presentation, IDirect3DDevice8** out) override {
    if (!out || !presentation || adapter >= GetAdapterCount()) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (type != D3DDEVTYPE_HAL && type != D3DDEVTYPE_REF) return D3DERR_INVALIDCALL;
    Rasteriser rasteriser = type == D3DDEVTYPE_REF                                ? Rasteriser::Software
                            : (behaviourFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING) ? Rasteriser::Accelerated
                                                                                     : Rasteriser::Any;
    HWND window = presentation->hDeviceWindow ? presentation->hDeviceWindow : focusWindow;
    std::string reason;
    GlDevice* device = GlDevice::Create(SdlWindowOf(window), type, rasteriser, adapter, *presentation, &reason);
    if (!device) {
      Os().OutputDebugStringA(("CreateDevice: " + reason + "\n").c_str());
      return D3DERR_NOTAVAILABLE;
    }
    device->SetContextLossDrill(ContextLossDrillPresents());
    *out = device;
    return D3D_OK;
  }

 protected:
  ~GlDirect3D() override { Sdl().SDL_QuitSubSystem(SDL_INIT_VIDEO); }

 private:
  // Listed once per adapter: the mode search asks for them one by one.
  const std::vector<D3DDISPLAYMODE>& ModesOf(UINT adapter) {
    auto found = modes_.find(adapter);
    if (found == modes_.end()) found = modes_.emplace(adapter, UsableModes(static_cast<int>(adapter))).first;
    return found->second;
  }

  std::map<UINT, std::vector<D3DDISPLAYMODE>> modes_;
};

}  // namespace

IDirect3D8* CreateGlDirect3D(UINT sdkVersion) {
  if (sdkVersion != kSdkVersion || Sdl().SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  return new GlDirect3D();
}
