#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_os.h"
#include "gfxutil/load_notes.h"
#include "resources/load_log.h"

namespace {

TEST(LoadLogTest, NotesFollowTheOutcomeOfTheirOwnLoadOnly) {
  FakeOs os;
  AddLoadNote("old.bmp", "left over from a load nobody logged");
  LogLoadStart("wall.bmp");
  AddLoadNote("wall.bmp", "%s", "BMP pixel data ends early");
  LogLoadOutcome(false);
  EXPECT_EQ(os.DebugText(), "load(wall.bmp) ... failed.\nwall.bmp: BMP pixel data ends early\n");
}

TEST(LoadLogTest, ANameWithControlCharactersStaysOnItsLines) {
  FakeOs os;
  LogLoadStart("tex\nture.png");
  AddLoadNote("tex\nture.png", "file not found");
  LogLoadOutcome(false);
  EXPECT_EQ(os.DebugText(), "load(tex\\nture.png) ... failed.\ntex\\nture.png: file not found\n");
}

TEST(LoadLogTest, ManyNotesAreCutToABoundedNumber) {
  FakeOs os;
  LogLoadStart("Model.x");
  for (int i = 0; i < 1000; ++i) AddLoadNote("Model.x", "note %d", i);
  LogLoadOutcome(true);
  ASSERT_EQ(os.debugOutput.size(), 2 + kMaxLoadNotes);  // the load line in two parts, then the notes
  EXPECT_EQ(os.debugOutput.back(), std::to_string(1000 - (kMaxLoadNotes - 1)) + " more notes left out\n");
  EXPECT_TRUE(TakeLoadNotes().empty());
}

TEST(LoadLogTest, KeptNotesAreTheOnesLoggedUntilKeepingStops) {
  FakeOs os;
  std::vector<LoadNote> kept;
  KeepLoadNotes(&kept);
  LogLoadStart("Model.x");
  AddLoadNoteAt("Model.x", 7, "line 7", "%u material indexes for %u faces", 1u, 2u);
  LogLoadOutcome(true);
  KeepLoadNotes(nullptr);
  LogLoadStart("a.png");
  AddLoadNote("a.png", "file not found");
  LogLoadOutcome(false);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].file, "Model.x");
  EXPECT_EQ(kept[0].line, 7u);
  EXPECT_EQ(kept[0].message, "1 material indexes for 2 faces");
  EXPECT_EQ(os.DebugText(),
            "load(Model.x) ... ok.\nModel.x: line 7: 1 material indexes for 2 faces\n"
            "load(a.png) ... failed.\na.png: file not found\n");
}
TEST(LoadLogTest, FailedLoadsAreKeptWithTheirFirstNoteUntilTaken) {
  FakeOs os;
  TakeLoadFailures();
  LogLoadStart("Model.x");
  AddLoadNoteAt("Model.x", 3, "line 3", "a value is not followed by ';' or ','");
  AddLoadNote("Model.x", "a second note");
  LogLoadOutcome(false);
  LogLoadStart("wall.bmp");
  LogLoadOutcome(true);
  LogLoadStart("roof.png");
  LogLoadOutcome(false);

  std::vector<LoadNote> failures = TakeLoadFailures();
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].Text(), "Model.x: line 3: a value is not followed by ';' or ','");
  EXPECT_EQ(failures[1].Text(), "roof.png: cannot be loaded");
  EXPECT_TRUE(TakeLoadFailures().empty());

  for (size_t i = 0; i < 2 * kMaxLoadFailures; ++i) {
    LogLoadStart("a.png");
    LogLoadOutcome(false);
  }
  EXPECT_EQ(TakeLoadFailures().size(), kMaxLoadFailures);
}

}  // namespace
