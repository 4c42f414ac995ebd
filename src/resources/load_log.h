// The debug-log line of a model or texture load: "load(name) ... " before the
// load, "ok." or "failed." after it, then what the loader noted about the file.
#pragma once
#include <vector>

#include "gfxutil/load_notes.h"

void LogLoadStart(const char* name);
void LogLoadOutcome(bool loaded);
// From now on every note logged is also appended to `kept`, for a report of
// the loads; null stops it.
void KeepLoadNotes(std::vector<LoadNote>* kept);
