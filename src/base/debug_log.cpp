#include "base/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/command_line.h"
#include "platform/os/os.h"
#include "platform/os/real_os.h"

char debugLogPath[kPathBufferSize];

namespace {

constexpr size_t kLogLineSize = 256;
constexpr char kLogFileName[] = "debug.txt";

// The file when one is chosen; a file that cannot be opened loses no line,
// which goes to the debugger output instead.
void EmitLogText(const char* text) {
  if (debugLogPath[0] != '\0') {
    if (FILE* file = std::fopen(debugLogPath, "a")) {
      std::fputs(text, file);
      std::fclose(file);
      return;
    }
  }
  Os().OutputDebugStringA(text);
}

// A line cut at the buffer size keeps whole UTF-8 characters and its line end.
void EndTruncatedLine(char (&line)[kLogLineSize]) {
  size_t end = kLogLineSize - 2;  // room for the line end
  while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
  line[end] = '\n';
  line[end + 1] = '\0';
}

}  // namespace

int InitDebugStream() {
  const char* reason = nullptr;
  if (HasOption("-dbf")) {
    char directory[kPathBufferSize];
    GetProgramDirectory(directory);
    if (directory[0] == '\0')
      reason = "debug.txt: the program's directory is unknown; the log goes to standard error\n";
    else if (std::snprintf(debugLogPath, sizeof debugLogPath, "%s%s", directory, kLogFileName) >=
             static_cast<int>(sizeof debugLogPath))
      reason = "debug.txt: the program's directory path is too long; the log goes to standard error\n";
    if (reason) debugLogPath[0] = '\0';
  }
  LogSeparator();
  LogPrintf("InitDebugStream\n");
  if (reason) LogPrintf("%s", reason);
  WriteSystemReport();
  return 1;
}

void QuietDebugLog() { ShowDebuggerOutput(false); }

bool LogGoesToStandardError() { return debugLogPath[0] == '\0' && DebuggerOutputShown(); }

void LogPrintf(const char* format, ...) {
  char line[kLogLineSize] = {};
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  if (length >= static_cast<int>(sizeof line)) EndTruncatedLine(line);
  EmitLogText(line);
}

void LogSeparator() { EmitLogText("----------------------------------------\n"); }

void WriteSystemReport() {
  SYSTEMTIME time{};
  Os().GetLocalTime(&time);
  LogPrintf("%4d/%02d/%02d  %02d:%02d\n", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);

  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  Os().GetVersionExA(&version);
  LogPrintf("OS = ID %d ver,%d.%d build %d\n", static_cast<int>(version.dwPlatformId),
            static_cast<int>(version.dwMajorVersion), static_cast<int>(version.dwMinorVersion),
            static_cast<int>(version.dwBuildNumber));

  MEMORYSTATUS memory{};
  memory.dwLength = sizeof memory;
  Os().GlobalMemoryStatus(&memory);
  LogPrintf("利用可能／搭載メモリ = %d/%d MB\n", static_cast<int>(memory.dwAvailPhys >> 20),
            static_cast<int>(memory.dwTotalPhys >> 20));
}

void GetProgramDirectory(char (&buffer)[kPathBufferSize]) {
  DWORD length = Os().GetModuleFileNameA(buffer, kPathBufferSize);
  // A path cut short names no real directory.
  if (length == 0 || length >= kPathBufferSize) {
    buffer[0] = '\0';
    return;
  }
  char* slash = std::strrchr(buffer, '/');
  if (slash)
    slash[1] = '\0';
  else
    buffer[0] = '\0';
}
