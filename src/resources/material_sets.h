// The day and night material sets of a mesh and the order its subsets are
// drawn in.
#pragma once
#include <cstdint>

#include "platform/d3d/d3d8types.h"

// Warm light that replaces window materials at night.
extern const D3DMATERIAL8 kNightLightMaterial;

// The file's material lit by the ambient light in its own diffuse colour.
D3DMATERIAL8 DayMaterial(const D3DMATERIAL8& fileMaterial);
// Diffuse alpha exactly 0.5 marks a lit window: it becomes the night light.
// Fully transparent materials turn opaque at night; others stay as by day.
D3DMATERIAL8 NightMaterial(const D3DMATERIAL8& dayMaterial);
// Sorts subset indices by diffuse alpha, largest first, keeping file order
// among equals, so opaque subsets are drawn before translucent ones.
void SortByDiffuseAlpha(const D3DMATERIAL8* materials, uint32_t* order, uint32_t count);
