// -check: the plug-in loaded through the viewer's own loading on a device that
// keeps everything in memory (no display, no GPU), then reported.
#pragma once

// Writes the report to standard output and returns 0 with no problems, 3 with
// problems, 1 (one reason line on standard error) when nothing can be shown.
int RunCheck(const char* argument, bool json);
