#include "base/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/program_state.h"
#include "platform/os/os.h"
#include "platform/os/posix_system.h"
#include "platform/os/real_os.h"

namespace {

constexpr size_t kLogLineSize = 256;
constexpr char kLogFileName[] = "debug.txt";
constexpr char kStateFolder[] = "vondrel-viewer/";

// The file when one is chosen; a file that cannot be opened loses no line,
// which goes to the debugger output instead.
void EmitLogText(const char* text) {
  if (Program().debugLogPath[0] != '\0') {
    if (FILE* file = std::fopen(Program().debugLogPath, "a")) {
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

// The file -dbf names, when it can be appended to (made if need be).
bool UseLogFile(const std::string& path) {
  if (path.size() >= kPathBufferSize) return false;
  FILE* file = std::fopen(path.c_str(), "a");
  if (!file) return false;
  std::fclose(file);
  std::memcpy(Program().debugLogPath, path.c_str(), path.size() + 1);
  return true;
}

// debug.txt in the program's directory; where that cannot be written (an
// installed program run by a user), in the user's state directory; else the
// log stays on standard error. Empty for the program's directory, else one
// line that says where the log goes.
std::string ChooseLogFile() {
  Program().debugLogPath[0] = '\0';
  char directory[kPathBufferSize];
  GetProgramDirectory(directory);
  std::string beside = std::string(directory) + kLogFileName;
  if (directory[0] != '\0' && UseLogFile(beside)) return "";
  std::string reason = directory[0] == '\0'                  ? "the program's directory is unknown"
                       : beside.size() >= kPathBufferSize ? "the program's directory path is too long"
                                                          : std::string(directory) + " cannot be written";
  std::string state = UserStateDirectory();
  if (!state.empty()) {
    std::string folder = state + kStateFolder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (UseLogFile(folder + kLogFileName)) return "debug.txt: " + reason + "; the log goes to " + folder + kLogFileName;
  }
  ShowDebuggerOutput(true);
  return "debug.txt: " + reason + ", nor can the user's state directory be; the log goes to standard error";
}

}  // namespace

int InitDebugStream(bool writeLogFile) {
  std::string elsewhere = writeLogFile ? ChooseLogFile() : "";
  if (!elsewhere.empty()) std::fprintf(stderr, "vondrel-viewer: %s\n", elsewhere.c_str());
  LogSeparator();
  LogPrintf("InitDebugStream\n");
  if (!elsewhere.empty()) LogPrintf("%s\n", elsewhere.c_str());
  WriteSystemReport();
  return 1;
}

void QuietDebugLog() { ShowDebuggerOutput(false); }

bool LogGoesToStandardError() { return Program().debugLogPath[0] == '\0' && DebuggerOutputShown(); }

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
