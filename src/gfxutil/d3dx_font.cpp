#include "gfxutil/d3dx_font.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "gfxutil/font/atlas.h"
#include "gfxutil/font/face.h"
#include "gfxutil/font/layout.h"
#include "gfxutil/font/quads.h"
#include "gfxutil/font/render_state.h"

namespace {

constexpr DWORD kWhiteRgb = 0x00FFFFFF;

class AtlasFont final : public ID3DXFont {
 public:
  AtlasFont(IDirect3DDevice8* device, std::unique_ptr<FontFace> face) : device_(device), face_(std::move(face)) {
    device_->AddRef();
  }
  ~AtlasFont() override {
    for (IDirect3DTexture8* texture : textures_) texture->Release();
    device_->Release();
  }

  HRESULT AddPageTexture() {
    IDirect3DTexture8* texture = nullptr;
    HRESULT hr = device_->CreateTexture(FontAtlas::kPageSize, FontAtlas::kPageSize, 1, 0, D3DFMT_A8R8G8B8,
                                        D3DPOOL_MANAGED, &texture);
    if (FAILED(hr)) return hr;
    textures_.push_back(texture);
    return D3D_OK;
  }

  int DrawTextA(const char* text, int count, RECT* rect, DWORD format, D3DCOLOR colour) override {
    if (!text || !rect) return 0;
    size_t length = count < 0 ? strlen(text) : size_t(count);
    TextLayout layout = LayoutText(std::string_view(text, length), format, *rect, *face_);
    PageQuads quads;
    bool drawn = true;
    for (const PlacedGlyph& placed : layout.glyphs) {
      const AtlasGlyph* glyph = CachedGlyph(placed.codepoint);
      if (!glyph) {
        // Every page is full: draw what is gathered, then start the atlas afresh.
        drawn = Draw(quads) && drawn;
        quads.clear();
        atlas_.Reset();
        glyph = CachedGlyph(placed.codepoint);
        if (!glyph) continue;
      }
      AppendGlyphQuads(placed, *glyph, colour, *rect, quads);
    }
    drawn = Draw(quads) && drawn;
    if (!drawn) return 0;
    return static_cast<int>(std::min<int64_t>(int64_t(layout.lineCount) * face_->LineHeight(), INT_MAX));
  }

 private:
  const AtlasGlyph* CachedGlyph(char32_t codepoint) {
    const AtlasGlyph* glyph = atlas_.Find(codepoint);
    return glyph ? glyph : atlas_.Insert(codepoint, face_->Rasterise(codepoint));
  }

  bool UploadPage(int page) {
    D3DLOCKED_RECT locked{};
    if (FAILED(textures_[page]->LockRect(0, &locked, nullptr, 0))) return false;
    const uint8_t* coverage = atlas_.PageCoverage(page);
    for (int row = 0; row < FontAtlas::kPageSize; ++row) {
      auto* texels = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + ptrdiff_t(row) * locked.Pitch);
      for (int column = 0; column < FontAtlas::kPageSize; ++column) {
        texels[column] = uint32_t(coverage[row * FontAtlas::kPageSize + column]) << 24 | kWhiteRgb;
      }
    }
    textures_[page]->UnlockRect(0);
    atlas_.MarkPageUploaded(page);
    return true;
  }

  bool PrepareTextures() {
    while (int(textures_.size()) < atlas_.PageCount()) {
      if (FAILED(AddPageTexture())) return false;
    }
    for (int page = 0; page < atlas_.PageCount(); ++page) {
      if (atlas_.PageChanged(page) && !UploadPage(page)) return false;
    }
    return true;
  }

  bool Draw(const PageQuads& quads) {
    bool any = false;
    for (const auto& vertices : quads) any = any || !vertices.empty();
    if (!any) return true;
    if (!PrepareTextures()) return false;
    TextRenderState state(device_);
    device_->SetVertexShader(kTextVertexFvf);
    for (size_t page = 0; page < quads.size(); ++page) {
      if (quads[page].empty()) continue;
      device_->SetTexture(0, textures_[page]);
      device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, UINT(quads[page].size() / 3), quads[page].data(),
                               sizeof(TextVertex));
    }
    return true;
  }

  IDirect3DDevice8* device_;
  std::unique_ptr<FontFace> face_;
  FontAtlas atlas_;
  std::vector<IDirect3DTexture8*> textures_;  // one per atlas page
};

}  // namespace

HRESULT D3DXCreateFontIndirect(IDirect3DDevice8* device, const LOGFONTA* logFont, ID3DXFont** font,
                               LoadNotes* notes) {
  if (!device || !logFont || !font) return D3DERR_INVALIDCALL;
  *font = nullptr;
  std::unique_ptr<FontFace> face = FontFace::Open(*logFont, notes);
  if (!face) return D3DERR_NOTFOUND;
  auto* created = new AtlasFont(device, std::move(face));
  // The first page's texture is made now, so a device that cannot hold one fails here, not in every frame.
  HRESULT hr = created->AddPageTexture();
  if (FAILED(hr)) {
    created->Release();
    return hr;
  }
  *font = created;
  return D3D_OK;
}
