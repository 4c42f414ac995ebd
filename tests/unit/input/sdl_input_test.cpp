// The SDL implementation of the devices: the keyboard table, the presses
// latched between reads, the mouse's motion and wheel from SDL events, and
// controllers on SDL's virtual joysticks.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "base/program_state.h"
#include "fake_os.h"
#include "input/input.h"
#include "platform/dinput/sdl_keyboard_table.h"
#include "platform/os/sdl_events.h"
#include "state_names.h"

namespace {

SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode, Uint8 repeat = 0) {
  SDL_Event event = {};
  event.type = type;
  event.key.keysym.scancode = scancode;
  event.key.repeat = repeat;
  return event;
}

SDL_Event ButtonEvent(Uint32 type, Uint8 button) {
  SDL_Event event = {};
  event.type = type;
  event.button.button = button;
  return event;
}

// Down and up between two reads, as a quick tap or click gives them.
void TapKey(SDL_Scancode scancode) {
  NotifySdlEventListeners(KeyEvent(SDL_KEYDOWN, scancode));
  NotifySdlEventListeners(KeyEvent(SDL_KEYUP, scancode));
}

void ClickButton(Uint8 button) {
  NotifySdlEventListeners(ButtonEvent(SDL_MOUSEBUTTONDOWN, button));
  NotifySdlEventListeners(ButtonEvent(SDL_MOUSEBUTTONUP, button));
}

TEST(SdlKeyboardTableTest, MapsEachKeyOnceToItsDirectInputCode) {
  std::set<int> scancodes, codes;
  for (const ScancodeToDik& key : KeyboardScancodeTable()) {
    EXPECT_TRUE(scancodes.insert(key.scancode).second) << "scancode " << key.scancode;
    EXPECT_TRUE(codes.insert(key.dik).second) << "code " << int(key.dik);
    EXPECT_NE(key.dik, 0);
  }
  auto codeOf = [](SDL_Scancode scancode) {
    for (const ScancodeToDik& key : KeyboardScancodeTable())
      if (key.scancode == scancode) return int(key.dik);
    return -1;
  };
  EXPECT_EQ(codeOf(SDL_SCANCODE_ESCAPE), 1);
  EXPECT_EQ(codeOf(SDL_SCANCODE_TAB), 15);
  EXPECT_EQ(codeOf(SDL_SCANCODE_A), 0x1E);
  EXPECT_EQ(codeOf(SDL_SCANCODE_SPACE), 57);
  EXPECT_EQ(codeOf(SDL_SCANCODE_HOME), 199);
  EXPECT_EQ(codeOf(SDL_SCANCODE_KP_ENTER), 0x9C);
  EXPECT_EQ(codeOf(SDL_SCANCODE_RCTRL), 0x9D);
  EXPECT_EQ(codeOf(SDL_SCANCODE_PAGEDOWN), 0xD1);
  EXPECT_EQ(codeOf(SDL_SCANCODE_INTERNATIONAL3), 0x7D);  // yen
}

class SdlDirectInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK | SDL_INIT_EVENTS), 0) << SDL_GetError();
    ASSERT_EQ(DirectInput8Create(DIRECTINPUT_VERSION, &directInput), DI_OK);
  }
  void TearDown() override {
    for (SDL_Joystick* joystick : joysticks) SDL_JoystickClose(joystick);
    for (int index = SDL_NumJoysticks() - 1; index >= 0; --index) SDL_JoystickDetachVirtual(index);
    directInput->Release();
    SDL_Quit();
  }

  // A virtual joystick, opened so that the test can move it.
  SDL_Joystick* AttachJoystick(int axes, int buttons, int hats) {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, hats);
    EXPECT_GE(index, 0) << SDL_GetError();
    joysticks.push_back(SDL_JoystickOpen(index));
    return joysticks.back();
  }

  std::vector<GUID> ControllerGuids() {
    std::vector<GUID> guids;
    auto collect = [](const DIDEVICEINSTANCEA* instance, void* ref) -> BOOL {
      static_cast<std::vector<GUID>*>(ref)->push_back(instance->guidInstance);
      return DIENUM_CONTINUE;
    };
    directInput->EnumDevices(DI8DEVCLASS_GAMECTRL, collect, &guids, DIEDFL_ATTACHEDONLY);
    return guids;
  }

  IDirectInputDevice8A* Ready(const GUID& guid, const DIDATAFORMAT& format) {
    IDirectInputDevice8A* device = nullptr;
    EXPECT_EQ(directInput->CreateDevice(guid, &device), DI_OK);
    EXPECT_EQ(device->SetDataFormat(&format), DI_OK);
    EXPECT_EQ(device->SetCooperativeLevel(FakeOs::FakeWindowHandle(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    EXPECT_EQ(device->Acquire(), DI_OK);
    return device;
  }

  IDirectInput8A* directInput = nullptr;
  std::vector<SDL_Joystick*> joysticks;
};

TEST_F(SdlDirectInputTest, DevicesCheckFormatLevelAndAcquisition) {
  IDirectInputDevice8A* keyboard = nullptr;
  ASSERT_EQ(directInput->CreateDevice(GUID_SysKeyboard, &keyboard), DI_OK);
  BYTE keys[256];
  EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM);  // no data format yet
  EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  EXPECT_EQ(keyboard->SetCooperativeLevel(FakeOs::FakeWindowHandle(), DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE),
            DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_NOTACQUIRED);
  EXPECT_EQ(keyboard->Acquire(), DI_OK);
  EXPECT_EQ(keyboard->GetDeviceState(16, keys), DIERR_INVALIDPARAM);
  EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
  DIPROPRANGE range = {{sizeof range, sizeof range.diph, 0, DIPH_DEVICE}, -1, 1};
  EXPECT_EQ(keyboard->SetProperty(DIPROP_RANGE, &range.diph), DIERR_UNSUPPORTED);
  keyboard->Release();
  GUID unknown = {1, 2, 3, {}};
  IDirectInputDevice8A* device = reinterpret_cast<IDirectInputDevice8A*>(1);
  EXPECT_EQ(directInput->CreateDevice(unknown, &device), DIERR_DEVICENOTREG);
  EXPECT_EQ(device, nullptr);
}

TEST_F(SdlDirectInputTest, MouseSumsMotionAndWheelSinceThePreviousRead) {
  SDL_Event wheel = {};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.y = 1;
  NotifySdlEventListeners(wheel);  // before acquisition: not counted
  IDirectInputDevice8A* mouse = Ready(GUID_SysMouse, c_dfDIMouse);
  NotifySdlEventListeners(wheel);
  wheel.wheel.y = 2;
  NotifySdlEventListeners(wheel);
  wheel.wheel.y = 1;
  wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  NotifySdlEventListeners(wheel);
  SDL_Event motion = {};
  motion.type = SDL_MOUSEMOTION;
  motion.motion.xrel = 5;
  motion.motion.yrel = -3;
  NotifySdlEventListeners(motion);
  NotifySdlEventListeners(motion);

  DIMOUSESTATE state;
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(state.lZ, 240);
  EXPECT_EQ(state.lX, 10);
  EXPECT_EQ(state.lY, -6);
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(state.lZ, 0);
  EXPECT_EQ(state.lX, 0);
  mouse->Release();
  NotifySdlEventListeners(wheel);  // nobody listens any more
}

TEST_F(SdlDirectInputTest, KeyboardReportsAKeyTappedBetweenReadsAsDownOnceThenUp) {
  IDirectInputDevice8A* keyboard = nullptr;
  ASSERT_EQ(directInput->CreateDevice(GUID_SysKeyboard, &keyboard), DI_OK);
  ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
  TapKey(SDL_SCANCODE_A);  // before acquisition: not counted
  ASSERT_EQ(keyboard->Acquire(), DI_OK);
  TapKey(SDL_SCANCODE_TAB);
  TapKey(SDL_SCANCODE_KP_9);
  NotifySdlEventListeners(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_HOME, 1));  // a repeat is no press

  BYTE keys[256];
  auto downKeys = [&] {
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
    std::set<int> down;
    for (int code = 0; code < 256; ++code)
      if (keys[code] == 0x80) down.insert(code);
    return down;
  };
  EXPECT_EQ(downKeys(), (std::set<int>{DIK_TAB, DIK_NUMPAD9}));
  EXPECT_EQ(downKeys(), std::set<int>{});
  TapKey(SDL_SCANCODE_SPACE);
  EXPECT_EQ(keyboard->Unacquire(), DI_OK);
  EXPECT_EQ(keyboard->Acquire(), DI_OK);  // a new acquisition starts afresh
  EXPECT_EQ(downKeys(), std::set<int>{});
  keyboard->Release();
}

TEST_F(SdlDirectInputTest, MouseReportsAButtonClickedBetweenReadsAsDownOnceThenUp) {
  IDirectInputDevice8A* mouse = Ready(GUID_SysMouse, c_dfDIMouse);
  ClickButton(SDL_BUTTON_LEFT);
  ClickButton(SDL_BUTTON_X1);
  ClickButton(SDL_BUTTON_X2);  // no DirectInput button of its own
  DIMOUSESTATE state;
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(std::vector<int>(state.rgbButtons, state.rgbButtons + 4), (std::vector<int>{0x80, 0, 0, 0x80}));
  ClickButton(SDL_BUTTON_RIGHT);
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(std::vector<int>(state.rgbButtons, state.rgbButtons + 4), (std::vector<int>{0, 0x80, 0, 0}));
  ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(std::vector<int>(state.rgbButtons, state.rgbButtons + 4), (std::vector<int>{0, 0, 0, 0}));
  mouse->Release();
}

// Four quick taps of TAB within one frame toggle the time of day four times:
// each is pressed (2) in a poll of its own, released (1) in the next.
TEST_F(SdlDirectInputTest, FourTapsBetweenTwoPollsArePressedInFourPolls) {
  FakeOs os;
  mainWindow = FakeOs::FakeWindowHandle();
  ASSERT_EQ(InitDirectInput(), 1);
  for (int tap = 0; tap < 4; ++tap) TapKey(SDL_SCANCODE_TAB);
  ClickButton(SDL_BUTTON_LEFT);
  std::vector<int> tabStates, buttonStates;
  for (int poll = 0; poll < 9; ++poll) {
    PollInput();
    tabStates.push_back(KeyState(DIK_TAB));
    buttonStates.push_back(MouseButtonState(0));
  }
  EXPECT_EQ(tabStates, (std::vector<int>{2, 1, 2, 1, 2, 1, 2, 1, 0}));
  EXPECT_EQ(buttonStates, (std::vector<int>{2, 1, 0, 0, 0, 0, 0, 0, 0}));
  FreeInput();
  mainWindow = nullptr;
}

TEST_F(SdlDirectInputTest, ControllerAxesFollowTheirRangeAndAnUnpluggedOneIsLost) {
  SDL_Joystick* joystick = AttachJoystick(3, 2, 1);
  std::vector<GUID> guids = ControllerGuids();
  ASSERT_EQ(guids.size(), 1u);
  IDirectInputDevice8A* controller = Ready(guids[0], c_dfDIJoystick2);

  std::vector<DWORD> axes;
  auto collect = [](const DIDEVICEOBJECTINSTANCEA* object, void* ref) -> BOOL {
    static_cast<std::vector<DWORD>*>(ref)->push_back(object->dwType);
    return DIENUM_CONTINUE;
  };
  ASSERT_EQ(controller->EnumObjects(collect, &axes, DIDFT_AXIS), DI_OK);
  ASSERT_EQ(axes.size(), 3u);
  for (int axis = 0; axis < 2; ++axis) {  // the third keeps the default range
    DIPROPRANGE range = {{sizeof range, sizeof range.diph, axes[axis], DIPH_BYID}, -1000, 1000};
    EXPECT_EQ(controller->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
  }
  DIPROPRANGE missing = {{sizeof missing, sizeof missing.diph, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(7), DIPH_BYID},
                         -1, 1};
  EXPECT_EQ(controller->SetProperty(DIPROP_RANGE, &missing.diph), DIERR_OBJECTNOTFOUND);
  DIPROPRANGE reversed = {{sizeof reversed, sizeof reversed.diph, axes[0], DIPH_BYID}, 5, -5};
  EXPECT_EQ(controller->SetProperty(DIPROP_RANGE, &reversed.diph), DIERR_INVALIDPARAM);

  SDL_JoystickSetVirtualAxis(joystick, 0, 32767);
  SDL_JoystickSetVirtualAxis(joystick, 1, -32768);
  SDL_JoystickSetVirtualAxis(joystick, 2, 0);
  SDL_JoystickSetVirtualButton(joystick, 1, SDL_PRESSED);
  SDL_JoystickSetVirtualHat(joystick, 0, SDL_HAT_RIGHTDOWN);
  DIJOYSTATE2 state;
  ASSERT_EQ(controller->GetDeviceState(sizeof state, &state), DI_OK);
  EXPECT_EQ(state.lX, 1000);
  EXPECT_EQ(state.lY, -1000);
  EXPECT_EQ(state.lZ, 32768);
  EXPECT_EQ(state.rgbButtons[0], 0);
  EXPECT_EQ(state.rgbButtons[1], 0x80);
  EXPECT_EQ(state.rgdwPOV[0], 13500u);
  EXPECT_EQ(state.rgdwPOV[1], 0xFFFFFFFFu);

  SDL_JoystickDetachVirtual(0);
  EXPECT_EQ(controller->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
  EXPECT_EQ(controller->Acquire(), DIERR_INPUTLOST);
  EXPECT_EQ(controller->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
  controller->Release();
}

TEST_F(SdlDirectInputTest, InitDirectInputTakesEightOfNineControllers) {
  FakeOs os;
  mainWindow = FakeOs::FakeWindowHandle();
  for (int i = 0; i < 9; ++i) AttachJoystick(2, 1, 0);
  ASSERT_EQ(InitDirectInput(), 1);
  EXPECT_NE(os.DebugText().find("ジョイスティック数 = 8\n"), std::string::npos);
  EXPECT_EQ(os.DebugText().find("ジョイスティック["), std::string::npos);  // every one set up
  FreeInput();
  mainWindow = nullptr;
}

}  // namespace
