// The program's operator new, linked into this test as into the program.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "huge_page_new.h"

#ifndef VDL_SANITIZER_NEW
namespace {

// A block a little over a huge page starts on one, so that its first span is
// whole, and that span's mapping is advised (where the kernel has huge pages).
TEST(ProgramOperatorNew, ALargeBlockStartsOnAHugePageAdvisedForIt) {
  void* block = ::operator new(kHugePageBytes + 4096);
  uintptr_t start = reinterpret_cast<uintptr_t>(block);
  EXPECT_EQ(start % kHugePageBytes, 0u);
  std::string flags;
  std::ifstream smaps("/proc/self/smaps");
  for (std::string line; std::getline(smaps, line) && flags.empty();) {
    uintptr_t begin = 0, end = 0;
    char dash = 0;
    if (std::istringstream(line) >> std::hex >> begin >> dash >> end && dash == '-') {
      if (begin <= start && start < end) {
        while (std::getline(smaps, line) && !line.starts_with("VmFlags:")) continue;
        flags = line + " ";
      }
    }
  }
  if (std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled").good()) {
    EXPECT_NE(flags.find(" hg "), std::string::npos) << flags;
  }
  ::operator delete(block);
}

}  // namespace
#endif
