// The debug-log line of a model or texture load: "load(name) ... " before the
// load, "ok." or "failed." after it, then what the loader noted about the file.
// Failed loads are also kept, for a reload that must tell whether it did worse.
#pragma once
#include <cstddef>
#include <vector>

#include "gfxutil/load_notes.h"

void LogLoadStart(const char* name);
void LogLoadOutcome(bool loaded);
// From now on every note logged is also appended to `kept`, for a report of
// the loads; null stops it.
void KeepLoadNotes(std::vector<LoadNote>* kept);

constexpr size_t kMaxLoadFailures = 32;

// The loads that failed since the last call, oldest first, each as its first
// problem (or "cannot be loaded" when the reader noted none); later ones
// beyond kMaxLoadFailures are dropped.
std::vector<LoadNote> TakeLoadFailures();
