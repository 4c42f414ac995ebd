#include "gfxutil/font/face.h"

#include <gtest/gtest.h>

#include "gfxutil/font/match.h"
#include "gfxutil/load_notes.h"
#include "latin_only_fonts.h"
#include "overlay_font_request.h"

namespace {

// Code points no font maps; the face draws its missing-glyph shape for them.
constexpr char32_t kUnassigned = 0x10FFFD;

TEST(FontMatch, JapaneseFaceNameFindsAFaceWithJapaneseGlyphs) {
  FontFileMatch match = MatchFontFile(OverlayFontRequest());
  ASSERT_FALSE(match.path.empty());
  RecordProperty("font_file", match.path);
  std::printf("overlay font file: %s\n", match.path.c_str());

  auto face = FontFace::Open(OverlayFontRequest());
  ASSERT_NE(face, nullptr);
  GlyphBitmap missing = face->Rasterise(kUnassigned);
  for (char32_t kanji : {U'漢', U'昼', U'夜', U'補', U'ゴ'}) {
    GlyphBitmap glyph = face->Rasterise(kanji);
    EXPECT_NE(glyph.coverage, missing.coverage) << "U+" << std::hex << uint32_t(kanji) << " is drawn as a box";
  }
}

TEST(FontMatch, FaceNamesInUtf8AndCodePage932NameTheSameFace) {
  // The proportional IPA face, which the Japanese default would not pick.
  LOGFONTA utf8 = OverlayFontRequest();
  strcpy(utf8.lfFaceName, "IPA Pゴシック");
  LOGFONTA cp932 = OverlayFontRequest();
  strcpy(cp932.lfFaceName, "IPA P\x83\x53\x83\x56\x83\x62\x83\x4e");
  std::string path = MatchFontFile(utf8).path;
  EXPECT_NE(path.find("ipagp"), std::string::npos) << path;
  EXPECT_EQ(MatchFontFile(cp932).path, path);
}

TEST(FontMatch, WithoutAJapaneseFaceTheBestFaceOfferedIsTakenAndNamed) {
  LatinOnlyFonts fonts;
  LoadNotes taken;
  FontFileMatch match = MatchFontFile(OverlayFontRequest(), &taken);
  EXPECT_NE(match.path.find("/usr/share/fonts/truetype/dejavu/"), std::string::npos) << match.path;
  std::vector<LoadNote> notes = taken.All();
  ASSERT_EQ(notes.size(), 1u);
  const std::string& note = notes[0].message;
  EXPECT_TRUE(note.starts_with("no installed face covers Japanese; using DejaVu ")) << note;
  EXPECT_TRUE(note.ends_with(" (" + match.path + ")")) << note;

  auto face = FontFace::Open(OverlayFontRequest(14));
  ASSERT_NE(face, nullptr);
  GlyphBitmap missing = face->Rasterise(kUnassigned);
  for (char32_t c : {U'F', U'P', U'S', U'0', U'9', U'.'}) {
    EXPECT_NE(face->Rasterise(c).coverage, missing.coverage) << char(c) << " is drawn as a box";
  }
  EXPECT_EQ(face->LineHeight(), 14);
}

TEST(FontMatch, AJapaneseFaceIsTakenWithoutANote) {
  LoadNotes notes;
  EXPECT_FALSE(MatchFontFile(OverlayFontRequest(), &notes).path.empty());
  EXPECT_TRUE(notes.Empty());
}

TEST(FontFace, FourteenPixelCellGivesFourteenPixelLines) {
  auto face = FontFace::Open(OverlayFontRequest(14));
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->LineHeight(), 14);
  EXPECT_GT(face->Ascent(), 9);
  EXPECT_LT(face->Ascent(), 14);
  // A gothic face: half-width Latin, full-width kanji.
  EXPECT_EQ(face->Advance(U'A') * 2, face->Advance(U'漢'));
  EXPECT_EQ(face->AverageCharWidth(), face->Advance(U'A'));
}

TEST(FontFace, GlyphsStayInsideTheirCell) {
  auto face = FontFace::Open(OverlayFontRequest(14));
  ASSERT_NE(face, nullptr);
  for (char32_t c : {U'F', U'g', U'漢', U'|'}) {
    GlyphBitmap glyph = face->Rasterise(c);
    ASSERT_GT(glyph.width, 0);
    EXPECT_EQ(glyph.coverage.size(), size_t(glyph.width) * glyph.height);
    EXPECT_LE(glyph.top, face->Ascent());
    EXPECT_LE(glyph.height - glyph.top, face->LineHeight() - face->Ascent());
  }
  GlyphBitmap space = face->Rasterise(U' ');
  EXPECT_EQ(space.width * space.height, 0);
  EXPECT_EQ(space.advance, face->Advance(U' '));
}

TEST(FontFace, HeightsAreBoundedAndSigned) {
  auto huge = FontFace::Open(OverlayFontRequest(1 << 30));
  ASSERT_NE(huge, nullptr);
  EXPECT_EQ(huge->LineHeight(), FontFace::kMaxCellHeight);
  auto hugeEm = FontFace::Open(OverlayFontRequest(-(1 << 30)));
  ASSERT_NE(hugeEm, nullptr);
  EXPECT_LE(hugeEm->Advance(U'漢'), FontFace::kMaxCellHeight + 1);
  auto byEm = FontFace::Open(OverlayFontRequest(-14));
  ASSERT_NE(byEm, nullptr);
  EXPECT_EQ(byEm->Advance(U'漢'), 14);
  EXPECT_GE(byEm->LineHeight(), 14);
  auto byDefault = FontFace::Open(OverlayFontRequest(0));
  ASSERT_NE(byDefault, nullptr);
  EXPECT_EQ(byDefault->LineHeight(), FontFace::kDefaultCellHeight);
}

}  // namespace
