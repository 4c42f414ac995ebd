// The debug-log line of a model or texture load: "load(name) ... " before the
// load, "ok." or "failed." after it, then what the loader noted about the file.
// Failed loads are also kept, for a reload that must tell whether it did worse.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

void LogLoadStart(const char* name);
void LogLoadOutcome(bool loaded);

// A file that could not be loaded or read in full, and why.
struct LoadFailure {
  std::string file;
  std::string reason;  // one line that names the file
};

constexpr size_t kMaxLoadFailures = 32;

// For readers that log on their own (definition files).
void NoteLoadFailure(const char* file, const char* reason);
// The failures since the last call, oldest first; later ones beyond
// kMaxLoadFailures are dropped.
std::vector<LoadFailure> TakeLoadFailures();
