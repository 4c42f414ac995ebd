#include "graphics/direct3d.h"

D3DLIGHT8 directionalLight{};

void SetDirectionalLight(const D3DXVECTOR3& direction, const D3DCOLORVALUE& colour) {
  directionalLight = {};
  directionalLight.Type = D3DLIGHT_DIRECTIONAL;
  directionalLight.Diffuse = colour;
  directionalLight.Range = 1000.0f;
  D3DXVECTOR3 normalised;
  D3DXVec3Normalize(&normalised, &direction);
  directionalLight.Direction = normalised;
  if (!d3dDevice) return;
  d3dDevice->SetLight(0, &directionalLight);
  d3dDevice->LightEnable(0, TRUE);
}
