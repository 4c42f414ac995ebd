#include "resources/load_log.h"

#include "base/debug_log.h"
#include "platform/os/text_encoding.h"

namespace {
std::vector<LoadNote>* keptNotes = nullptr;
}  // namespace

void KeepLoadNotes(std::vector<LoadNote>* kept) { keptNotes = kept; }

void LogLoadStart(const char* name) {
  TakeLoadNotes();  // notes of earlier loads that nobody logged are not this file's
  LogPrintf("load(%s) ... ", OnOneLine(name).c_str());
}

void LogLoadOutcome(bool loaded) {
  LogPrintf(loaded ? "ok.\n" : "failed.\n");
  for (LoadNote& note : TakeLoadNotes()) {
    LogPrintf("%s\n", note.Text().c_str());
    if (keptNotes) keptNotes->push_back(std::move(note));
  }
}
