#include "gfxutil/font/render_state.h"

namespace {

struct RenderStateValue {
  D3DRENDERSTATETYPE state;
  DWORD value;
};
struct StageStateValue {
  D3DTEXTURESTAGESTATETYPE type;
  DWORD value;
};

// Unlit, over everything, blended by the glyph's coverage.
constexpr RenderStateValue kTextRenderStates[TextRenderState::kRenderStateCount] = {
    {D3DRS_LIGHTING, 0},
    {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_FOGENABLE, 0},
    {D3DRS_CULLMODE, D3DCULL_NONE},
    {D3DRS_ALPHABLENDENABLE, 1},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
};

// The texture carries white with coverage as alpha; the vertex colour tints it.
// Point sampling keeps the pixel-exact glyphs sharp.
constexpr StageStateValue kTextStageStates[TextRenderState::kStageStateCount] = {
    {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {D3DTSS_ALPHAOP, D3DTOP_MODULATE}, {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {D3DTSS_MAGFILTER, D3DTEXF_POINT}, {D3DTSS_MINFILTER, D3DTEXF_POINT}, {D3DTSS_MIPFILTER, D3DTEXF_NONE},
};

}  // namespace

TextRenderState::TextRenderState(IDirect3DDevice8* device) : device_(device) {
  for (int i = 0; i < kRenderStateCount; ++i) {
    device_->GetRenderState(kTextRenderStates[i].state, &savedRenderStates_[i]);
    device_->SetRenderState(kTextRenderStates[i].state, kTextRenderStates[i].value);
  }
  for (int i = 0; i < kStageStateCount; ++i) {
    device_->GetTextureStageState(0, kTextStageStates[i].type, &savedStageStates_[i]);
    device_->SetTextureStageState(0, kTextStageStates[i].type, kTextStageStates[i].value);
  }
  device_->GetTexture(0, &savedTexture_);  // adds a reference, released below
}

TextRenderState::~TextRenderState() {
  for (int i = 0; i < kRenderStateCount; ++i) device_->SetRenderState(kTextRenderStates[i].state, savedRenderStates_[i]);
  for (int i = 0; i < kStageStateCount; ++i) {
    device_->SetTextureStageState(0, kTextStageStates[i].type, savedStageStates_[i]);
  }
  device_->SetTexture(0, savedTexture_);
  if (savedTexture_) savedTexture_->Release();
}
