#include "graphics/text_lines.h"

#include <cstdarg>
#include <cstdio>

#include "base/debug_log.h"
#include "graphics/overlay_text.h"

void TextLines::Setup(int lineCount, int left, int top) {
  Clear();
  capacity = lineCount > 0 ? lineCount : 0;
  lines.assign(capacity, nullptr);
  owned.assign(capacity, 0);
  x = left;
  y = top;
  linePitch = kLinePitch;
}

void TextLines::ScrollIn(const char* text, bool isOwned) {
  if (capacity == 0) {
    if (isOwned) delete[] text;
    return;
  }
  if (owned[0]) delete[] lines[0];
  for (int i = 1; i < capacity; ++i) {
    lines[i - 1] = lines[i];
    owned[i - 1] = owned[i];
  }
  lines[capacity - 1] = text;
  owned[capacity - 1] = isOwned ? 1 : 0;
}

void TextLines::AddLine(const char* text) { ScrollIn(text, false); }

void TextLines::AddLinef(const char* format, ...) {
  char* buffer = new char[kFormattedLineSize];
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
  ScrollIn(buffer, true);
}

void TextLines::Clear() {
  for (int i = 0; i < capacity; ++i) {
    if (owned[i]) delete[] lines[i];
    lines[i] = nullptr;
    owned[i] = 0;
  }
}

void TextLines::Draw() const {
  for (int i = 0; i < capacity; ++i) {
    if (lines[i]) DrawOverlayText(x, y + i * linePitch, lines[i]);
  }
}
