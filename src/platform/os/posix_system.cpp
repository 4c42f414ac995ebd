#include "platform/os/posix_system.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <ctime>

DWORD ReadProgramPath(char* buffer, DWORD size) {
  if (size == 0) return 0;
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || length >= static_cast<ssize_t>(sizeof path)) {
    buffer[0] = '\0';
    return 0;
  }
  DWORD copied = static_cast<DWORD>(length) < size ? static_cast<DWORD>(length) : size - 1;
  std::memcpy(buffer, path, copied);
  buffer[copied] = '\0';
  return copied == static_cast<DWORD>(length) ? copied : size;
}

DWORD MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);
}

void ReadLocalTime(SYSTEMTIME* time) {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  time->wYear = static_cast<uint16_t>(local.tm_year + 1900);
  time->wMonth = static_cast<uint16_t>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
  time->wDay = static_cast<uint16_t>(local.tm_mday);
  time->wHour = static_cast<uint16_t>(local.tm_hour);
  time->wMinute = static_cast<uint16_t>(local.tm_min);
  time->wSecond = static_cast<uint16_t>(local.tm_sec);
  time->wMilliseconds = static_cast<uint16_t>(now.tv_nsec / 1000000);
}

bool ReadKernelVersion(OSVERSIONINFOA* info) {
  utsname name{};
  if (uname(&name) != 0) return false;
  unsigned major = 0, minor = 0, patch = 0;
  std::sscanf(name.release, "%u.%u.%u", &major, &minor, &patch);
  info->dwMajorVersion = major;
  info->dwMinorVersion = minor;
  info->dwBuildNumber = patch;
  info->dwPlatformId = VER_PLATFORM_POSIX;
  return true;
}

namespace {

// A "Name:   value kB" line of /proc/meminfo, in bytes; 0 when absent.
uint64_t MeminfoBytes(const char* key) {
  FILE* file = std::fopen("/proc/meminfo", "r");
  if (!file) return 0;
  char line[256];
  uint64_t bytes = 0;
  size_t keyLength = std::strlen(key);
  while (std::fgets(line, sizeof line, file)) {
    unsigned long long kib = 0;
    if (std::strncmp(line, key, keyLength) == 0 && line[keyLength] == ':' &&
        std::sscanf(line + keyLength + 1, "%llu", &kib) == 1) {
      bytes = static_cast<uint64_t>(kib) * 1024u;
      break;
    }
  }
  std::fclose(file);
  return bytes;
}

}  // namespace

bool IdleCoreIn(const char* loadavg, unsigned cores, unsigned ownWaiting) {
  double averages[3];
  unsigned running = 0, tasks = 0;
  if (std::sscanf(loadavg, "%lf %lf %lf %u/%u", &averages[0], &averages[1], &averages[2], &running, &tasks) != 5)
    return false;
  if (running == 0) return false;  // not even the caller: no sense
  // The caller and the tasks of others; a waiting helper that was asleep at
  // the count was not in it.
  unsigned competing = running - std::min(ownWaiting, running - 1);
  return competing < cores;
}

bool IdleCoreNow(unsigned ownWaiting) {
  char text[128] = {};
  FILE* file = std::fopen("/proc/loadavg", "re");
  if (!file) return false;
  size_t length = std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  text[length] = '\0';
  return IdleCoreIn(text, static_cast<unsigned>(sysconf(_SC_NPROCESSORS_ONLN)), ownWaiting);
}

void ReadPhysicalMemory(MEMORYSTATUS* status) {
  status->dwTotalPhys = MeminfoBytes("MemTotal");
  // MemAvailable counts reclaimable caches, which is what "available" means to a user.
  status->dwAvailPhys = MeminfoBytes("MemAvailable");
  struct sysinfo info{};
  if ((status->dwTotalPhys == 0 || status->dwAvailPhys == 0) && sysinfo(&info) == 0) {
    if (status->dwTotalPhys == 0) status->dwTotalPhys = static_cast<uint64_t>(info.totalram) * info.mem_unit;
    if (status->dwAvailPhys == 0) status->dwAvailPhys = static_cast<uint64_t>(info.freeram) * info.mem_unit;
  }
  status->dwMemoryLoad =
      status->dwTotalPhys ? static_cast<DWORD>(100 - status->dwAvailPhys * 100 / status->dwTotalPhys) : 0;
}

namespace {

// The directory with one trailing '/'.
std::string WithSlash(std::string directory) {
  while (directory.ends_with('/')) directory.pop_back();
  return directory + "/";
}

}  // namespace

std::string UserStateDirectory() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return WithSlash(state);
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return WithSlash(home) + ".local/state/";
  return {};
}
