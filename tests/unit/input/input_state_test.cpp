#include <cstdlib>

#include "input_fixture.h"
#include "state_names.h"

namespace {

class InputStateTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    StartInput();
  }
  void PressKey(uint8_t dik, bool down) { input.keyboard.keys[dik] = down ? 0x80 : 0; }
  void PressButton(int button, bool down) { input.mouse.mouse.rgbButtons[button] = down ? 0x80 : 0; }
};

TEST_F(InputStateTest, KeysAndButtonsGoThroughPressHoldRelease) {
  const bool downAtPoll[] = {true, true, true, false, false};
  const int expected[] = {2, 3, 3, 1, 0};
  for (int poll = 0; poll < 5; ++poll) {
    PressKey(DIK_SPACE, downAtPoll[poll]);
    PressButton(1, downAtPoll[poll]);
    PollInput();
    EXPECT_EQ(KeyState(DIK_SPACE), expected[poll]) << poll;
    EXPECT_EQ(MouseButtonState(1), expected[poll]) << poll;
    EXPECT_EQ(KeyState(DIK_TAB), 0);
    EXPECT_EQ(MouseButtonState(0), 0);
  }
}

TEST_F(InputStateTest, CodesOutsideTheTablesReadAsUp) {
  PressKey(0, true);
  PressButton(0, true);
  PollInput();
  EXPECT_EQ(KeyState(-1), 0);
  EXPECT_EQ(KeyState(256), 0);
  EXPECT_EQ(MouseButtonState(-1), 0);
  EXPECT_EQ(MouseButtonState(4), 0);
}

TEST_F(InputStateTest, WheelIsTheLastReadsMovement) {
  input.mouse.mouse.lZ = 240;
  PollInput();
  EXPECT_EQ(WheelDelta(), 240);
  input.mouse.mouse.lZ = 0;
  PollInput();
  EXPECT_EQ(WheelDelta(), 0);
}

TEST_F(InputStateTest, CursorIsClampedToTheClientAreaInWindowedMode) {
  struct Case {
    POINT screen, client;
  } cases[] = {
      {{150, 80}, {50, 30}},     // inside
      {{90, 40}, {0, 0}},        // above and left of the client area
      {{100, 50}, {0, 0}},       // the top-left corner
      {{740, 530}, {640, 480}},  // the far edges read as the width and height themselves
      {{745, 539}, {640, 480}},  // beyond them
      {{739, 529}, {639, 479}},
  };
  for (const Case& c : cases) {
    os.cursor = c.screen;
    PollInput();
    EXPECT_EQ(CursorPosition().x, c.client.x) << c.screen.x;
    EXPECT_EQ(CursorPosition().y, c.client.y) << c.screen.y;
  }
}

TEST_F(InputStateTest, FullScreenUsesScreenCoordinates) {
  isWindowed = 0;
  os.cursor = {900, 700};
  PollInput();
  EXPECT_EQ(CursorPosition().x, 900);
  EXPECT_EQ(CursorPosition().y, 700);
  SetCursorClientPos(320, 240);
  EXPECT_EQ(os.cursorMoves.back().x, 320);
  EXPECT_EQ(os.cursorMoves.back().y, 240);
}

TEST_F(InputStateTest, SetCursorClientPosConvertsToScreenInWindowedMode) {
  SetCursorClientPos(10, 20);
  EXPECT_EQ(os.cursorMoves.back().x, 110);
  EXPECT_EQ(os.cursorMoves.back().y, 70);
}

TEST_F(InputStateTest, LostMouseIsReacquiredAndKeepsItsValues) {
  PressButton(0, true);
  input.mouse.mouse.lZ = 120;
  PollInput();
  int acquires = input.mouse.acquireCount;
  PressButton(0, false);
  input.mouse.mouse.lZ = 0;
  input.mouse.readResults.push_back(DIERR_INPUTLOST);
  PollInput();
  EXPECT_EQ(MouseButtonState(0), 3);  // still held, no edge
  EXPECT_EQ(WheelDelta(), 120);
  EXPECT_EQ(input.mouse.acquireCount, acquires + 1);
  EXPECT_NE(os.DebugText().find("マウスのアクセス権を失いました.\n"), std::string::npos);
  PollInput();  // read again after the re-acquisition
  EXPECT_EQ(MouseButtonState(0), 1);
  EXPECT_EQ(WheelDelta(), 0);
}

TEST_F(InputStateTest, LostKeyboardReadsAsNoKeysAndIsReacquired) {
  PressKey(DIK_A, true);
  PollInput();
  input.keyboard.readResults.push_back(DIERR_INPUTLOST);
  PollInput();
  EXPECT_EQ(KeyState(DIK_A), 1);
  EXPECT_NE(os.DebugText().find("キーボードのアクセス権を失いました.\n"), std::string::npos);
  EXPECT_TRUE(input.keyboard.acquired);
  PollInput();
  EXPECT_EQ(KeyState(DIK_A), 2);
}

TEST_F(InputStateTest, OtherKeyboardFailuresZeroTheTableWithoutALogLine) {
  PressKey(DIK_A, true);
  PollInput();
  input.keyboard.readResults.push_back(DIERR_NOTACQUIRED);
  PollInput();
  EXPECT_EQ(KeyState(DIK_A), 1);
  EXPECT_EQ(os.DebugText().find("キーボード"), std::string::npos);
}

TEST_F(InputStateTest, KeyDownAndUpBetweenPollsLeavesNoEdgeInTheDeviceTable) {
  PollVirtualKeys();
  PollInput();
  os.asyncKeys[VK_SHIFT] = 0x0001;  // went down and came up again since the last query
  PollVirtualKeys();
  PollInput();
  EXPECT_EQ(VirtualKeyState(VK_SHIFT), 2);
  EXPECT_EQ(KeyState(DIK_LSHIFT), 0);
  os.asyncKeys[VK_SHIFT] = 0;
  PollVirtualKeys();
  EXPECT_EQ(VirtualKeyState(VK_SHIFT), 1);
}

TEST_F(InputStateTest, ClearInputStateLeavesWheelCursorAndVirtualKeys) {
  PressKey(DIK_HOME, true);
  PressButton(0, true);
  input.mouse.mouse.lZ = -120;
  os.cursor = {200, 150};
  os.asyncKeys[VK_CONTROL] = static_cast<int16_t>(0x8000);
  PollVirtualKeys();
  PollInput();
  PressKey(DIK_HOME, false);  // released while a message box was up
  PressButton(0, false);
  ClearInputState();
  EXPECT_EQ(KeyState(DIK_HOME), 0);
  EXPECT_EQ(MouseButtonState(0), 0);
  EXPECT_EQ(WheelDelta(), -120);
  EXPECT_EQ(CursorPosition().x, 100);
  EXPECT_EQ(CursorPosition().y, 100);
  EXPECT_EQ(VirtualKeyState(VK_CONTROL), 2);
  PollInput();
  EXPECT_EQ(KeyState(DIK_HOME), 0);  // no release edge afterwards
  EXPECT_EQ(MouseButtonState(0), 0);
}

TEST_F(InputStateTest, QuitKeySendsTheCloseMessageDuringThePoll) {
  PollInput();
  EXPECT_TRUE(os.sentMessages.empty());
  PressKey(DIK_ESCAPE, true);
  PollInput();
  ASSERT_EQ(os.sentMessages.size(), 1u);
  EXPECT_EQ(os.sentMessages[0].window, mainWindow);
  EXPECT_EQ(os.sentMessages[0].message, WM_CLOSE);

  SetQuitKey(DIK_Q);
  PollInput();
  EXPECT_EQ(os.sentMessages.size(), 1u);
  PressKey(DIK_Q, true);
  PollInput();
  EXPECT_EQ(os.sentMessages.size(), 2u);
  SetQuitKey(DIK_ESCAPE);
}

TEST_F(InputStateTest, TraceLogsOnePollLineWhenSomethingChanged) {
  setenv("VDL_TRACE_INPUT", "1", 1);
  FreeInput();
  StartInput();
  unsetenv("VDL_TRACE_INPUT");
  os.debugOutput.clear();
  os.cursor = {130, 60};
  PressKey(DIK_A, true);
  PressButton(0, true);
  PollInput();
  PollInput();  // nothing changed: no line
  PressKey(DIK_A, false);
  PollInput();
  EXPECT_EQ(os.DebugText(),
            "input: keys=[30:2] buttons=[0:2] cursor=(30,10) wheel=0\n"
            "input: keys=[30:1] buttons=[] cursor=(30,10) wheel=0\n");
  FreeInput();
  StartInput();  // the trace is off again
  os.debugOutput.clear();
  PressKey(DIK_B, true);
  PollInput();
  EXPECT_EQ(os.DebugText(), "");
}

}  // namespace
