// Materials as the loader hands them out.
#pragma once
#include <string_view>

#include "gfxutil/xfile/mesh_data.h"

// The 11 floats of a Material object: face colour RGBA, power, specular RGB,
// emissive RGB. Ambient is (0,0,0,1); specular and emissive alpha are 1.
XMaterial MaterialFromFile(const float (&values)[11]);

// The texture name of a TextureFilename object, cut at a NUL if it holds one.
void SetTextureName(XMaterial& material, std::string_view name);
