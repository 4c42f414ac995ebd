// The debug log: printf-style lines to the debugger output (standard error,
// when it is shown), or appended to debug.txt with "-dbf": in the program's
// directory, or where that cannot be written in the user's state directory
// ($XDG_STATE_HOME/vondrel-viewer/), which one line on standard error names.
#pragma once
#include <cstddef>

constexpr size_t kPathBufferSize = 260;

// With writeLogFile (-dbf) the log also goes to debug.txt beside the program,
// or to the user's state directory when that cannot be written.
int InitDebugStream(bool writeLogFile);
// Drops what would go to standard error as debugger output, the log lines
// among it; a log file chosen with "-dbf" still receives them. Standard error
// then carries only what is wrong.
void QuietDebugLog();
// False once the lines go to a file or nowhere.
bool LogGoesToStandardError();
void LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void LogSeparator();
void WriteSystemReport();
// Directory of the program's own file, with its trailing '/'; empty if unknown.
void GetProgramDirectory(char (&buffer)[kPathBufferSize]);
