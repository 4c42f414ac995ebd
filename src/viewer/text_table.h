// Plain-text tables for terminals: columns padded to the width their UTF-8
// text takes on screen, where Japanese characters take two cells.
#pragma once
#include <string>
#include <string_view>
#include <vector>

using TextRow = std::vector<std::string>;

// Terminal cells of valid UTF-8 text: 2 for East Asian wide and full-width
// characters, 0 for combining marks, 1 for the rest.
size_t DisplayWidth(std::string_view utf8);

// The rows, each line starting with `indent` spaces, cells two spaces apart,
// every column as wide as its widest cell; the columns in `rightAligned`
// (by index) are padded on the left. No trailing blanks; control characters
// in a cell are escaped (OnOneLine).
std::string FormatTable(const std::vector<TextRow>& rows, size_t indent, const std::vector<size_t>& rightAligned = {});
