// The state a Direct3D 8 device keeps between calls, starting from the
// documented defaults of a new device. Every device implementation keeps its
// state here, so the Get* calls answer alike everywhere.
#pragma once
#include <array>

#include "platform/d3d/d3d8types.h"

constexpr DWORD kRenderStateCount = 256;
constexpr DWORD kTextureStageCount = 8;
constexpr DWORD kStageStateCount = 32;
constexpr DWORD kLightCount = 8;

struct DeviceStates {
  DeviceStates();

  // Each returns false for a state, stage or index outside the tables.
  bool SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
  bool GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) const;
  bool SetStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
  bool GetStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) const;
  // Null for transform types the device does not keep.
  D3DMATRIX* Transform(D3DTRANSFORMSTATETYPE type);
  bool SetLight(DWORD index, const D3DLIGHT8& value);
  bool LightEnable(DWORD index, BOOL enable);

  DWORD RenderState(D3DRENDERSTATETYPE state) const { return renderState[state]; }
  DWORD StageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const { return stageState[stage][type]; }

  std::array<DWORD, kRenderStateCount> renderState{};
  std::array<std::array<DWORD, kStageStateCount>, kTextureStageCount> stageState{};
  D3DMATRIX world{}, view{}, projection{};
  D3DMATERIAL8 material{};
  std::array<D3DLIGHT8, kLightCount> light{};
  std::array<bool, kLightCount> lightEnabled{};
  DWORD fvf = 0;
  D3DCLIPSTATUS8 clipStatus{};
};
