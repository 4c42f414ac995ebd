// The device states text is drawn with. While a TextRenderState lives the
// device draws text; its end gives the caller's states and texture back.
#pragma once
#include "platform/d3d/d3d8.h"

class TextRenderState {
 public:
  explicit TextRenderState(IDirect3DDevice8* device);
  ~TextRenderState();
  TextRenderState(const TextRenderState&) = delete;
  TextRenderState& operator=(const TextRenderState&) = delete;

  static constexpr int kRenderStateCount = 7;
  static constexpr int kStageStateCount = 9;

 private:
  IDirect3DDevice8* device_;
  DWORD savedRenderStates_[kRenderStateCount] = {};
  DWORD savedStageStates_[kStageStateCount] = {};
  IDirect3DTexture8* savedTexture_ = nullptr;
};
