#include "gfxutil/font/face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include "gfxutil/font/font_libraries.h"
#include "gfxutil/font/match.h"

struct FontFace::FreeTypeHandles {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~FreeTypeHandles() {
    if (face) FreeType().FT_Done_Face(face);
    if (library) FreeType().FT_Done_FreeType(library);
  }
};

namespace {

int RoundPixels(FT_Pos value26_6) { return static_cast<int>((value26_6 + 32) >> 6); }

// Positive heights are cells (ascent + descent), negative ones em heights.
int PixelHeight(LONG height) {
  if (height == 0) return FontFace::kDefaultCellHeight;
  if (height < -FontFace::kMaxCellHeight || height > FontFace::kMaxCellHeight) return FontFace::kMaxCellHeight;
  return height < 0 ? -height : height;
}

bool RequestPixelSize(FT_Face face, LONG height) {
  FT_Size_RequestRec request{};
  request.type = height < 0 ? FT_SIZE_REQUEST_TYPE_NOMINAL : FT_SIZE_REQUEST_TYPE_CELL;
  request.height = PixelHeight(height) * 64;
  return FreeType().FT_Request_Size(face, &request) == 0;
}

void CopyCoverage(const FT_Bitmap& bitmap, GlyphBitmap& out) {
  out.coverage.assign(size_t(out.width) * out.height, 0);
  for (int row = 0; row < out.height; ++row) {
    const unsigned char* source = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
    uint8_t* target = out.coverage.data() + size_t(row) * out.width;
    for (int column = 0; column < out.width; ++column) {
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
        target[column] = (source[column >> 3] & (0x80 >> (column & 7))) ? 255 : 0;
      } else {
        target[column] = source[column];
      }
    }
  }
}

}  // namespace

std::unique_ptr<FontFace> FontFace::Open(const LOGFONTA& logFont, LoadNotes* notes) {
  FontFileMatch match = MatchFontFile(logFont, notes);
  if (match.path.empty()) return nullptr;
  auto ft = std::make_unique<FreeTypeHandles>();
  if (FreeType().FT_Init_FreeType(&ft->library) != 0) return nullptr;
  if (FreeType().FT_New_Face(ft->library, match.path.c_str(), match.faceIndex, &ft->face) != 0) return nullptr;
  if (!RequestPixelSize(ft->face, logFont.lfHeight)) return nullptr;
  return std::unique_ptr<FontFace>(new FontFace(std::move(ft), logFont.lfHeight));
}

FontFace::FontFace(std::unique_ptr<FreeTypeHandles> handles, LONG requestedHeight) : ft_(std::move(handles)) {
  FT_Face face = ft_->face;
  // Unrounded scaled metrics: FreeType rounds ascender and descender outwards,
  // which would make a 14-pixel cell 15 pixels tall.
  FT_Pos ascender = FreeType().FT_MulFix(face->ascender, face->size->metrics.y_scale);
  FT_Pos descender = -FreeType().FT_MulFix(face->descender, face->size->metrics.y_scale);
  ascent_ = RoundPixels(ascender);
  lineHeight_ = requestedHeight > 0 ? PixelHeight(requestedHeight) : ascent_ + RoundPixels(descender);
  auto* os2 = static_cast<TT_OS2*>(FreeType().FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->xAvgCharWidth > 0) {
    averageCharWidth_ = RoundPixels(FreeType().FT_MulFix(os2->xAvgCharWidth, face->size->metrics.x_scale));
  } else {
    averageCharWidth_ = Advance(U'x');
  }
}

FontFace::~FontFace() = default;

int FontFace::Advance(char32_t codepoint) {
  auto known = advances_.find(codepoint);
  if (known != advances_.end()) return known->second;
  int advance = 0;
  if (FreeType().FT_Load_Char(ft_->face, codepoint, FT_LOAD_DEFAULT) == 0) advance = RoundPixels(ft_->face->glyph->advance.x);
  advances_.emplace(codepoint, advance);
  return advance;
}

GlyphBitmap FontFace::Rasterise(char32_t codepoint) {
  GlyphBitmap glyph;
  if (FreeType().FT_Load_Char(ft_->face, codepoint, FT_LOAD_RENDER) != 0) return glyph;
  FT_GlyphSlot slot = ft_->face->glyph;
  glyph.advance = RoundPixels(slot->advance.x);
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return glyph;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.height = static_cast<int>(bitmap.rows);
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  CopyCoverage(bitmap, glyph);
  return glyph;
}
