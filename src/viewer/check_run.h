// -check: the plug-in loaded through the viewer's own loading on a device that
// keeps everything in memory (no display, no GPU), then reported.
#pragma once
#include <string>

struct CheckReport;

// The loading and gathering of -check, without its output: false, with the
// reason, when nothing can be shown. The viewer is shut down and the device
// freed at the end, so that it may run again in the same process.
bool CheckPlugin(const char* argument, CheckReport& report, std::string& reason);

// Writes the report to standard output and each problem as a line on standard
// error; returns 0 with no problems, 3 with problems, 1 (one reason line on
// standard error) when nothing can be shown.
int RunCheck(const char* argument, bool json);
