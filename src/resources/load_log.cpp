#include "resources/load_log.h"

#include <string>

#include "base/debug_log.h"
#include "platform/os/text_encoding.h"

namespace {
std::vector<LoadNote>* keptNotes = nullptr;
std::string loading;  // the file of the load under way
std::vector<LoadNote> failures;
}  // namespace

void KeepLoadNotes(std::vector<LoadNote>* kept) { keptNotes = kept; }

void LogLoadStart(const char* name) {
  TakeLoadNotes();  // notes of earlier loads that nobody logged are not this file's
  loading = name;
  LogPrintf("load(%s) ... ", OnOneLine(name).c_str());
}

void LogLoadOutcome(bool loaded) {
  LogPrintf(loaded ? "ok.\n" : "failed.\n");
  std::vector<LoadNote> notes = TakeLoadNotes();
  if (!loaded && failures.size() < kMaxLoadFailures) {
    const LoadNote* problem = FirstProblem(notes);
    failures.push_back(problem ? *problem : LoadNote{loading, 0, "", "cannot be loaded"});
  }
  for (LoadNote& note : notes) {
    LogPrintf("%s\n", note.Text().c_str());
    if (keptNotes) keptNotes->push_back(std::move(note));
  }
}

std::vector<LoadNote> TakeLoadFailures() {
  std::vector<LoadNote> taken;
  taken.swap(failures);
  return taken;
}
