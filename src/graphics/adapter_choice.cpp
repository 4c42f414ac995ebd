#include "base/command_line.h"
#include "base/program_globals.h"
#include "graphics/device_setup.h"

UINT ChooseAdapter(IDirect3D8* d3d) {
  UINT count = d3d->GetAdapterCount();
  LogPrintf("アダプタ数 = %d\n", static_cast<int>(count));
  LogPrintf("アダプタID = ");
  UINT adapter = D3DADAPTER_DEFAULT;
  if (count >= 2 && HasOption("-2nd")) {
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
