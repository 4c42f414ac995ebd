// Runs of consecutive faces with the same attribute, with the range of vertex
// indices each uses. For a mesh sorted by attribute this is its attribute table.
#pragma once
#include <cstddef>
#include <vector>

#include "gfxutil/d3dx_mesh.h"

// `indices` holds three WORDs per face, or three DWORDs with `indices32`.
std::vector<D3DXATTRIBUTERANGE> AttributeRuns(const void* indices, bool indices32, const DWORD* attributes,
                                              size_t faceCount);
