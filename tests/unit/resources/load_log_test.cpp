#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_os.h"
#include "gfxutil/load_notes.h"
#include "resources/load_log.h"

namespace {

LoadNote Note(const char* file, const std::string& message, unsigned line = 0) {
  return LoadNote{FindingCode::kTextureUnreadable, file, line, line ? "line " + std::to_string(line) : "", "", message};
}

TEST(LoadLogTest, TheNotesOfTheLoadFollowItsOutcome) {
  FakeOs os;
  LoadNotes notes;
  notes.SetFatal(Note("wall.bmp", "BMP pixel data ends early"));
  LogLoadStart("wall.bmp");
  LogLoadOutcome(false, notes, FindingCode::kTextureNotCreated);
  EXPECT_EQ(os.DebugText(), "load(wall.bmp) ... failed.\nwall.bmp: BMP pixel data ends early\n");
}

TEST(LoadLogTest, ANameWithControlCharactersStaysOnItsLines) {
  FakeOs os;
  LoadNotes notes;
  notes.SetFatal(Note("tex\nture.png", "file not found"));
  LogLoadStart("tex\nture.png");
  LogLoadOutcome(false, notes, FindingCode::kTextureNotCreated);
  EXPECT_EQ(os.DebugText(), "load(tex\\nture.png) ... failed.\ntex\\nture.png: file not found\n");
}

TEST(LoadLogTest, ManyNotesAreCutToABoundedNumber) {
  FakeOs os;
  LoadNotes notes;
  for (int i = 0; i < 1000; ++i) notes.Add(Note("Model.x", "note " + std::to_string(i)));
  LogLoadStart("Model.x");
  LogLoadOutcome(true, notes, FindingCode::kModelUnreadable);
  ASSERT_EQ(os.debugOutput.size(), 2 + kMaxLoadNotes);  // the load line in two parts, then the notes
  EXPECT_EQ(os.debugOutput.back(), std::to_string(1000 - (kMaxLoadNotes - 1)) + " more notes left out\n");
}

TEST(LoadLogTest, FailedLoadsAreKeptWithTheirFaultUntilTaken) {
  FakeOs os;
  TakeLoadFailures();
  LoadNotes model;
  model.Add(Note("Model.x", "an earlier harmless note", 2));
  model.SetFatal(Note("Model.x", "a value is not followed by ';' or ','", 3));
  LogLoadStart("Model.x");
  LogLoadOutcome(false, model, FindingCode::kModelUnreadable);
  LogLoadStart("wall.bmp");
  LogLoadOutcome(true, LoadNotes(), FindingCode::kTextureNotCreated);
  LogLoadStart("roof.png");
  LogLoadOutcome(false, LoadNotes(), FindingCode::kTextureNotCreated);

  std::vector<LoadNote> failures = TakeLoadFailures();
  ASSERT_EQ(failures.size(), 2u);
  EXPECT_EQ(failures[0].Text(), "Model.x: line 3: a value is not followed by ';' or ','");
  EXPECT_EQ(failures[1].Text(), "roof.png: cannot be loaded");
  EXPECT_EQ(failures[1].code, FindingCode::kTextureNotCreated);
  EXPECT_TRUE(TakeLoadFailures().empty());

  for (size_t i = 0; i < 2 * kMaxLoadFailures; ++i) {
    LogLoadStart("a.png");
    LogLoadOutcome(false, LoadNotes(), FindingCode::kTextureNotCreated);
  }
  EXPECT_EQ(TakeLoadFailures().size(), kMaxLoadFailures);
}

}  // namespace
