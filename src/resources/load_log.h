// The debug-log line of a model or texture load: "load(name) ... " before the
// load, "ok." or "failed." after it, then what the loader noted about the file.
#pragma once

void LogLoadStart(const char* name);
void LogLoadOutcome(bool loaded);
