#include "viewer/text_table.h"

#include <algorithm>
#include <cstdint>

#include "platform/os/text_encoding.h"

namespace {

struct Range {
  char32_t first, last;
};

// Unicode's East Asian Wide and Fullwidth blocks, coarsely.
constexpr Range kWide[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF}, {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x20000, 0x3FFFD},
};
constexpr Range kCombining[] = {{0x0300, 0x036F}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}};

bool In(const Range* begin, const Range* end, char32_t c) {
  return std::any_of(begin, end, [&](const Range& r) { return c >= r.first && c <= r.last; });
}

size_t CellsOf(char32_t c) {
  if (In(std::begin(kCombining), std::end(kCombining), c)) return 0;
  return In(std::begin(kWide), std::end(kWide), c) ? 2 : 1;
}

std::string Padding(size_t cells) { return std::string(cells, ' '); }

}  // namespace

size_t DisplayWidth(std::string_view utf8) {
  size_t width = 0;
  for (size_t i = 0; i < utf8.size();) {
    auto lead = static_cast<uint8_t>(utf8[i]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length && i + k < utf8.size(); ++k) c = (c << 6) | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    width += CellsOf(c);
    i += length;
  }
  return width;
}

std::string FormatTable(const std::vector<TextRow>& cells, size_t indent, const std::vector<size_t>& rightAligned) {
  std::vector<TextRow> rows = cells;
  for (TextRow& row : rows)
    for (std::string& cell : row) cell = OnOneLine(cell);
  std::vector<size_t> widths;
  for (const TextRow& row : rows) {
    if (widths.size() < row.size()) widths.resize(row.size(), 0);
    for (size_t column = 0; column < row.size(); ++column)
      widths[column] = std::max(widths[column], DisplayWidth(row[column]));
  }
  std::string text;
  for (const TextRow& row : rows) {
    std::string line = Padding(indent);
    for (size_t column = 0; column < row.size(); ++column) {
      size_t gap = widths[column] - DisplayWidth(row[column]);
      bool right = std::find(rightAligned.begin(), rightAligned.end(), column) != rightAligned.end();
      if (column > 0) line += "  ";
      line += right ? Padding(gap) + row[column] : row[column] + Padding(gap);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + "\n";
  }
  return text;
}
