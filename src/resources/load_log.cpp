#include "resources/load_log.h"

#include "base/debug_log.h"
#include "gfxutil/load_notes.h"

namespace {
std::string loading;  // the file of the load under way
std::vector<LoadFailure> failures;
}  // namespace

void LogLoadStart(const char* name) {
  TakeLoadNotes();  // notes of earlier loads that nobody logged are not this file's
  loading = name;
  LogPrintf("load(%s) ... ", name);
}

void LogLoadOutcome(bool loaded) {
  LogPrintf(loaded ? "ok.\n" : "failed.\n");
  std::vector<std::string> notes = TakeLoadNotes();
  for (const std::string& note : notes) LogPrintf("%s\n", note.c_str());
  if (!loaded) NoteLoadFailure(loading.c_str(), notes.empty() ? (loading + ": cannot be loaded").c_str() : notes[0].c_str());
}

void NoteLoadFailure(const char* file, const char* reason) {
  if (failures.size() < kMaxLoadFailures) failures.push_back({file, reason});
}

std::vector<LoadFailure> TakeLoadFailures() {
  std::vector<LoadFailure> taken;
  taken.swap(failures);
  return taken;
}
