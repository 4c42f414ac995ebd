#include "gfxutil/load_notes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

LoadNote Note(FindingCode code, const std::string& message) { return LoadNote{code, "Model.x", 0, "", "", message}; }

// However many notes come before it, the fault that ended the load leads.
TEST(LoadNotes, TheFaultIsKeptApartFromTheCappedNotes) {
  struct Case {
    size_t notesBefore;
    size_t expectedAll;  // the fault, the notes kept, and a count of the rest
  };
  const Case cases[] = {{0, 1}, {1, 2}, {kMaxLoadNotes - 1, kMaxLoadNotes}, {100, kMaxLoadNotes + 1}};
  for (const Case& c : cases) {
    LoadNotes notes;
    for (size_t i = 0; i < c.notesBefore; ++i) notes.Add(Note(FindingCode::kMaterialIndexesShort, "harmless"));
    notes.SetFatal(Note(FindingCode::kModelUnreadable, "unexpected '}'"));
    std::vector<LoadNote> all = notes.All();
    ASSERT_EQ(all.size(), c.expectedAll) << c.notesBefore;
    EXPECT_EQ(all.front().message, "unexpected '}'") << c.notesBefore;
    EXPECT_EQ(all.front().code, FindingCode::kModelUnreadable);
    if (c.notesBefore >= kMaxLoadNotes) {
      EXPECT_EQ(all.back().message, std::to_string(c.notesBefore - (kMaxLoadNotes - 1)) + " more notes left out");
      EXPECT_EQ(all.back().code, FindingCode::kNotesLeftOut);
    }
  }
}

TEST(LoadNotes, AppendedNotesKeepTheirFaultAsANote) {
  LoadNotes texture, model;
  texture.SetFatal(Note(FindingCode::kTextureNotFound, "file not found"));
  model.Add(Note(FindingCode::kTextureNameEmpty, "a texture file name is empty"));
  model.Append(texture);
  EXPECT_FALSE(model.Fatal().has_value());
  std::vector<LoadNote> all = model.All();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[1].code, FindingCode::kTextureNotFound);
  EXPECT_TRUE(LoadNotes().Empty());
}

TEST(LoadNotes, TheLogLineNamesFilePlaceAndMessage) {
  EXPECT_EQ((LoadNote{FindingCode::kModelUnreadable, "Model.x", 3, "line 3", "Frame a", "bad\nvalue"}).Text(),
            "Model.x: line 3: bad\\nvalue");
  EXPECT_EQ(NoteMessage("%u of %s", 3u, "four"), "3 of four");
}

}  // namespace
