#include <gtest/gtest.h>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "recording_device.h"
#include "shell/main_window.h"
#include "state_names.h"

namespace {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    debugLogPath[0] = '\0';
    SetDisplaySize();
    isWindowed = 1;
    ASSERT_EQ(CreateMainWindow(), 1);
    os.calls.clear();
    os.debugOutput.clear();
  }
  void TearDown() override {
    mainWindow = nullptr;
    isWindowed = 1;
  }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return MainWindowProc(mainWindow, message, wParam, lParam);
  }

  FakeOs os;
};

TEST_F(MainWindowTest, CreatesHiddenFixedWindowWithDisplaySizeClientArea) {
  ASSERT_EQ(os.createdWindows.size(), 1u);
  EXPECT_EQ(os.createdWindows[0].title, "Vondrel");
  EXPECT_EQ(os.createdWindows[0].width, 640);
  EXPECT_EQ(os.createdWindows[0].height, 480);
  EXPECT_EQ(os.createdWindows[0].procedure, &MainWindowProc);
  EXPECT_EQ(mainWindow, os.window);
  EXPECT_EQ(clientWidth, 640);
  EXPECT_EQ(clientHeight, 480);
  EXPECT_EQ(isActive, 1);
}

TEST_F(MainWindowTest, OuterWindowIsCentredOnDesktop) {
  // 1280 x 1024 desktop; the frame makes the outer window 648 x 508.
  ASSERT_EQ(os.windowPositions.size(), 1u);
  EXPECT_EQ(os.windowPositions[0].x, (1280 - 648) / 2);
  EXPECT_EQ(os.windowPositions[0].y, (1024 - 508) / 2);
}

TEST(MainWindowCreationTest, CentringTruncatesTowardZeroEvenOnSmallDesktop) {
  FakeOs os;
  SetDisplaySize();
  os.desktop = RECT{0, 0, 1279, 599};  // odd sizes; narrower than the outer height
  ASSERT_EQ(CreateMainWindow(), 1);
  EXPECT_EQ(os.windowPositions[0].x, 315);  // 631 / 2
  EXPECT_EQ(os.windowPositions[0].y, 45);   // 91 / 2
  os.desktop = RECT{0, 0, 600, 400};
  ASSERT_EQ(CreateMainWindow(), 1);
  EXPECT_EQ(os.windowPositions[1].x, -24);  // -48 / 2
  EXPECT_EQ(os.windowPositions[1].y, -54);  // -108 / 2
  mainWindow = nullptr;
}

TEST(MainWindowCreationTest, FailureLeavesNoWindowAndLogsReason) {
  FakeOs os;
  mainWindow = nullptr;
  os.failCreateWindow = true;
  EXPECT_EQ(CreateMainWindow(), 0);
  EXPECT_EQ(mainWindow, nullptr);
  EXPECT_NE(os.DebugText().find("CreateWindowExA"), std::string::npos);
}

TEST_F(MainWindowTest, ActivationSetsFlagAndLogs) {
  EXPECT_EQ(Send(WM_ACTIVATEAPP, 0), 0);
  EXPECT_EQ(isActive, 0);
  EXPECT_EQ(Send(WM_ACTIVATEAPP, 1), 0);
  EXPECT_EQ(isActive, 1);
  EXPECT_EQ(os.DebugText(), "<非アクティブ>\n<アクティブ>\n");
}

TEST_F(MainWindowTest, CloseRequestsQuitWithoutDestroyingWindow) {
  EXPECT_EQ(Send(WM_CLOSE), 0);
  EXPECT_EQ(os.quitCodes, std::vector<int>{0});
  EXPECT_FALSE(os.Called("DestroyWindow"));
  ASSERT_EQ(os.messages.size(), 1u);
  EXPECT_EQ(os.messages.back().message, WM_QUIT);
}

TEST_F(MainWindowTest, SendCloseMessageGoesThroughWindowProcedure) {
  SendCloseMessage();
  ASSERT_EQ(os.sentMessages.size(), 1u);
  EXPECT_EQ(os.sentMessages[0].window, mainWindow);
  EXPECT_EQ(os.sentMessages[0].message, WM_CLOSE);
  EXPECT_EQ(os.quitCodes, std::vector<int>{0});
}

TEST_F(MainWindowTest, SizeTracksClientAreaInWindowedMode) {
  os.clientRect = RECT{0, 0, 0, 0};  // minimised
  EXPECT_EQ(Send(WM_SIZE, SIZE_MINIMIZED), 0);
  EXPECT_EQ(clientWidth, 0);
  EXPECT_EQ(clientHeight, 0);
  os.clientRect = RECT{0, 0, 640, 480};
  Send(WM_SIZE, SIZE_RESTORED);
  EXPECT_EQ(clientWidth, 640);
  EXPECT_EQ(clientHeight, 480);
  EXPECT_EQ(os.DebugText(), "<クライアント領域 0 x 0>\n<クライアント領域 640 x 480>\n");
}

TEST_F(MainWindowTest, SizeIsIgnoredWhenNotWindowed) {
  isWindowed = 0;  // full screen, or the device not made yet
  os.clientRect = RECT{0, 0, 100, 50};
  EXPECT_EQ(Send(WM_SIZE, SIZE_RESTORED), 0);
  EXPECT_EQ(clientWidth, 640);
  EXPECT_EQ(clientHeight, 480);
  EXPECT_EQ(os.DebugText(), "");
}

TEST_F(MainWindowTest, DisplayChangeIsLogged) {
  EXPECT_EQ(Send(WM_DISPLAYCHANGE), 0);
  EXPECT_EQ(os.DebugText(), "<ディスプレイモードの変更>\n");
}

TEST_F(MainWindowTest, PaintMoveCharAndSystemKeysAreSwallowed) {
  for (UINT message : {WM_PAINT, WM_MOVE, WM_CHAR, WM_SYSKEYDOWN}) EXPECT_EQ(Send(message, 0x73), 0) << message;
  EXPECT_FALSE(os.Called("DefWindowProcA"));
  EXPECT_EQ(os.DebugText(), "");
}

TEST_F(MainWindowTest, PaintShowsTheLastPictureAgainWithoutDrawingAFrame) {
  EXPECT_EQ(Send(WM_PAINT), 0);  // before the device exists: nothing to show
  RecordingDevice device;
  d3dDevice = &device;
  EXPECT_EQ(Send(WM_PAINT), 0);
  d3dDevice = nullptr;
  EXPECT_EQ(device.Count("Present"), 1u);
  EXPECT_EQ(device.Count("BeginScene"), 0u);
  EXPECT_EQ(device.Count("Clear"), 0u);
}

TEST_F(MainWindowTest, ScreenSaverAndMonitorPowerAreRefusedOtherCommandsDefault) {
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_SCREENSAVE), 1);
  EXPECT_EQ(Send(WM_SYSCOMMAND, SC_MONITORPOWER), 1);
  EXPECT_FALSE(os.Called("DefWindowProcA"));
  Send(WM_SYSCOMMAND, SC_SCREENSAVE | 1);  // only the exact value is refused
  EXPECT_TRUE(os.Called("DefWindowProcA"));
}

TEST_F(MainWindowTest, InputMethodContextClosesInputMethodWindow) {
  EXPECT_EQ(Send(WM_IME_SETCONTEXT, 1), 0);
  EXPECT_TRUE(os.Called("CloseInputMethodWindow"));
}

TEST_F(MainWindowTest, OtherMessagesGetDefaultHandling) {
  Send(WM_MOUSEMOVE);
  EXPECT_EQ(os.calls, std::vector<std::string>{"DefWindowProcA"});
}

TEST_F(MainWindowTest, CaptionIsSetOnMainWindow) {
  SetCaption("Vondrel Plugin Viewer");
  EXPECT_EQ(os.windowTexts, std::vector<std::string>{"Vondrel Plugin Viewer"});
}

}  // namespace
