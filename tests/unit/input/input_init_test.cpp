#include <algorithm>
#include <string>

#include "input_fixture.h"
#include "state_names.h"

namespace {

using InputInitTest = InputTest;

TEST_F(InputInitTest, SetsUpKeyboardAndMouseAndCentresTheCursor) {
  StartInput();
  EXPECT_EQ(os.DebugText(), "InitDirectInput\n");
  EXPECT_EQ(input.requestedVersion, 0x0800u);
  for (FakeDirectInput::Device* device : {&input.keyboard, &input.mouse}) {
    EXPECT_EQ(device->window, mainWindow);
    EXPECT_EQ(device->cooperativeLevel, 10u);
    EXPECT_TRUE(device->acquired);
  }
  EXPECT_EQ(input.keyboard.dataFormat, &c_dfDIKeyboard);
  EXPECT_EQ(input.mouse.dataFormat, &c_dfDIMouse);
  ASSERT_EQ(os.cursorMoves.size(), 1u);
  EXPECT_EQ(os.cursorMoves[0].x, 100 + 320);
  EXPECT_EQ(os.cursorMoves[0].y, 50 + 240);
  EXPECT_TRUE(os.messageBoxes.empty());
}

struct FailureCase {
  const char* step;
  std::string text;
};

void PrintTo(const FailureCase& failure, std::ostream* out) { *out << failure.step; }

class InputInitFailureTest : public InputTest, public ::testing::WithParamInterface<FailureCase> {};

void ScriptFailure(FakeDirectInput& input, const std::string& step) {
  if (step == "create") input.createResult = DIERR_GENERIC;
  if (step == "keyboard create") input.keyboard.createResult = DIERR_GENERIC;
  if (step == "keyboard format") input.keyboard.formatResult = DIERR_INVALIDPARAM;
  if (step == "keyboard cooperative level") input.keyboard.cooperativeLevelResult = DIERR_INVALIDPARAM;
  if (step == "mouse create") input.mouse.createResult = DIERR_DEVICENOTREG;
  if (step == "mouse format") input.mouse.formatResult = DIERR_INVALIDPARAM;
  if (step == "mouse cooperative level") input.mouse.cooperativeLevelResult = DIERR_INVALIDPARAM;
}

TEST_P(InputInitFailureTest, ShowsTheStepsMessageAndFails) {
  os.activeWindow = reinterpret_cast<HWND>(uintptr_t{0x77});
  ScriptFailure(input, GetParam().step);
  EXPECT_EQ(InitDirectInput(), 0);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0].text, GetParam().text);
  EXPECT_EQ(os.messageBoxes[0].caption, "エラー");
  EXPECT_EQ(os.messageBoxes[0].style, MB_SYSTEMMODAL);
  EXPECT_EQ(os.messageBoxes[0].owner, os.activeWindow);
  EXPECT_NE(os.DebugText().find(std::string("\n") + GetParam().text + "\n"), std::string::npos);
  EXPECT_TRUE(input.controllers.empty() || !input.controllers[0].created);

  FreeInput();  // releases whatever was created
  EXPECT_EQ(input.liveDevices, 0);
  EXPECT_FALSE(input.directInputAlive);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InputInitFailureTest,
    ::testing::Values(FailureCase{"create", "DirectInputが初期化できませんでした."},
                      FailureCase{"keyboard create", "キーボードデバイスが作成できません."},
                      FailureCase{"keyboard format", "キーボードフォーマットが設定できません."},
                      FailureCase{"keyboard cooperative level", "キーボードの協調レベルが設定できません."},
                      FailureCase{"mouse create", "マウスデバイスが作成できません."},
                      FailureCase{"mouse format", "キーボードフォーマットが設定できません."},
                      FailureCase{"mouse cooperative level", "マウスの協調レベルが設定できません."}));

TEST_F(InputInitTest, TakesAtMostEightControllersWithTheirAxisRanges) {
  input.controllers.resize(9);
  for (auto& controller : input.controllers) controller.axisCount = 3;
  StartInput();
  EXPECT_EQ(input.enumClass, DI8DEVCLASS_GAMECTRL);
  EXPECT_EQ(input.enumFlags, DIEDFL_ATTACHEDONLY);
  EXPECT_FALSE(input.controllers[8].created);
  for (int i = 0; i < 8; ++i) {
    const auto& controller = input.controllers[i];
    EXPECT_EQ(controller.dataFormat, &c_dfDIJoystick2);
    EXPECT_EQ(controller.cooperativeLevel, 10u);
    EXPECT_TRUE(controller.acquired);
    ASSERT_EQ(controller.ranges.size(), 3u);
    for (int axis = 0; axis < 3; ++axis) {
      const DIPROPRANGE& range = controller.ranges[axis];
      EXPECT_EQ(range.diph.dwSize, 24u);
      EXPECT_EQ(range.diph.dwHeaderSize, 16u);
      EXPECT_EQ(range.diph.dwObj, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axis));
      EXPECT_EQ(range.diph.dwHow, DIPH_BYID);
      EXPECT_EQ(range.lMin, -1000);
      EXPECT_EQ(range.lMax, 1000);
    }
  }
  EXPECT_EQ(os.DebugText(), "InitDirectInput\nジョイスティック数 = 8\n");
}

TEST_F(InputInitTest, SkipsAControllerThatFailsASetUpStep) {
  input.controllers.resize(5);
  input.controllers[0].createResult = DIERR_DEVICENOTREG;
  input.controllers[1].formatResult = DIERR_INVALIDPARAM;
  input.controllers[2].cooperativeLevelResult = 1;  // anything but DI_OK fails a controller step
  input.controllers[3].enumObjectsResult = DIERR_INVALIDPARAM;
  StartInput();
  EXPECT_EQ(os.DebugText(),
            "InitDirectInput\n"
            "ジョイスティック[0]が初期化できません.\n"
            "ジョイスティック数 = 5\n"
            "ジョイスティック[1]のフォーマットが指定できません.\n"
            "ジョイスティック[2]の協調レベルが設定できません.\n"
            "ジョイスティック[3]の軸の列挙ができません.\n");
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(input.controllers[i].acquired) << i;
  EXPECT_TRUE(input.controllers[4].acquired);
  EXPECT_EQ(input.calls.end(), std::find(input.calls.begin(), input.calls.end(), "controller[1].SetCooperativeLevel"));
  EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(InputInitTest, FreeInputReleasesInReverseOrder) {
  input.controllers.resize(2);
  input.controllers[0].createResult = DIERR_DEVICENOTREG;
  StartInput();
  input.calls.clear();
  FreeInput();
  EXPECT_EQ(input.calls, (std::vector<std::string>{"controller[1].Unacquire", "controller[1].Release",
                                                   "mouse.Unacquire", "mouse.Release", "keyboard.Unacquire",
                                                   "keyboard.Release", "DirectInput.Release"}));
  EXPECT_NE(os.DebugText().find("FreeInput\n"), std::string::npos);
  FreeInput();  // a second release finds nothing left
  EXPECT_EQ(input.calls.size(), 7u);
}

}  // namespace
