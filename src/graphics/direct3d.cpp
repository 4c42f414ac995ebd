#include "graphics/direct3d.h"

IDirect3D8* direct3d = nullptr;
IDirect3DDevice8* d3dDevice = nullptr;
int isWindowed = 0;  // set by the display-mode choice; 0 until the device exists
int configuredWindowMode = 1;
int requestedWidth = 0, requestedHeight = 0;
