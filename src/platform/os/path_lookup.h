// Finding the files that plug-ins name. Plug-ins are written on Windows: their
// names may use '\', differ from the files in letter case, or be Shift-JIS.
#pragma once
#include <string>

// The path to open for a file name read from a plug-in, relative names taken
// from the current directory; empty when no such file exists.
// Tried in order: the name as stored; then with '\' read as '/' and runs of
// separators as one, also decoded from code page 932 when the name is not
// valid UTF-8; each of these first as written, then with every path element
// matched against its directory ignoring ASCII letter case.
std::string ResolveExistingPath(const std::string& name);
