#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(LoadLogTest, FailedLoadsAreKeptWithTheirFirstNoteUntilTaken) {
  FakeOs os;
  TakeLoadFailures();
  LogLoadStart("Model.x");
  AddLoadNote("Model.x: line 3: a value is not followed by ';' or ','");
  AddLoadNote("a second note");
  LogLoadOutcome(false);
  LogLoadStart("wall.bmp");
  LogLoadOutcome(true);
  LogLoadStart("roof.png");
  LogLoadOutcome(false);
  NoteLoadFailure("Struct.txt", "Struct.txt: only 2 of 3 items read");

  std::vector<LoadFailure> failures = TakeLoadFailures();
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0].file, "Model.x");
  EXPECT_EQ(failures[0].reason, "Model.x: line 3: a value is not followed by ';' or ','");
  EXPECT_EQ(failures[1].file, "roof.png");
  EXPECT_EQ(failures[1].reason, "roof.png: cannot be loaded");
  EXPECT_EQ(failures[2].file, "Struct.txt");
  EXPECT_TRUE(TakeLoadFailures().empty());

  for (size_t i = 0; i < 2 * kMaxLoadFailures; ++i) NoteLoadFailure("a.png", "a.png: bad");
  EXPECT_EQ(TakeLoadFailures().size(), kMaxLoadFailures);
}

}  // namespace
