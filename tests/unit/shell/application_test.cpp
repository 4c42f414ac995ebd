#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "fake_dinput.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "input/input.h"
#include "recording_device.h"
#include "scratch_directory.h"
#include "shell/application.h"
#include "state_names.h"

namespace {

int framesRun = 0;
void CountingFrame() { ++framesRun; }

// The calls of `calls` that are among `names`, in order.
std::vector<std::string> Only(const std::vector<std::string>& calls, std::vector<std::string> names) {
  std::vector<std::string> kept;
  for (const std::string& call : calls)
    if (std::find(names.begin(), names.end(), call) != names.end()) kept.push_back(call);
  return kept;
}

class ApplicationTest : public testing::Test {
 protected:
  ApplicationTest() : factory(&d3d) {}
  void SetUp() override {
    debugLogPath[0] = '\0';
    SetDisplaySize();
    os.now = 7000;
    framesRun = 0;
  }
  void TearDown() override {
    ApplicationShutdown();
    ClearInputState();
    isWindowed = 1;
  }
  static MSG Message(UINT message, WPARAM wParam = 0) { return MSG{FakeOs::FakeWindowHandle(), message, wParam, 0}; }

  FakeOs os;
  RecordingDirect3D d3d;
  ScopedDirect3DFactory factory;
  FakeDirectInput input;
  ProgramOptions options;  // the plug-in path alone
};

TEST_F(ApplicationTest, StartupBringsUpServicesInOrder) {
  ASSERT_TRUE(ApplicationStartup(options));
  EXPECT_EQ(Only(os.calls, {"CreateMutexA", "WaitForSingleObject", "CoInitialize", "CreateWindowExA"}),
            (std::vector<std::string>{"CreateMutexA", "WaitForSingleObject", "CoInitialize", "CreateWindowExA"}));
  std::string log = os.DebugText();
  size_t guard = log.find("多重起動を禁止します.\n");
  size_t stream = log.find("----------------------------------------\nInitDebugStream\n");
  size_t device = log.find("InitDirect3D\n");
  size_t inputs = log.find("InitDirectInput\n");
  EXPECT_EQ(guard, 0u);
  EXPECT_LT(guard, stream);
  EXPECT_LT(stream, device);
  EXPECT_LT(device, inputs);
  EXPECT_NE(inputs, std::string::npos);
  EXPECT_NE(mainWindow, nullptr);
  EXPECT_NE(d3dDevice, nullptr);
  EXPECT_TRUE(input.keyboard.acquired);
  EXPECT_EQ(framePacing.nextFrameTime, 7000u);
  EXPECT_EQ(framePacing.lastFpsTime, 7000u);
  EXPECT_FLOAT_EQ(framePacing.fps, 30.0f);
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(ApplicationTest, SecondCopyShowsMessageAndOpensNoWindow) {
  os.mutexHeldElsewhere = true;
  EXPECT_FALSE(ApplicationStartup(options));
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0].text, "このプログラムは既に起動しています.\n");
  EXPECT_EQ(os.messageBoxes[0].caption, "");
  EXPECT_EQ(os.messageBoxes[0].style, MB_OK);
  EXPECT_EQ(os.messageBoxes[0].owner, nullptr);
  EXPECT_FALSE(os.Called("CreateWindowExA"));
  EXPECT_FALSE(os.Called("CoInitialize"));
  EXPECT_TRUE(os.Called("CloseHandle"));
  EXPECT_EQ(application.mutex, nullptr);

  os.calls.clear();
  ApplicationShutdown();
  EXPECT_FALSE(os.Called("DestroyWindow"));
  EXPECT_FALSE(os.Called("CoUninitialize"));
  EXPECT_FALSE(os.Called("ReleaseMutex"));  // never held
}

TEST_F(ApplicationTest, UnavailableMutexIsLoggedAndStartupGoesOn) {
  os.failCreateMutex = true;
  EXPECT_TRUE(ApplicationStartup(options));
  EXPECT_NE(os.DebugText().find("vdl mutex cannot be created"), std::string::npos);
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(ApplicationTest, FailingWindowStopsBeforeDevice) {
  os.failCreateWindow = true;
  EXPECT_FALSE(ApplicationStartup(options));
  EXPECT_EQ(os.DebugText().find("InitDirect3D\n"), std::string::npos);
}

// With "-dbf" a failing step's reason reaches debug.txt as well as the box.
class ApplicationLogFileTest : public ApplicationTest {
 protected:
  void SetUp() override {
    ApplicationTest::SetUp();
    options.logFile = true;
    os.moduleFileName = scratch.path() + "/vondrel-viewer";
  }
  void TearDown() override {
    ApplicationTest::TearDown();
    debugLogPath[0] = '\0';
  }
  std::string LogFile() const {
    std::ifstream file(scratch.path() + "/debug.txt");
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  // The one box shown, with the reason as a whole line of debug.txt.
  void ExpectReasonInBoxAndLog(const std::string& reason) {
    ASSERT_EQ(os.messageBoxes.size(), 1u);
    EXPECT_EQ(os.messageBoxes[0].text, reason);
    EXPECT_NE(LogFile().find("\n" + reason + "\n"), std::string::npos) << LogFile();
  }

  ScratchDirectory scratch;
};

TEST_F(ApplicationLogFileTest, FailingDeviceStopsBeforeInput) {
  ScopedDirect3DFactory failing(nullptr);
  EXPECT_FALSE(ApplicationStartup(options));
  EXPECT_EQ(LogFile().find("InitDirectInput\n"), std::string::npos);
  ExpectReasonInBoxAndLog("Direct3Dの初期化に失敗しました.");
}

TEST_F(ApplicationLogFileTest, FailingInputFailsStartup) {
  input.createResult = E_FAIL;
  EXPECT_FALSE(ApplicationStartup(options));
  ExpectReasonInBoxAndLog("DirectInputが初期化できませんでした.");
}

TEST_F(ApplicationTest, ShutdownReleasesInReverseOrder) {
  ASSERT_TRUE(ApplicationStartup(options));
  os.calls.clear();
  os.debugOutput.clear();
  ApplicationShutdown();
  std::string log = os.DebugText();
  EXPECT_LT(log.find("FreeInput\n"), log.find("FreeDirect3D\n"));
  EXPECT_EQ(Only(os.calls, {"DestroyWindow", "CoUninitialize", "ReleaseMutex", "CloseHandle"}),
            (std::vector<std::string>{"DestroyWindow", "CoUninitialize", "ReleaseMutex", "CloseHandle"}));
  EXPECT_EQ(mainWindow, nullptr);
  EXPECT_EQ(d3dDevice, nullptr);
  EXPECT_EQ(input.liveDevices, 0);
  EXPECT_FALSE(input.directInputAlive);
  EXPECT_EQ(application.mutex, nullptr);
}

TEST_F(ApplicationTest, PumpDispatchesUntilQuitAndLeavesTheRest) {
  ASSERT_TRUE(ApplicationStartup(options));
  os.debugOutput.clear();
  os.messages = {Message(WM_ACTIVATEAPP, 0), MSG{nullptr, WM_QUIT, 0, 0}, Message(WM_ACTIVATEAPP, 1)};
  EXPECT_FALSE(PumpMessages());
  EXPECT_EQ(isActive, 0);
  EXPECT_EQ(os.DebugText(), "<非アクティブ>\n");
  ASSERT_EQ(os.messages.size(), 1u);  // left undispatched
}

TEST_F(ApplicationTest, EmptyQueueSamplesVirtualKeys) {
  os.asyncKeys[VK_LEFT] = static_cast<int16_t>(0x8000);
  EXPECT_TRUE(PumpMessages());
  EXPECT_EQ(VirtualKeyState(VK_LEFT) & 2, 2);
}

TEST_F(ApplicationTest, LoopRunsFramesWhileActiveAndEndsOnClose) {
  ASSERT_TRUE(ApplicationStartup(options));
  SetFrameRoutine([] {
    if (++framesRun == 3) SendCloseMessage();
  });
  RunMainLoop();
  EXPECT_EQ(framesRun, 3);  // the frame that asked to close still finished
  EXPECT_EQ(os.waitMessageCount, 0);
  EXPECT_EQ(os.sleeps.size(), 3u);
}

TEST_F(ApplicationTest, LoopWaitsForMessagesWhileInactive) {
  ASSERT_TRUE(ApplicationStartup(options));
  SetFrameRoutine(CountingFrame);
  os.messages = {Message(WM_ACTIVATEAPP, 0)};
  os.arrivingMessages = {Message(WM_PAINT), Message(WM_CLOSE)};
  RunMainLoop();
  EXPECT_EQ(framesRun, 0);
  EXPECT_EQ(os.waitMessageCount, 2);
  EXPECT_TRUE(os.sleeps.empty());
}

TEST_F(ApplicationTest, APumpRoutineRunsAtEveryPumpAndKeepsPumpingWhileInactive) {
  ASSERT_TRUE(ApplicationStartup(options));
  static int pumps;
  static FakeOs* fake;
  pumps = 0;
  fake = &os;
  application.pumpRoutine = [] {
    // Inactive from the first pump; the close comes with the third.
    if (++pumps == 3) fake->messages.push_back(MSG{FakeOs::FakeWindowHandle(), WM_CLOSE, 0, 0});
  };
  SetFrameRoutine(CountingFrame);
  os.messages = {Message(WM_ACTIVATEAPP, 0)};
  RunMainLoop();
  application.pumpRoutine = nullptr;
  EXPECT_EQ(pumps, 3);
  EXPECT_EQ(framesRun, 0);
  EXPECT_EQ(os.waitMessageCount, 0) << "waiting without end would stop the pump routine";
  EXPECT_EQ(os.sleeps, (std::vector<DWORD>{50, 50, 50}));
}

TEST_F(ApplicationTest, EscapeDuringFrameClosesAfterFrameFinishes) {
  ASSERT_TRUE(ApplicationStartup(options));
  SetFrameRoutine(CountingFrame);
  input.keyboard.keys[DIK_ESCAPE] = 0x80;
  RunMainLoop();
  EXPECT_EQ(framesRun, 1);
  EXPECT_EQ(os.quitCodes, std::vector<int>{0});
}

TEST_F(ApplicationTest, NullFrameRoutineInstallsEmptyOne) {
  ASSERT_TRUE(ApplicationStartup(options));
  SetFrameRoutine(nullptr);
  ASSERT_NE(application.frameRoutine, nullptr);
  RunFrame();
  EXPECT_EQ(os.sleeps.size(), 1u);
}

TEST_F(ApplicationTest, ShowMessageUsesMainWindowAndEmptyCaption) {
  ASSERT_TRUE(ApplicationStartup(options));
  ShowMessage("text");
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0].owner, mainWindow);
  EXPECT_EQ(os.messageBoxes[0].caption, "");
  EXPECT_EQ(os.messageBoxes[0].style, MB_OK);
}

}  // namespace
