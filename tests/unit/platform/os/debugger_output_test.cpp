// The debugger output is standard error only when the log is asked for there;
// a line that tells of a fault reaches standard error either way, once.
#include <gtest/gtest.h>

#include <string>

#include "fake_os.h"
#include "platform/os/real_os.h"

namespace {

struct FaultCase {
  bool shown;
  std::string standardError;
};

TEST(DebuggerOutput, AFaultLineReachesStandardErrorOnceWhetherTheOutputIsShownOrNot) {
  const FaultCase cases[] = {
      {true, ""},  // the debugger output carries it there
      {false, "vondrel-viewer: OpenGL error 0x0502 in frame 7\n"},
  };
  for (const FaultCase& c : cases) {
    FakeOs os;
    ShowDebuggerOutput(c.shown);
    testing::internal::CaptureStderr();
    OutputFaultLine("OpenGL error 0x0502 in frame 7\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.standardError) << c.shown;
    EXPECT_EQ(os.DebugText(), "OpenGL error 0x0502 in frame 7\n") << c.shown;
  }
  ShowDebuggerOutput(true);
}

}  // namespace
