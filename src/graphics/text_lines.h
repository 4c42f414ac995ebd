// A fixed-capacity block of overlay text lines at a screen position. New lines
// enter at the bottom and push the oldest out at the top. The block keeps its
// own copy of every line.
#pragma once
#include <optional>
#include <string>
#include <vector>

struct TextLines {
  static constexpr int kLinePitch = 14;
  static constexpr int kFormattedLineSize = 1024;  // bytes, with the terminating NUL

  int capacity = 0;
  int x = 0;
  int y = 0;
  int linePitch = kLinePitch;

  // Empty slots at the given top-left position. A block set up again loses its lines.
  void Setup(int lineCount, int left, int top);
  void AddLine(const char* text);
  // Longer texts are cut at 1023 bytes.
  void AddLinef(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void Clear();
  void Draw() const;
  // The text of slot index (0 is the top line), null for an empty slot.
  const char* Line(int index) const;

 private:
  void ScrollIn(std::string text);

  std::vector<std::optional<std::string>> lines_;  // index 0 is the top line
};
