#include "gfxutil/d3dx_font.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gfxutil/font/atlas.h"
#include "gfxutil/font/quads.h"
#include "overlay_font_request.h"
#include "recording_device.h"

namespace {

constexpr DWORD kOverlayFormat = DT_EXPANDTABS | DT_NOPREFIX;

// The value a state had when the call at `index` was made, replayed from the record.
double StateBefore(const CallRecord& record, size_t index, const char* setter, double stage, double state) {
  double value = -1;
  for (size_t i = 0; i < index; ++i) {
    const DeviceCall& call = record.calls[i];
    if (call.name != setter) continue;
    bool stageCall = call.name == "SetTextureStageState";
    if (stageCall ? call.Arg(0) == stage && call.Arg(1) == state : call.Arg(0) == state) {
      value = call.Arg(stageCall ? 2 : 1);
    }
  }
  return value;
}

class D3DXFont : public ::testing::Test {
 protected:
  void SetUp() override {
    LOGFONTA request = OverlayFontRequest(14);
    ASSERT_EQ(D3DXCreateFontIndirect(&device, &request, &font), D3D_OK);
    device.ClearCalls();
  }
  void TearDown() override {
    if (font) font->Release();
  }
  size_t IndexOf(const char* name, size_t nth = 0) const {
    for (size_t i = 0; i < device.calls.size(); ++i) {
      if (device.calls[i].name == name && nth-- == 0) return i;
    }
    return device.calls.size();
  }
  RecordingDevice device;
  ID3DXFont* font = nullptr;
  RECT screen{0, 0, 640, 480};
};

TEST_F(D3DXFont, HoldsTheDeviceAndOneTexturePageWhileAlive) {
  EXPECT_EQ(device.ExtraReferences(), 1);
  EXPECT_EQ(RecordingTexture::liveCount, 1);
  font->Release();
  font = nullptr;
  EXPECT_EQ(device.ExtraReferences(), 0);
  EXPECT_EQ(RecordingTexture::liveCount, 0);
}

TEST(D3DXCreateFontIndirect, FailuresLeaveNothingBehind) {
  RecordingDevice device;
  LOGFONTA request = OverlayFontRequest();
  ID3DXFont* font = reinterpret_cast<ID3DXFont*>(&device);
  EXPECT_EQ(D3DXCreateFontIndirect(nullptr, &request, &font), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXCreateFontIndirect(&device, nullptr, &font), D3DERR_INVALIDCALL);
  EXPECT_EQ(D3DXCreateFontIndirect(&device, &request, nullptr), D3DERR_INVALIDCALL);
  device.createTextureResult = E_OUTOFMEMORY;
  EXPECT_EQ(D3DXCreateFontIndirect(&device, &request, &font), E_OUTOFMEMORY);
  EXPECT_EQ(font, nullptr);
  EXPECT_EQ(device.ExtraReferences(), 0);
  EXPECT_EQ(RecordingTexture::liveCount, 0);
}

TEST_F(D3DXFont, DrawsTexturedTrianglesInTheTextColour) {
  RECT rect{20, 30, 640, 480};
  EXPECT_EQ(font->DrawTextA("Ab", -1, &rect, kOverlayFormat, 0x80ff0000), 14);
  ASSERT_EQ(device.Count("DrawPrimitiveUP"), 1u);
  const DeviceCall& draw = *device.Named("DrawPrimitiveUP")[0];
  EXPECT_EQ(draw.Arg(0), D3DPT_TRIANGLELIST);
  EXPECT_EQ(draw.Arg(1), 4);  // two glyphs
  EXPECT_EQ(draw.Arg(2), sizeof(TextVertex));
  EXPECT_EQ(draw.fvf, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  for (const RecordedVertex& v : DecodeVertices(draw)) {
    EXPECT_EQ(v.diffuse, 0x80ff0000u);
    EXPECT_GE(v.position.x, 19.5f);
    EXPECT_LE(v.position.x, 20 + 14 + 0.5f);
    EXPECT_GE(v.position.y, 29.5f);
    EXPECT_LE(v.position.y, 30 + 14 + 0.5f);
    EXPECT_EQ(v.rhw, 1.0f);
  }
  // Only the bytes counted are drawn; two lines are 28 pixels tall.
  device.ClearCalls();
  EXPECT_EQ(font->DrawTextA("Abc", 1, &rect, kOverlayFormat, 0xffffffff), 14);
  EXPECT_EQ(device.Named("DrawPrimitiveUP")[0]->Arg(1), 2);
  EXPECT_EQ(font->DrawTextA("A\nb", -1, &rect, kOverlayFormat, 0xffffffff), 28);
}

TEST_F(D3DXFont, GlyphTexelsAreWhiteWithCoverageAsAlpha) {
  font->DrawTextA("漢", -1, &screen, kOverlayFormat, 0xffffffff);
  size_t draw = IndexOf("DrawPrimitiveUP");
  ASSERT_LT(draw, device.calls.size());
  auto* texture = static_cast<const RecordingTexture*>(device.calls[draw - 1].object);
  ASSERT_EQ(device.calls[draw - 1].name, "SetTexture");
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->format, D3DFMT_A8R8G8B8);
  EXPECT_FALSE(texture->locked);
  int opaque = 0, clear = 0;
  for (size_t at = 0; at + 4 <= texture->bits.size(); at += 4) {
    uint32_t texel;
    memcpy(&texel, &texture->bits[at], 4);
    ASSERT_EQ(texel & 0xffffff, 0xffffffu);
    opaque += (texel >> 24) == 255;
    clear += (texel >> 24) == 0;
  }
  EXPECT_GT(opaque, 10);  // the kanji's strokes and the underline block
  EXPECT_GT(clear, 60000);
}

TEST_F(D3DXFont, DrawsWithTextStatesAndGivesTheCallersBack) {
  auto* previous = new RecordingTexture(8, 8, 1, D3DFMT_A8R8G8B8, DescribeTexture(8, 8, D3DFMT_A8R8G8B8));
  device.SetRenderState(D3DRS_LIGHTING, 1);
  device.SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
  device.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  device.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  device.SetTexture(0, previous);
  DeviceStates before = device.states;
  device.ClearCalls();

  font->DrawTextA("Text", -1, &screen, kOverlayFormat, 0xffffffff);

  size_t draw = IndexOf("DrawPrimitiveUP");
  ASSERT_LT(draw, device.calls.size());
  const std::pair<D3DRENDERSTATETYPE, DWORD> renderStates[] = {
      {D3DRS_LIGHTING, 0},      {D3DRS_ZENABLE, D3DZB_FALSE},         {D3DRS_CULLMODE, D3DCULL_NONE},
      {D3DRS_ALPHABLENDENABLE, 1}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA}, {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}};
  for (auto [state, value] : renderStates) {
    EXPECT_EQ(StateBefore(device, draw, "SetRenderState", 0, state), value) << state;
  }
  const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stageStates[] = {
      {D3DTSS_COLOROP, D3DTOP_MODULATE},  {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_DIFFUSE},
      {D3DTSS_ALPHAOP, D3DTOP_MODULATE},  {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
      {D3DTSS_MAGFILTER, D3DTEXF_POINT}, {D3DTSS_MINFILTER, D3DTEXF_POINT}};
  for (auto [type, value] : stageStates) {
    EXPECT_EQ(StateBefore(device, draw, "SetTextureStageState", 0, type), value) << type;
  }

  EXPECT_EQ(device.states.renderState, before.renderState);
  EXPECT_EQ(device.states.stageState, before.stageState);
  EXPECT_EQ(device.textures[0], previous);
  device.SetTexture(0, nullptr);
  EXPECT_EQ(previous->AddRef(), 2u);  // no reference was kept or lost on the way
  previous->Release();
  previous->Release();
}

TEST_F(D3DXFont, NothingVisibleMeansNoDeviceCalls) {
  RECT offRight{700, 0, 640, 480};
  EXPECT_EQ(font->DrawTextA("", -1, &screen, kOverlayFormat, 0xffffffff), 0);
  font->DrawTextA("   ", -1, &screen, kOverlayFormat, 0xffffffff);
  font->DrawTextA("abc", -1, &offRight, kOverlayFormat, 0xffffffff);
  EXPECT_EQ(font->DrawTextA(nullptr, -1, &screen, kOverlayFormat, 0xffffffff), 0);
  EXPECT_EQ(font->DrawTextA("abc", -1, nullptr, kOverlayFormat, 0xffffffff), 0);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(D3DXFont, MoreGlyphsThanTheAtlasHoldsAreAllDrawn) {
  constexpr int kCount = 3000;
  std::u32string characters;
  for (int i = 0; i < kCount; ++i) characters.push_back(char32_t(0x4E00 + i));
  std::string text;
  for (char32_t c : characters) {
    text += char(0xE0 | (c >> 12));
    text += char(0x80 | ((c >> 6) & 0x3F));
    text += char(0x80 | (c & 0x3F));
  }
  RECT wide{0, 0, 1 << 20, 480};
  EXPECT_EQ(font->DrawTextA(text.c_str(), -1, &wide, kOverlayFormat, 0xffffffff), 14);
  double triangles = 0;
  for (const DeviceCall* draw : device.Named("DrawPrimitiveUP")) triangles += draw->Arg(1);
  EXPECT_EQ(triangles, 2 * kCount);
  EXPECT_LE(RecordingTexture::liveCount, FontAtlas::kMaxPages);
  EXPECT_GT(device.Count("DrawPrimitiveUP"), size_t(FontAtlas::kMaxPages));
}

}  // namespace
