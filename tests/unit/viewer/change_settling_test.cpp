#include "viewer/change_settling.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct SettlingCase {
  const char* what;
  uint32_t start;                       // the clock at the first frame
  std::vector<uint32_t> changeOffsets;  // ms after start at which a change is seen
  std::vector<uint32_t> settledOffsets;  // ms after start at which a reload is due
};

// Frames every 10 ms for two seconds; a change seen in a frame is noted before
// the frame asks whether the changes have settled, as the pump does.
std::vector<uint32_t> SettledFrames(const SettlingCase& c) {
  ChangeSettling settling;
  std::vector<uint32_t> settled;
  for (uint32_t offset = 0; offset <= 2000; offset += 10) {
    uint32_t now = c.start + offset;
    for (uint32_t change : c.changeOffsets)
      if (change == offset) settling.NoteChange(now);
    if (settling.TakeSettled(now)) settled.push_back(offset);
  }
  return settled;
}

TEST(ChangeSettlingTest, ABurstGivesOneReloadAQuietPeriodAfterItsLastChange) {
  const SettlingCase cases[] = {
      {"no change", 1000, {}, {}},
      {"one change", 1000, {100}, {350}},
      {"a burst of writes 100 ms apart", 1000, {100, 200, 300, 400, 500}, {750}},
      {"changes 240 ms apart stay one burst", 1000, {100, 340, 580}, {830}},
      {"two bursts with a quiet period between", 1000, {100, 110, 600, 610}, {360, 860}},
      {"a change at the very frame it would settle", 1000, {100, 350}, {600}},
      {"across the wrap of the clock", 0xFFFFFF00u, {100, 200}, {450}},
  };
  for (const SettlingCase& c : cases) EXPECT_EQ(SettledFrames(c), c.settledOffsets) << c.what;
}

}  // namespace
