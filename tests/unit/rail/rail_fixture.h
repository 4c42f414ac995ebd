// Line sorting for the rail tests, on the scene fixture's recording device.
#pragma once
#include <vector>

#include "../scene/scene_fixture.h"

constexpr D3DCOLOR kColourMask = 0x00FFFFFF;
constexpr D3DCOLOR kRed = 0x00FF0000;
constexpr D3DCOLOR kMagenta = 0x00FF00FF;

inline std::vector<RecordedLine> LinesOfColour(const std::vector<RecordedLine>& lines, D3DCOLOR rgb) {
  std::vector<RecordedLine> out;
  for (const RecordedLine& line : lines)
    if ((line.startColour & kColourMask) == rgb) out.push_back(line);
  return out;
}

// The chords join end to start, each at most 0.5 long, one colour at both ends.
inline void ExpectConnectedChords(const std::vector<RecordedLine>& chords) {
  for (size_t i = 0; i < chords.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_LE(chords[i].Length(), 0.5f);
    EXPECT_EQ(chords[i].startColour, chords[i].endColour);
    if (i > 0) ExpectNear(chords[i].start, chords[i - 1].end, 0);
  }
}
