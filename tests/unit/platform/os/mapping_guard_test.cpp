#include "platform/os/mapping_guard.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "scratch_directory.h"

namespace {

constexpr size_t kFileBytes = 64 * 1024;

// A file of `kFileBytes` 'x's mapped read-only, then cut to `keep` bytes.
struct ShrunkMapping {
  explicit ShrunkMapping(size_t keep) {
    scratch.Write("file", std::string(kFileBytes, 'x'));
    FILE* file = scratch.Open("file");
    bytes = static_cast<const volatile char*>(mmap(nullptr, kFileBytes, PROT_READ, MAP_PRIVATE, fileno(file), 0));
    fclose(file);
    std::filesystem::resize_file("file", keep);
  }
  ~ShrunkMapping() { munmap(const_cast<char*>(bytes), kFileBytes); }

  // The sum of every byte, which touches every page.
  size_t Sum() const {
    size_t sum = 0;
    for (size_t i = 0; i < kFileBytes; ++i) sum += static_cast<unsigned char>(bytes[i]);
    return sum;
  }

  ScratchDirectory scratch;
  const volatile char* bytes;
};

TEST(MappingGuard, PagesCutFromAGuardedMappingReadAsZeros) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  ShrunkMapping mapping(page + 10);
  ASSERT_TRUE(GuardMapping(const_cast<char*>(mapping.bytes), kFileBytes));
  EXPECT_EQ(mapping.Sum(), (page + 10) * 'x');
  EXPECT_EQ(mapping.bytes[page + 9], 'x');
  EXPECT_EQ(mapping.bytes[kFileBytes - 1], 0);
  UnguardMapping(const_cast<char*>(mapping.bytes));
}

TEST(MappingGuardDeathTest, OutsideAGuardTheProgramStillEndsAsBefore) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ShrunkMapping mapping(0);
        std::exit(mapping.Sum() == 0 ? 0 : 1);
      },
      testing::KilledBySignal(SIGBUS), "");
  // A guard that has ended no longer covers the mapping.
  EXPECT_EXIT(
      {
        ShrunkMapping mapping(0);
        GuardMapping(const_cast<char*>(mapping.bytes), kFileBytes);
        UnguardMapping(const_cast<char*>(mapping.bytes));
        std::exit(mapping.Sum() == 0 ? 0 : 1);
      },
      testing::KilledBySignal(SIGBUS), "");
}

TEST(MappingGuard, TheSlotsOfEndedGuardsAreUsedAgain) {
  static char areas[40][8];
  for (auto& area : areas) {
    ASSERT_TRUE(GuardMapping(area, sizeof area));
    UnguardMapping(area);
  }
}

}  // namespace
