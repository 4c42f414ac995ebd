#include <gtest/gtest.h>

#include "viewer/text_table.h"

namespace {

struct WidthCase {
  const char* text;
  size_t width;
};

TEST(TextTable, DisplayWidthCountsWideCharactersTwice) {
  const WidthCase cases[] = {
      {"", 0},
      {"Model.x", 7},
      {"サンプル駅", 10},        // katakana and kanji
      {"ｻﾝﾌﾟﾙ", 5},              // half-width katakana
      {"作: a", 5},              // a kanji, then ASCII
      {"ＡＢ", 4},               // full-width Latin letters
      {"e\xCC\x81", 1},          // e with a combining acute accent
      {"\xEF\xBF\xBD", 1},       // the replacement character
      {"\xF0\xA0\x80\x8B", 2},   // a kanji beyond the first plane
  };
  for (const WidthCase& c : cases) EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
}

TEST(TextTable, ColumnsLineUpByScreenWidth) {
  std::string text = FormatTable({{"name", "line"}, {"サンプル駅", "1"}, {"a", "10"}}, 2, {1});
  EXPECT_EQ(text,
            "  name        line\n"
            "  サンプル駅     1\n"
            "  a             10\n");
}

TEST(TextTable, ACellStaysOnOneLine) {
  EXPECT_EQ(FormatTable({{"a\nb", "c"}, {"d", "e"}}, 0), "a\\nb  c\nd     e\n");
}

TEST(TextTable, RowsMayBeShortAndCellsEmptyWithoutTrailingBlanks) {
  EXPECT_EQ(FormatTable({{"a", "", ""}, {"bb"}}, 0), "a\nbb\n");
  EXPECT_EQ(FormatTable({{"a", "", "c"}}, 1), " a    c\n");
  EXPECT_EQ(FormatTable({}, 4), "");
}

}  // namespace
