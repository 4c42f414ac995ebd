// The load notes since the last call, one line each, for comparing in tests.
#pragma once
#include <string>

#include "gfxutil/load_notes.h"

inline std::string TakenNotes() {
  std::string text;
  for (const LoadNote& note : TakeLoadNotes()) text += note.Text() + "\n";
  return text;
}
