// A library opened on first call gives its functions, or ends the program
// with one line naming the library, as the dynamic loader does.
#include "platform/os/lazy_library.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

TEST(LazyLibrary, GivesTheFunctionsOfALibrary) {
  void* library = OpenLibraryOrEnd("libz.so.1");
  decltype(&::zlibVersion) version = nullptr;
  FindFunctionOrEnd(library, "libz.so.1", "zlibVersion", version);
  ASSERT_NE(version, nullptr);
  EXPECT_STREQ(version(), zlibVersion());
}

TEST(LazyLibraryDeathTest, EndsWithTheReasonWhenALibraryOrFunctionIsMissing) {
  EXPECT_EXIT(OpenLibraryOrEnd("libvdl-missing.so.0"), testing::ExitedWithCode(127),
              "libvdl-missing.so.0 cannot be opened: .*libvdl-missing");
  EXPECT_EXIT(FindSymbolOrEnd(OpenLibraryOrEnd("libz.so.1"), "libz.so.1", "vdlMissing"),
              testing::ExitedWithCode(127), "libz.so.1 lacks a function the program calls: .*vdlMissing");
}

}  // namespace
