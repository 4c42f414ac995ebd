#include "scene/lighting.h"

#include "graphics/direct3d.h"
#include "scene/camera.h"


namespace {

constexpr D3DCOLORVALUE kDayLight{1, 1, 1, 1};
constexpr D3DCOLORVALUE kNightLight{0, 0, 0, 1};  // at night only the ambient term and emissive colours remain
constexpr D3DCOLOR kDayAmbient = 0xff808080;
constexpr D3DCOLOR kNightAmbient = 0xff202020;

}  // namespace

void SetLightFromAngles(float yaw, float pitch, const D3DCOLORVALUE& colour) {
  SetDirectionalLight(DirectionFromAngles(yaw, pitch), colour);
}

void ApplyDayNight(float lightYaw, float lightPitch) {
  SetLightFromAngles(-lightYaw, lightPitch, Program().nightMode ? kNightLight : kDayLight);
  Graphics().d3dDevice->SetRenderState(D3DRS_AMBIENT, Program().nightMode ? kNightAmbient : kDayAmbient);
}

void ApplyTextureFilter() {
  DWORD filter = Program().isLinearFilter ? D3DTEXF_LINEAR : D3DTEXF_POINT;
  Graphics().d3dDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
  Graphics().d3dDevice->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
  Graphics().d3dDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, filter);
}
