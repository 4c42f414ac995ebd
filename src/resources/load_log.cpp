#include "resources/load_log.h"

#include "base/debug_log.h"
#include "gfxutil/load_notes.h"

void LogLoadStart(const char* name) {
  TakeLoadNotes();  // notes of earlier loads that nobody logged are not this file's
  LogPrintf("load(%s) ... ", name);
}

void LogLoadOutcome(bool loaded) {
  LogPrintf(loaded ? "ok.\n" : "failed.\n");
  for (const std::string& note : TakeLoadNotes()) LogPrintf("%s\n", note.c_str());
}
