// The directional light from two angles, and the two viewer switches:
// day/night (TAB) and texture filtering (SPACE).
#pragma once
#include <cstdint>

#include "platform/d3d/d3d8types.h"

extern uint8_t nightMode;       // 0 day, 1 night; the meshes then use their night materials
extern int32_t isLinearFilter;  // 0 point filtering, 1 linear filtering

// Light direction (cos pitch cos yaw, sin pitch, cos pitch sin yaw).
void SetLightFromAngles(float yaw, float pitch, const D3DCOLORVALUE& colour);
// The light and ambient level of the current time of day; the light yaw enters negated.
void ApplyDayNight(float lightYaw, float lightPitch);
// Stage 0 magnification, minification and mip filters, all point or all linear.
void ApplyTextureFilter();
