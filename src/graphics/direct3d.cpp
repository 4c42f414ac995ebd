#include "graphics/direct3d.h"

IDirect3D8* direct3d = nullptr;
IDirect3DDevice8* d3dDevice = nullptr;
int isWindowed = 1;
int configuredWindowMode = 1;
int requestedWidth = 0, requestedHeight = 0;
