// The latch that keeps a press between two state reads from being lost.
#include <gtest/gtest.h>

#include <vector>

#include "platform/dinput/press_latch.h"

namespace {

struct Read {
  int pressesBefore;  // presses noted since the previous read
  bool downNow;       // the present state at the read
  bool reported;      // what the read must report
};

struct LatchCase {
  const char* name;
  std::vector<Read> reads;
};

void PrintTo(const LatchCase& c, std::ostream* out) { *out << c.name; }

class PressLatchTest : public ::testing::TestWithParam<LatchCase> {};

TEST_P(PressLatchTest, ReportsEachPressAsOneDownRead) {
  PressLatch latch(3);
  int index = 0;
  for (const Read& read : GetParam().reads) {
    for (int i = 0; i < read.pressesBefore; ++i) latch.NotePress(1);
    EXPECT_EQ(latch.Read(1, read.downNow), read.reported) << "read " << index;
    EXPECT_FALSE(latch.Read(0, false));  // the other controls stay up
    ++index;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PressLatchTest,
    ::testing::Values(
        LatchCase{"tap between reads", {{1, false, true}, {0, false, false}, {0, false, false}}},
        LatchCase{"four taps between two reads: down, up, down, up ...",
                  {{4, false, true}, {0, false, false}, {0, false, true}, {0, false, false}, {0, false, true},
                   {0, false, false}, {0, false, true}, {0, false, false}, {0, false, false}}},
        LatchCase{"held over several reads", {{1, true, true}, {0, true, true}, {0, true, true}, {0, false, false}}},
        LatchCase{"released and pressed again between two reads while held: up first, then down",
                  {{1, true, true}, {0, true, true}, {1, true, false}, {0, true, true}, {0, false, false}}},
        LatchCase{"a tap after a down read waits for the up read",
                  {{0, true, true}, {1, false, false}, {0, false, true}, {0, false, false}}},
        LatchCase{"down at a read without an event", {{0, true, true}, {0, false, false}}},
        LatchCase{"nothing", {{0, false, false}, {0, false, false}}}));

TEST(PressLatchBoundsTest, ClearForgetsAndOutOfRangeIndicesPassThePresentState) {
  PressLatch latch(2);
  latch.NotePress(0);
  latch.NotePress(0);
  EXPECT_TRUE(latch.Read(0, false));
  latch.Clear();
  EXPECT_FALSE(latch.Read(0, false));
  latch.NotePress(2);  // ignored
  EXPECT_TRUE(latch.Read(2, true));
  EXPECT_FALSE(latch.Read(2, false));
}

TEST(PressLatchBoundsTest, PendingPressesStopAtTheBound) {
  PressLatch latch(1);
  for (int i = 0; i < 300; ++i) latch.NotePress(0);
  int downReads = 0;
  for (int read = 0; read < 700; ++read) downReads += latch.Read(0, false);
  EXPECT_EQ(downReads, 255);
}

}  // namespace
