// The steps of the device set-up: adapter, display mode, depth format, device
// creation with its fallbacks, the capability report and the default states.
#include "graphics/device_setup.h"

#include <cstring>

#include "base/program_state.h"

UINT ChooseAdapter(IDirect3D8* d3d, bool secondAdapter) {
  UINT count = d3d->GetAdapterCount();
  LogPrintf("アダプタ数 = %d\n", static_cast<int>(count));
  LogPrintf("アダプタID = ");
  UINT adapter = D3DADAPTER_DEFAULT;
  if (count >= 2 && secondAdapter) {
    adapter = 1;
    LogPrintf("1\n");
  } else {
    LogPrintf("D3DADAPTER_DEFAULT\n");
  }
  D3DADAPTER_IDENTIFIER8 identifier{};
  d3d->GetAdapterIdentifier(adapter, 0, &identifier);
  identifier.Description[sizeof identifier.Description - 1] = '\0';
  LogPrintf("アダプタ名 = %s\n", identifier.Description);
  return adapter;
}

D3DFORMAT ChooseDisplayMode(IDirect3D8* d3d, UINT adapter, int width, int height, WindowModeRequest windowMode) {
  UINT count = d3d->GetAdapterModeCount(adapter);
  LogPrintf("アダプタのモード数 = %d\n", static_cast<int>(count));
  D3DDISPLAYMODE mode{};
  d3d->GetAdapterDisplayMode(adapter, &mode);
  D3DFORMAT displayFormat = mode.Format;
  LogPrintf("現在のモード = %d x %d %s\n", static_cast<int>(mode.Width), static_cast<int>(mode.Height),
            FormatName(displayFormat));

  // The walk stops at the requested size in the desktop format; otherwise the
  // last mode of the requested size in another format is the substitute.
  D3DFORMAT substitute = D3DFMT_UNKNOWN;
  for (UINT i = 0; i < count; ++i) {
    d3d->EnumAdapterModes(adapter, i, &mode);
    if (static_cast<int>(mode.Width) != width || static_cast<int>(mode.Height) != height) continue;
    if (mode.Format == displayFormat) break;
    substitute = mode.Format;
  }

  LogPrintf("ウインドウ化 = ");
  if (mode.Format != displayFormat) {
    displayFormat = substitute;
    Graphics().isWindowed = false;
    LogPrintf("OFF(フォーマット変更)\n");
  } else if (windowMode == WindowModeRequest::kWindowed) {
    Graphics().isWindowed = Graphics().configuredWindowMode = true;
    LogPrintf("ON\n");
  } else if (windowMode == WindowModeRequest::kFullScreen) {
    Graphics().isWindowed = Graphics().configuredWindowMode = false;
    LogPrintf("OFF\n");
  } else {
    LogPrintf("CFG(%d)\n", Graphics().configuredWindowMode);
    Graphics().isWindowed = Graphics().configuredWindowMode;
  }
  LogPrintf("選択されたモード = %d x %d %s ", width, height, FormatName(displayFormat));
  return displayFormat;
}

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
    std::strcpy(Graphics().deviceSetup.deviceType, attempt.name);
    IDirect3DDevice8* device = nullptr;
    if (SUCCEEDED(d3d->CreateDevice(adapter, attempt.type, window, attempt.behaviour, presentation, &device)) &&
        device) {
      LogPrintf("デバイスタイプ = %s\n", Graphics().deviceSetup.deviceType);
      return device;
    }
  }
  return nullptr;
}

namespace {

int Bit(DWORD bits, DWORD mask) { return (bits & mask) != 0; }

}  // namespace

DeviceCapabilities LogCapabilities(IDirect3DDevice8* device) {
  D3DCAPS8 caps{};
  device->GetDeviceCaps(&caps);
  DeviceCapabilities c{};
  c.maxPrimitiveCount = static_cast<int>(caps.MaxPrimitiveCount);
  c.maxActiveLights = static_cast<int>(caps.MaxActiveLights);
  c.vertexFog = Bit(caps.RasterCaps, D3DPRASTERCAPS_FOGVERTEX);
  c.pixelFog = Bit(caps.RasterCaps, D3DPRASTERCAPS_FOGTABLE);
  c.rangeFog = Bit(caps.RasterCaps, D3DPRASTERCAPS_FOGRANGE);
  c.availableTextureMemKB = static_cast<int>(device->GetAvailableTextureMem() >> 10);
  c.maxTextureWidth = static_cast<int>(caps.MaxTextureWidth);
  c.maxTextureHeight = static_cast<int>(caps.MaxTextureHeight);
  c.maxSimultaneousTextures = static_cast<int>(caps.MaxSimultaneousTextures);
  c.textureAlpha = Bit(caps.TextureCaps, D3DPTEXTURECAPS_ALPHA);
  c.mipmap = Bit(caps.TextureCaps, D3DPTEXTURECAPS_MIPMAP);
  c.bumpEnvMap = Bit(caps.TextureOpCaps, D3DTEXOPCAPS_BUMPENVMAP);
  // One report, written in two lines of the log: in UTF-8 it is longer than one log line holds.
  LogPrintf("最大プリミティブ = %d\n最大ライト = %d\nフォグ{\n\t頂点 = %d\n\tピクセル = %d\n\t範囲 = %d\n}\n",
            c.maxPrimitiveCount, c.maxActiveLights, c.vertexFog, c.pixelFog, c.rangeFog);
  LogPrintf(
      "テクスチャー{\n\t利用可能メモリ = %d KB\n\t最大サイズ = %d x %d\n\t最大ステージ = %d\n"
      "\tアルファブレンド = %d\n\tミップマップ = %d\n\tバンプマップ = %d\n}\n",
      c.availableTextureMemKB, c.maxTextureWidth, c.maxTextureHeight, c.maxSimultaneousTextures, c.textureAlpha,
      c.mipmap, c.bumpEnvMap);
  return c;
}

void SetDefaultStates(IDirect3DDevice8* device, DWORD depthClearFlags) {
  device->SetRenderState(D3DRS_LIGHTING, TRUE);
  device->SetRenderState(D3DRS_AMBIENT, 0xff808080);
  device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
  device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
  device->SetRenderState(D3DRS_FOGENABLE, FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
  device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

  device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
  device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
  device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_POINT);

  device->Clear(0, nullptr, depthClearFlags | D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
}

const char* FormatName(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_R8G8B8: return "D3DFMT_R8G8B8";
    case D3DFMT_A8R8G8B8: return "D3DFMT_A8R8G8B8";
    case D3DFMT_X8R8G8B8: return "D3DFMT_X8R8G8B8";
    case D3DFMT_R5G6B5: return "D3DFMT_R5G6B5";
    case D3DFMT_X1R5G5B5: return "D3DFMT_X1R5G5B5";
    case D3DFMT_A1R5G5B5: return "D3DFMT_A1R5G5B5";
    case D3DFMT_A4R4G4B4: return "D3DFMT_A4R4G4B4";
    case D3DFMT_R3G3B2: return "D3DFMT_R3G3B2";
    case D3DFMT_A8: return "D3DFMT_A8";
    case D3DFMT_A8R3G3B2: return "D3DFMT_A8R3G3B2";
    case D3DFMT_X4R4G4B4: return "D3DFMT_X4R4G4B4";
    case D3DFMT_D16_LOCKABLE: return "D3DFMT_D16_LOCKABLE";
    case D3DFMT_D32: return "D3DFMT_D32";
    case D3DFMT_D15S1: return "D3DFMT_D15S1";
    case D3DFMT_D24S8: return "D3DFMT_D24S8";
    case D3DFMT_D24X8: return "D3DFMT_D24X8";
    case D3DFMT_D24X4S4: return "D3DFMT_D24X4S4";
    case D3DFMT_D16: return "D3DFMT_D16";
  }
  return "D3DFMT_UNKNOWN";
}
