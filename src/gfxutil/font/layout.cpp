#include "gfxutil/font/layout.h"

#include "platform/os/text_encoding.h"

namespace {

constexpr int kTabStopInAverageWidths = 8;

// Decodes one character of well-formed UTF-8 and moves past it.
char32_t NextCodepoint(std::string_view text, size_t& at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
  char32_t codepoint = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 1; i <= extra && at + i < text.size(); ++i) codepoint = (codepoint << 6) | (byte(at + i) & 0x3F);
  at += extra + 1;
  return codepoint;
}

std::u32string Codepoints(std::string_view bytes) {
  std::string text = DisplayText(bytes);
  std::u32string codepoints;
  for (size_t at = 0; at < text.size();) codepoints.push_back(NextCodepoint(text, at));
  return codepoints;
}

}  // namespace

TextLayout LayoutText(std::string_view bytes, DWORD format, const RECT& rect, FontFace& face) {
  TextLayout layout;
  std::u32string text = Codepoints(bytes);
  if (text.empty()) return layout;
  const int tabWidth = kTabStopInAverageWidths * face.AverageCharWidth();
  const bool prefixes = !(format & DT_NOPREFIX);
  // The pen stops moving once it has left the rectangle, so long texts cannot overflow it.
  int x = rect.left;
  int lineTop = rect.top;
  layout.lineCount = 1;
  bool prefixPending = false;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c == U'\r' || c == U'\n') {
      if (c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
      x = rect.left;
      if (lineTop < rect.bottom) lineTop += face.LineHeight();
      ++layout.lineCount;
      prefixPending = false;
      continue;
    }
    if (x >= rect.right || lineTop >= rect.bottom) continue;
    if (c == U'\t' && (format & DT_EXPANDTABS) && tabWidth > 0) {
      x = rect.left + ((x - rect.left) / tabWidth + 1) * tabWidth;
      continue;
    }
    if (c == U'&' && prefixes && !prefixPending) {
      prefixPending = true;
      continue;
    }
    bool underlined = prefixPending && c != U'&';  // "&&" draws one plain '&'
    prefixPending = false;
    int advance = face.Advance(c);
    layout.glyphs.push_back({c, x, lineTop + face.Ascent(), advance, underlined});
    x += advance;
  }
  return layout;
}
