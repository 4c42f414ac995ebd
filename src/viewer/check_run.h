// -check: the plug-in loaded through the viewer's own loading on a device that
// keeps everything in memory (no display, no GPU), then reported.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/finding_code.h"

struct CheckReport;

// The loading and gathering of -check, without its output. False, with the
// reason, when nothing can be shown: the report then says so (FailedCheckReport).
// The viewer is shut down and the device freed at the end, so that it may run
// again in the same process.
bool CheckPlugin(const char* argument, CheckReport& report, std::string& reason);

// Writes the report, without the findings of the ignored codes, to standard
// output and each error and warning as a line on standard error. Returns 0
// with no error or warning, 3 with any; 1, with one reason line on standard
// error (and, with json, the report of the failure on standard output), when
// nothing can be shown.
int RunCheck(const char* argument, bool json, const std::vector<FindingCode>& ignored);
