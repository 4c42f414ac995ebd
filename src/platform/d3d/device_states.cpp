#include "platform/d3d/device_states.h"

namespace {

D3DMATRIX Identity() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

}  // namespace

DeviceStates::DeviceStates() : world(Identity()), view(Identity()), projection(Identity()) {
  renderState[D3DRS_ZENABLE] = D3DZB_TRUE;
  renderState[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
  renderState[D3DRS_ZWRITEENABLE] = 1;
  renderState[D3DRS_SRCBLEND] = D3DBLEND_ONE;
  renderState[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
  renderState[D3DRS_CULLMODE] = D3DCULL_CCW;
  renderState[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
  renderState[D3DRS_LIGHTING] = 1;
  for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
    auto& s = stageState[stage];
    s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    s[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
    s[D3DTSS_MINFILTER] = D3DTEXF_POINT;
    s[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
  }
  material.Diffuse = {1, 1, 1, 1};
  for (D3DLIGHT8& l : light) {
    l.Type = D3DLIGHT_DIRECTIONAL;
    l.Diffuse = {1, 1, 1, 0};
    l.Direction = {0, 0, 1};
  }
}

bool DeviceStates::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state >= kRenderStateCount) return false;
  renderState[state] = value;
  return true;
}

bool DeviceStates::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) const {
  if (state >= kRenderStateCount || !value) return false;
  *value = renderState[state];
  return true;
}

bool DeviceStates::SetStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  if (stage >= kTextureStageCount || type >= kStageStateCount) return false;
  stageState[stage][type] = value;
  return true;
}

bool DeviceStates::GetStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) const {
  if (stage >= kTextureStageCount || type >= kStageStateCount || !value) return false;
  *value = stageState[stage][type];
  return true;
}

D3DMATRIX* DeviceStates::Transform(D3DTRANSFORMSTATETYPE type) {
  switch (type) {
    case D3DTS_WORLD: return &world;
    case D3DTS_VIEW: return &view;
    case D3DTS_PROJECTION: return &projection;
  }
  return nullptr;
}

bool DeviceStates::SetLight(DWORD index, const D3DLIGHT8& value) {
  if (index >= kLightCount) return false;
  light[index] = value;
  return true;
}

bool DeviceStates::LightEnable(DWORD index, BOOL enable) {
  if (index >= kLightCount) return false;
  lightEnabled[index] = enable != 0;
  return true;
}
