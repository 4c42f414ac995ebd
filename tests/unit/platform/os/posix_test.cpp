#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/os/named_lock.h"
#include "platform/os/os.h"
#include "platform/os/posix_system.h"

namespace {

class NamedLockTest : public testing::Test {
 protected:
  void SetUp() override {
    directory = std::filesystem::temp_directory_path() / ("vdl_lock_" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    saved = old ? old : "";
    hadValue = old != nullptr;
    setenv("XDG_RUNTIME_DIR", directory.c_str(), 1);
  }
  void TearDown() override {
    if (hadValue)
      setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else
      unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(directory);
  }
  std::filesystem::path directory;
  std::string saved;
  bool hadValue = false;
};

TEST_F(NamedLockTest, SecondHolderIsRefusedUntilFirstReleases) {
  NamedLock* first = OpenNamedLock("vdl mutex");
  NamedLock* second = OpenNamedLock("vdl mutex");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(std::filesystem::exists(directory / "vdl mutex.lock"));
  EXPECT_TRUE(TryAcquireNamedLock(first));
  EXPECT_FALSE(TryAcquireNamedLock(second));
  ReleaseNamedLock(first);
  EXPECT_TRUE(TryAcquireNamedLock(second));
  CloseNamedLock(second);
  CloseNamedLock(first);
}

TEST_F(NamedLockTest, ClosingHandleReleasesLockLikeAnAbandonedMutex) {
  NamedLock* first = OpenNamedLock("vdl mutex");
  ASSERT_TRUE(TryAcquireNamedLock(first));
  CloseNamedLock(first);
  NamedLock* second = OpenNamedLock("vdl mutex");
  EXPECT_TRUE(TryAcquireNamedLock(second));
  CloseNamedLock(second);
}

TEST_F(NamedLockTest, RealMutexWaitTimesOutWhileAnotherHandleHoldsIt) {
  OperatingSystem& os = Os();
  void* first = os.CreateMutexA("vdl mutex");
  void* second = os.CreateMutexA("vdl mutex");
  EXPECT_EQ(os.WaitForSingleObject(first, 0), WAIT_OBJECT_0);
  EXPECT_EQ(os.WaitForSingleObject(second, 0), WAIT_TIMEOUT);
  os.ReleaseMutex(first);
  os.CloseHandle(first);
  EXPECT_EQ(os.WaitForSingleObject(second, 0), WAIT_OBJECT_0);
  os.CloseHandle(second);
}

TEST_F(NamedLockTest, SlashesInNameStayInsideRuntimeDirectory) {
  NamedLock* lock = OpenNamedLock("a/b");
  ASSERT_NE(lock, nullptr);
  EXPECT_TRUE(std::filesystem::exists(directory / "a_b.lock"));
  CloseNamedLock(lock);
}

TEST(PosixSystemTest, ProgramPathNamesThisTestProgram) {
  char path[4096];
  DWORD length = ReadProgramPath(path, sizeof path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::filesystem::path(path), std::filesystem::canonical("/proc/self/exe"));
}

TEST(PosixSystemTest, ProgramPathThatDoesNotFitReportsBufferSize) {
  char path[4];
  EXPECT_EQ(ReadProgramPath(path, sizeof path), 4u);
  EXPECT_EQ(std::string(path).size(), 3u);
}

TEST(PosixSystemTest, KernelVersionComesFromRelease) {
  utsname name{};
  ASSERT_EQ(uname(&name), 0);
  OSVERSIONINFOA info{};
  ASSERT_TRUE(ReadKernelVersion(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_POSIX);
  std::string majorMinor = std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion);
  EXPECT_TRUE(std::string(name.release).starts_with(majorMinor)) << name.release;
}

TEST(PosixSystemTest, MemoryFiguresAreConsistent) {
  MEMORYSTATUS memory{};
  ReadPhysicalMemory(&memory);
  EXPECT_GT(memory.dwTotalPhys, 64ull << 20);
  EXPECT_GT(memory.dwAvailPhys, 0u);
  EXPECT_LE(memory.dwAvailPhys, memory.dwTotalPhys);
}

TEST(PosixSystemTest, LocalTimeIsPlausible) {
  SYSTEMTIME time{};
  ReadLocalTime(&time);
  EXPECT_GE(time.wYear, 2020);
  EXPECT_GE(time.wMonth, 1);
  EXPECT_LE(time.wMonth, 12);
  EXPECT_LE(time.wHour, 23);
}

// A core stands idle while fewer tasks are ready to run, the caller
// included and its own waiting helpers left out, than there are cores.
TEST(PosixSystemTest, IdleCoreComesFromTheTasksReadyToRun) {
  struct Case {
    const char* loadavg;
    unsigned cores;
    unsigned ownWaiting;
    bool idle;
  };
  const Case kCases[] = {
      {"0.10 0.20 0.30 1/345 6789\n", 2, 0, true},    // only the caller
      {"7.51 7.51 6.36 9/175 28290\n", 2, 0, false},  // five developers compiling
      {"1.00 1.00 1.00 2/300 100\n", 2, 0, false},    // one other job on two cores
      {"1.00 1.00 1.00 2/300 100\n", 4, 0, true},
      {"1.00 1.00 1.00 2/300 100\n", 2, 1, true},   // the other task is the caller's spinning helper
      {"1.00 1.00 1.00 3/300 100\n", 2, 1, false},  // and one other job
      {"0.10 0.20 0.30 1/345 6789\n", 2, 1, true},  // the helper was asleep at the count
      {"0.00 0.00 0.00 1/80 5\n", 1, 0, false},     // one core: never a second
      {"0.00 0.00 0.00 0/80 5\n", 2, 0, false},     // not even the caller: no sense
      {"garbage", 2, 0, false},
      {"", 2, 0, false},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(IdleCoreIn(c.loadavg, c.cores, c.ownWaiting), c.idle) << c.loadavg << " on " << c.cores;
}

TEST(RealOsTest, PostedQuitIsTakenFromOwnQueue) {
  OperatingSystem& os = Os();
  os.PostQuitMessage(3);
  MSG msg{};
  ASSERT_TRUE(os.PeekMessageA(&msg));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(msg.hwnd, nullptr);
}

TEST(RealOsTest, ClockAdvancesWithSleep) {
  OperatingSystem& os = Os();
  DWORD before = os.timeGetTime();
  os.Sleep(20);
  DWORD waited = os.timeGetTime() - before;
  EXPECT_GE(waited, 20u);
}

}  // namespace
