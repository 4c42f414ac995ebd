#include "graphics/text_lines.h"

#include <cstdarg>
#include <cstdio>

#include "base/debug_log.h"
#include "graphics/overlay_text.h"

void TextLines::Setup(int lineCount, int left, int top) {
  capacity = lineCount > 0 ? lineCount : 0;
  lines_.assign(capacity, std::nullopt);
  x = left;
  y = top;
  linePitch = kLinePitch;
}

void TextLines::ScrollIn(std::string text) {
  if (capacity == 0) return;
  for (int i = 1; i < capacity; ++i) lines_[i - 1] = std::move(lines_[i]);
  lines_[capacity - 1] = std::move(text);
}

void TextLines::AddLine(const char* text) { ScrollIn(text); }

void TextLines::AddLinef(const char* format, ...) {
  char buffer[kFormattedLineSize];
  va_list arguments;
  va_start(arguments, format);
  int length = vsnprintf(buffer, kFormattedLineSize, format, arguments);
  va_end(arguments);
  if (length < 0) {
    buffer[0] = '\0';
    LogPrintf("text line \"%s\" could not be formatted\n", format);
  } else if (length >= kFormattedLineSize) {
    LogPrintf("text line of %d bytes cut to %d\n", length, kFormattedLineSize - 1);
  }
  ScrollIn(buffer);
}

void TextLines::Clear() { lines_.assign(capacity, std::nullopt); }

void TextLines::Draw() const {
  for (int i = 0; i < capacity; ++i)
    if (lines_[i]) DrawOverlayText(x, y + i * linePitch, lines_[i]->c_str());
}

const char* TextLines::Line(int index) const {
  if (index < 0 || index >= capacity || !lines_[index]) return nullptr;
  return lines_[index]->c_str();
}
