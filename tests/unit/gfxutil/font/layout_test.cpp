#include "gfxutil/font/layout.h"

#include <gtest/gtest.h>

#include "overlay_font_request.h"

namespace {

constexpr DWORD kOverlayFormat = DT_EXPANDTABS | DT_NOPREFIX;
constexpr RECT kScreen{0, 0, 640, 480};

class FontLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    face = FontFace::Open(OverlayFontRequest(14));
    ASSERT_NE(face, nullptr);
    half = face->Advance(U'a');
  }
  TextLayout Layout(std::string_view text, DWORD format = kOverlayFormat, RECT rect = kScreen) {
    return LayoutText(text, format, rect, *face);
  }
  static std::u32string Characters(const TextLayout& layout) {
    std::u32string characters;
    for (const PlacedGlyph& glyph : layout.glyphs) characters.push_back(glyph.codepoint);
    return characters;
  }
  std::unique_ptr<FontFace> face;
  int half = 0;
};

TEST_F(FontLayout, PenAdvancesFromTheRectangleCorner) {
  TextLayout layout = Layout("ab漢c", kOverlayFormat, RECT{5, 7, 640, 480});
  ASSERT_EQ(layout.glyphs.size(), 4u);
  EXPECT_EQ(layout.lineCount, 1);
  EXPECT_EQ(layout.glyphs[0].x, 5);
  EXPECT_EQ(layout.glyphs[1].x, 5 + half);
  EXPECT_EQ(layout.glyphs[2].x, 5 + 2 * half);
  EXPECT_EQ(layout.glyphs[3].x, 5 + 4 * half);
  for (const PlacedGlyph& glyph : layout.glyphs) EXPECT_EQ(glyph.baseline, 7 + face->Ascent());
}

TEST_F(FontLayout, TabsJumpToStopsEveryEightAverageWidths) {
  const int stop = 8 * face->AverageCharWidth();
  TextLayout layout = Layout("a\tb\t\tc", kOverlayFormat, RECT{10, 0, 640, 480});
  EXPECT_EQ(Characters(layout), U"abc");
  EXPECT_EQ(layout.glyphs[1].x, 10 + stop);
  EXPECT_EQ(layout.glyphs[2].x, 10 + 3 * stop);
  // Text that already reaches a stop goes on to the next one.
  TextLayout full = Layout("12345678\tx");
  EXPECT_EQ(full.glyphs[8].x, 2 * stop);
  // Without the flag a tab is an ordinary character.
  EXPECT_EQ(Characters(Layout("a\tb", DT_NOPREFIX)), U"a\tb");
}

TEST_F(FontLayout, AmpersandIsDrawnWithNoPrefix) {
  TextLayout layout = Layout("R&D && co");
  EXPECT_EQ(Characters(layout), U"R&D && co");
  for (const PlacedGlyph& glyph : layout.glyphs) EXPECT_FALSE(glyph.underlined);
}

TEST_F(FontLayout, AmpersandPrefixesUnderlineWithoutNoPrefix) {
  TextLayout layout = Layout("&File && E&xit", DT_EXPANDTABS);
  EXPECT_EQ(Characters(layout), U"File & Exit");
  std::string underlined;
  for (const PlacedGlyph& glyph : layout.glyphs) underlined += glyph.underlined ? '_' : ' ';
  EXPECT_EQ(underlined, "_       _  ");
}

TEST_F(FontLayout, LineEndsStartNewLines) {
  TextLayout layout = Layout("ab\ncd\r\nef\rg\n", kOverlayFormat, RECT{3, 10, 640, 480});
  EXPECT_EQ(Characters(layout), U"abcdefg");
  EXPECT_EQ(layout.lineCount, 5);
  const int lines[] = {0, 0, 1, 1, 2, 2, 3};
  for (size_t i = 0; i < layout.glyphs.size(); ++i) {
    EXPECT_EQ(layout.glyphs[i].baseline, 10 + face->Ascent() + lines[i] * 14) << i;
  }
  EXPECT_EQ(layout.glyphs[2].x, 3);
  EXPECT_EQ(layout.glyphs[6].x, 3);
}

TEST_F(FontLayout, CharactersOutsideTheRectangleAreLeftOut) {
  // The fourth character of a line starts on the right edge; the third line starts below the bottom.
  TextLayout layout = Layout("abcd\nefgh\nijkl", kOverlayFormat, RECT{0, 0, 3 * half, 20});
  EXPECT_EQ(Characters(layout), U"abcefg");
  EXPECT_EQ(layout.lineCount, 3);
  EXPECT_TRUE(Layout("abc", kOverlayFormat, RECT{100, 100, 50, 480}).glyphs.empty());
}

TEST_F(FontLayout, LongTextsStopAtTheRectangle) {
  std::string line(200000, 'x');
  std::string lines(200000, '\n');
  EXPECT_LE(Layout(line).glyphs.size(), 640u / half + 1);
  EXPECT_EQ(Layout(lines).lineCount, 200001);
}

TEST_F(FontLayout, CodePage932TextIsDecoded) {
  EXPECT_EQ(Characters(Layout("\x83\x65\x83\x58\x83\x67 \x8a\xbf\x8e\x9a")), U"テスト 漢字");
  EXPECT_EQ(Characters(Layout("テスト")), U"テスト");
  EXPECT_EQ(Layout("").lineCount, 0);
}

}  // namespace
