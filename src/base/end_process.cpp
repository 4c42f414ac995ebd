#include "base/end_process.h"

#include <cstdio>
#include <cstdlib>

#include "base/debug_log.h"
#include "platform/os/os.h"

void EndProcess(int status) {
  std::fflush(nullptr);
  std::_Exit(status);
}

void EndProcessWithReason(const char* reason) {
  LogPrintf("%s\n", reason);
  // Without a log file the log already is standard error.
  if (debugLogPath[0] != '\0') {
    Os().OutputDebugStringA(reason);
    Os().OutputDebugStringA("\n");
  }
  EndProcess(1);
}
