// The program's operator new, linked into this test as into the program.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <new>
#include <sstream>
#include <string>

#include "huge_page_new.h"

namespace {

// The VmFlags of the mapping that holds `address`, from /proc/self/smaps.
std::string FlagsOfMappingAt(uintptr_t address) {
  std::ifstream smaps("/proc/self/smaps");
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    uintptr_t begin = 0, end = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> begin >> dash >> end && dash == '-') {
      inside = begin <= address && address < end;
    } else if (inside && line.starts_with("VmFlags:")) {
      return line.substr(8) + " ";
    }
  }
  return "";
}

#ifdef VDL_SANITIZER_NEW
TEST(ProgramOperatorNew, KeptOutOfSanitizerBuilds) { GTEST_SKIP() << "the sanitizer's runtime has the operator new"; }
#else

// A block of a huge page or more starts on one, and its whole spans are
// advised, however little it reaches past them (on a kernel that has
// transparent huge pages at all).
TEST(ProgramOperatorNew, LargeBlocksStartOnAHugePageAdvisedForThem) {
  const bool kernelHasThem = std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled").good();
  for (size_t size : {kHugePageBytes, kHugePageBytes + 4096, 3 * kHugePageBytes}) {
    void* block = ::operator new(size);
    uintptr_t start = reinterpret_cast<uintptr_t>(block);
    EXPECT_EQ(start % kHugePageBytes, 0u) << size;
    if (kernelHasThem) {
      EXPECT_NE(FlagsOfMappingAt(start).find(" hg "), std::string::npos) << size;
    }
    ::operator delete(block);
  }
}

TEST(ProgramOperatorNew, CallsTheNewHandlerBeforeItThrows) {
  static int calls = 0;
  calls = 0;
  std::set_new_handler([] {
    ++calls;
    std::set_new_handler(nullptr);
  });
  EXPECT_THROW(static_cast<void>(::operator new(SIZE_MAX / 2)), std::bad_alloc);
  EXPECT_EQ(calls, 1);
}

#endif

}  // namespace
