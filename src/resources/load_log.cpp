#include "resources/load_log.h"

#include <string>

#include "base/debug_log.h"
#include "platform/os/text_encoding.h"

namespace {
std::string loading;  // the file of the load under way
std::vector<LoadNote> failures;
}  // namespace

void LogLoadStart(const char* name) {
  loading = name;
  LogPrintf("load(%s) ... ", OnOneLine(name).c_str());
}

void LogLoadOutcome(bool loaded, const LoadNotes& notes, FindingCode failure) {
  LogPrintf(loaded ? "ok.\n" : "failed.\n");
  std::vector<LoadNote> all = notes.All();
  if (!loaded && failures.size() < kMaxLoadFailures)
    failures.push_back(all.empty() ? LoadNote{failure, loading, 0, "", "", "cannot be loaded"} : all.front());
  for (const LoadNote& note : all) LogPrintf("%s\n", note.Text().c_str());
}

std::vector<LoadNote> TakeLoadFailures() {
  std::vector<LoadNote> taken;
  taken.swap(failures);
  return taken;
}
