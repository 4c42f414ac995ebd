// The program's operator new, linked into this test as into the program.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "large_block_new.h"

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

// The pages of a block outside its whole huge-page spans are resident as soon
// as it is handed out: a block under a huge page, and the tail after one.
TEST(ProgramOperatorNew, ALargeBlocksPagesOutsideHugeSpansAreFaultedIn) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  for (std::size_t size : {kFaultInBytes, std::size_t{1} << 20, kHugePageBytes + (std::size_t{512} << 10)}) {
    void* block = ::operator new(size);
    uintptr_t lastPage = (reinterpret_cast<uintptr_t>(block) + size) / page * page - page;
    unsigned char resident = 0;
    ASSERT_EQ(mincore(reinterpret_cast<void*>(lastPage), 1, &resident), 0);
    EXPECT_EQ(resident & 1, 1) << "block of " << size << " bytes";
    ::operator delete(block);
  }
}

}  // namespace
#endif
