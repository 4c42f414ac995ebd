// The directional light from two angles, and the two viewer switches:
// day/night (TAB) and texture filtering (SPACE).
#pragma once
#include "base/program_state.h"
#include "platform/d3d/d3d8types.h"

// Light direction (cos pitch cos yaw, sin pitch, cos pitch sin yaw).
void SetLightFromAngles(float yaw, float pitch, const D3DCOLORVALUE& colour);
// The light and ambient level of the current time of day; the light yaw enters negated.
void ApplyDayNight(float lightYaw, float lightPitch);
// Stage 0 magnification, minification and mip filters, all point or all linear.
void ApplyTextureFilter();
