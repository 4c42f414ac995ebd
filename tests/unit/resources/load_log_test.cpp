#include <gtest/gtest.h>

#include <string>

#include "fake_os.h"
#include "gfxutil/load_notes.h"
#include "resources/load_log.h"

namespace {

TEST(LoadLogTest, NotesFollowTheOutcomeOfTheirOwnLoadOnly) {
  FakeOs os;
  AddLoadNote("left over from a load nobody logged");
  LogLoadStart("wall.bmp");
  AddLoadNote("%s: %s", "wall.bmp", "BMP pixel data ends early");
  LogLoadOutcome(false);
  EXPECT_EQ(os.DebugText(), "load(wall.bmp) ... failed.\nwall.bmp: BMP pixel data ends early\n");
}

TEST(LoadLogTest, ManyNotesAreCutToABoundedNumber) {
  FakeOs os;
  LogLoadStart("Model.x");
  for (int i = 0; i < 1000; ++i) AddLoadNote("note %d", i);
  LogLoadOutcome(true);
  ASSERT_EQ(os.debugOutput.size(), 2 + kMaxLoadNotes);  // the load line in two parts, then the notes
  EXPECT_EQ(os.debugOutput.back(), std::to_string(1000 - (kMaxLoadNotes - 1)) + " more notes left out\n");
  EXPECT_TRUE(TakeLoadNotes().empty());
}

}  // namespace
