// Ending the process without the normal shut-down.
#pragma once

// Ends the process at once with the status, skipping every shut-down step.
[[noreturn]] void EndProcess(int status);
// Ends the process with status 1 when it cannot go on: the reason, one line
// without its line end, goes to the log and to standard error.
[[noreturn]] void EndProcessWithReason(const char* reason);
