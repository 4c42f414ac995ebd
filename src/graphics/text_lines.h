// A fixed-capacity block of overlay text lines at a screen position. New lines
// enter at the bottom and push the oldest out at the top.
#pragma once
#include <cstdint>
#include <vector>

struct TextLines {
  static constexpr int kLinePitch = 14;
  static constexpr int kFormattedLineSize = 1024;  // bytes, with the terminating NUL

  std::vector<const char*> lines;  // index 0 is the top line; null is an empty slot
  std::vector<uint8_t> owned;      // 1 when the block made the line's buffer (AddLinef)
  int capacity = 0;
  int x = 0;
  int y = 0;
  int linePitch = kLinePitch;

  TextLines() = default;
  ~TextLines() { Clear(); }
  TextLines(const TextLines&) = delete;
  TextLines& operator=(const TextLines&) = delete;

  // Empty slots at the given top-left position. A block set up again loses its lines.
  void Setup(int lineCount, int left, int top);
  // The caller's text, which must stay valid while it is shown.
  void AddLine(const char* text);
  // Formats into a buffer of the block's own; longer texts are cut at 1023 bytes.
  void AddLinef(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void Clear();
  void Draw() const;

 private:
  // Frees the top line if owned, moves every line up one slot and puts text at the bottom.
  void ScrollIn(const char* text, bool isOwned);
};
