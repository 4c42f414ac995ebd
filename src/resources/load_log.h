// The debug-log line of a model or texture load: "load(name) ... " before the
// load, "ok." or "failed." after it, then what the loader noted about the file.
// Failed loads are also kept, for a reload that must tell whether it did worse.
#pragma once
#include <cstddef>
#include <vector>

#include "gfxutil/load_notes.h"

void LogLoadStart(const char* name);
// `failure` is the code of a failed load whose loader noted no fault.
void LogLoadOutcome(bool loaded, const LoadNotes& notes, FindingCode failure);

constexpr size_t kMaxLoadFailures = 32;

// The loads that failed since the last call, oldest first, each as its fault
// (or its first note, or "cannot be loaded" when the loader noted nothing);
// later ones beyond kMaxLoadFailures are dropped.
std::vector<LoadNote> TakeLoadFailures();
