// A load's notes, one line each, for comparing in tests.
#pragma once
#include <string>

#include "gfxutil/load_notes.h"

inline std::string NotesText(const LoadNotes& notes) {
  std::string text;
  for (const LoadNote& note : notes.All()) text += note.Text() + "\n";
  return text;
}
