// Facts about the process and the machine, from POSIX and /proc.
#pragma once
#include <string>

#include "platform/os/os.h"

// Path of the running program (/proc/self/exe). Copies at most size-1 bytes and
// returns their number; returns size when the path does not fit, 0 when unknown.
DWORD ReadProgramPath(char* buffer, DWORD size);
// A millisecond clock that wraps at 2^32, like timeGetTime.
DWORD MonotonicMilliseconds();
void ReadLocalTime(SYSTEMTIME* time);
// Kernel release as major.minor, patch level as build number (see os.h).
bool ReadKernelVersion(OSVERSIONINFOA* info);
void ReadPhysicalMemory(MEMORYSTATUS* status);
// The user's folder for state such as logs, with its trailing '/':
// $XDG_STATE_HOME when it is an absolute path, else $HOME/.local/state/;
// empty when neither is known.
std::string UserStateDirectory();
// Whether a core stands idle: fewer tasks are ready to run, the caller
// included, than the machine has `cores`, by the text of /proc/loadavg
// ("0.52 0.48 0.40 1/345 6789"). `ownWaiting` of the tasks are the caller's
// own helpers spinning for work, which count as idle. False when the text
// does not say.
bool IdleCoreIn(const char* loadavg, unsigned cores, unsigned ownWaiting);
// The same for this machine now; false when /proc/loadavg cannot be read.
bool IdleCoreNow(unsigned ownWaiting);
