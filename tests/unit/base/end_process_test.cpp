#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "base/debug_log.h"
#include "base/end_process.h"
#include "base/program_state.h"
#include "fake_os.h"
#include "scratch_directory.h"
#include "state_names.h"

namespace {

class EndProcessDeathTest : public testing::Test {
 protected:
  void SetUp() override {
    debugLogPath[0] = '\0';
    os.echoToStderr = true;
  }
  void TearDown() override { debugLogPath[0] = '\0'; }

  FakeOs os;
  ScratchDirectory scratch;
};

// The anchors make the reason the whole of standard error: it is written once.
TEST_F(EndProcessDeathTest, WithoutLogFileTheReasonIsWrittenOnceToStandardError) {
  EXPECT_EXIT(EndProcessWithReason("LoadPlugin: out of memory"), testing::ExitedWithCode(1),
              "^LoadPlugin: out of memory\n$");
}

TEST_F(EndProcessDeathTest, WithLogFileTheReasonGoesToTheFileAndStandardError) {
  std::string logPath = scratch.path() + "/debug.txt";
  std::snprintf(debugLogPath, sizeof debugLogPath, "%s", logPath.c_str());
  EXPECT_EXIT(EndProcessWithReason("ViewerStartup: nothing to show"), testing::ExitedWithCode(1),
              "^ViewerStartup: nothing to show\n$");
  std::ifstream log(logPath);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()),
            "ViewerStartup: nothing to show\n");
}

}  // namespace
