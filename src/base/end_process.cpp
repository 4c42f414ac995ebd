#include "base/end_process.h"

#include <cstdio>
#include <cstdlib>

#include "base/debug_log.h"

void EndProcess(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

void EndProcessWithReason(const char* reason) {
  LogPrintf("%s\n", reason);
  if (!LogGoesToStandardError()) std::fprintf(stderr, "%s\n", reason);
  EndProcess(1);
}
