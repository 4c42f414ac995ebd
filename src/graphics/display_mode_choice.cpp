#include "base/command_line.h"
#include "base/program_globals.h"
#include "graphics/device_setup.h"

D3DFORMAT ChooseDisplayMode(IDirect3D8* d3d, UINT adapter, int width, int height) {
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
    isWindowed = 0;
    LogPrintf("OFF(フォーマット変更)\n");
  } else if (HasOption("-win")) {
    isWindowed = configuredWindowMode = 1;
    LogPrintf("ON\n");
  } else if (HasOption("-full")) {
    isWindowed = configuredWindowMode = 0;
    LogPrintf("OFF\n");
  } else {
    LogPrintf("CFG(%d)\n", configuredWindowMode);
    isWindowed = configuredWindowMode;
  }
  LogPrintf("選択されたモード = %d x %d %s ", width, height, FormatName(displayFormat));
  return displayFormat;
}
