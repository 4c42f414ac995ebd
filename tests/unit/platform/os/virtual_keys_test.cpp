#include <gtest/gtest.h>

#include "platform/os/virtual_keys.h"

namespace {

SDL_Event KeyDown(SDL_Keycode key) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.sym = key;
  return event;
}

TEST(VirtualKeysTest, LettersDigitsAndFunctionKeysMapToWin32Codes) {
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_a), 'A');
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_z), 'Z');
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_0), '0');
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_9), '9');
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_F1), VK_F1);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_F12), VK_F1 + 11);
}

TEST(VirtualKeysTest, NamedKeysMapToWin32Codes) {
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_ESCAPE), VK_ESCAPE);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_TAB), VK_TAB);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_SPACE), VK_SPACE);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_RETURN), VK_RETURN);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_PAGEUP), VK_PRIOR);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_PAGEDOWN), VK_NEXT);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_HOME), VK_HOME);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_END), VK_END);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_INSERT), VK_INSERT);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_DELETE), VK_DELETE);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_LEFT), VK_LEFT);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_DOWN), VK_DOWN);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_RCTRL), VK_RCONTROL);
  EXPECT_EQ(VirtualKeyOfSdlKey(SDLK_KP_5), 0);
}

SDL_Event KeypadKeyDown(SDL_Scancode scancode, Uint16 modifiers) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = SDL_SCANCODE_TO_KEYCODE(scancode);
  event.key.keysym.mod = modifiers;
  return event;
}

struct KeypadCase {
  SDL_Scancode scancode;
  int virtualKey;  // while NumLock is off
};

// With NumLock off the keypad's digits are navigation keys, as Windows reads them.
constexpr KeypadCase kKeypadCases[] = {
    {SDL_SCANCODE_KP_9, VK_PRIOR}, {SDL_SCANCODE_KP_3, VK_NEXT},  {SDL_SCANCODE_KP_7, VK_HOME},
    {SDL_SCANCODE_KP_1, VK_END},   {SDL_SCANCODE_KP_8, VK_UP},    {SDL_SCANCODE_KP_2, VK_DOWN},
    {SDL_SCANCODE_KP_4, VK_LEFT},  {SDL_SCANCODE_KP_6, VK_RIGHT}, {SDL_SCANCODE_KP_0, VK_INSERT},
    {SDL_SCANCODE_KP_PERIOD, VK_DELETE},
};

TEST(VirtualKeysTest, KeypadKeysAreNavigationKeysWhileNumLockIsOff) {
  for (const KeypadCase& c : kKeypadCases) {
    EXPECT_EQ(KeypadNavigationKeyOf(c.scancode, KMOD_NONE), c.virtualKey) << c.scancode;
    EXPECT_EQ(KeypadNavigationKeyOf(c.scancode, KMOD_NUM | KMOD_LSHIFT), 0) << c.scancode;
    EXPECT_EQ(VirtualKeyOfKeysym(KeypadKeyDown(c.scancode, KMOD_NUM).key.keysym), 0) << c.scancode;

    AsyncKeyTable table;
    table.Observe(KeypadKeyDown(c.scancode, KMOD_NONE));
    EXPECT_EQ(table.Query(c.virtualKey, false), 1) << c.scancode;
    table.Observe(KeypadKeyDown(c.scancode, KMOD_NUM));
    EXPECT_EQ(table.Query(c.virtualKey, false), 0) << c.scancode;

    Uint8 keys[SDL_NUM_SCANCODES] = {};
    keys[c.scancode] = 1;
    EXPECT_TRUE(IsVirtualKeyDownOnKeyboard(c.virtualKey, keys, SDL_NUM_SCANCODES, KMOD_NONE)) << c.scancode;
    EXPECT_FALSE(IsVirtualKeyDownOnKeyboard(c.virtualKey, keys, SDL_NUM_SCANCODES, KMOD_NUM)) << c.scancode;
    EXPECT_FALSE(IsVirtualKeyDownOnKeyboard(c.virtualKey, keys, c.scancode, KMOD_NONE)) << "beyond the state";
    EXPECT_FALSE(IsVirtualKeyDownOnKeyboard(VK_TAB, keys, SDL_NUM_SCANCODES, KMOD_NONE)) << c.scancode;
  }
  EXPECT_EQ(KeypadNavigationKeyOf(SDL_SCANCODE_KP_5, KMOD_NONE), 0);
  EXPECT_EQ(KeypadNavigationKeyOf(SDL_SCANCODE_PAGEUP, KMOD_NONE), 0);
}

TEST(VirtualKeysTest, SidedModifiersHaveGenericKeys) {
  EXPECT_EQ(GenericVirtualKeyOf(VK_LSHIFT), VK_SHIFT);
  EXPECT_EQ(GenericVirtualKeyOf(VK_RSHIFT), VK_SHIFT);
  EXPECT_EQ(GenericVirtualKeyOf(VK_LCONTROL), VK_CONTROL);
  EXPECT_EQ(GenericVirtualKeyOf(VK_RMENU), VK_MENU);
  EXPECT_EQ(GenericVirtualKeyOf('A'), 0);
}

TEST(AsyncKeyTableTest, WentDownBitIsReportedOnceThenCleared) {
  AsyncKeyTable table;
  table.Observe(KeyDown(SDLK_a));
  EXPECT_EQ(table.Query('A', true), static_cast<int16_t>(0x8001));
  EXPECT_EQ(table.Query('A', true), static_cast<int16_t>(0x8000));
  EXPECT_EQ(table.Query('A', false), 0);
}

TEST(AsyncKeyTableTest, PressAndReleaseBetweenQueriesStillCounts) {
  AsyncKeyTable table;
  table.Observe(KeyDown(SDLK_SPACE));
  EXPECT_EQ(table.Query(VK_SPACE, false), 1);
}

TEST(AsyncKeyTableTest, EachKeyKeepsItsOwnBitAndSidedKeysSetGenericOne) {
  AsyncKeyTable table;
  table.Observe(KeyDown(SDLK_LSHIFT));
  EXPECT_EQ(table.Query('B', false), 0);
  EXPECT_EQ(table.Query(VK_SHIFT, true) & 1, 1);
  EXPECT_EQ(table.Query(VK_LSHIFT, true) & 1, 1);
  EXPECT_EQ(table.Query(VK_RSHIFT, false), 0);
}

TEST(AsyncKeyTableTest, MouseButtonsAndUnmappedKeys) {
  AsyncKeyTable table;
  SDL_Event button{};
  button.type = SDL_MOUSEBUTTONDOWN;
  button.button.button = SDL_BUTTON_RIGHT;
  table.Observe(button);
  table.Observe(KeyDown(SDLK_KP_5));
  EXPECT_EQ(table.Query(VK_RBUTTON, false), 1);
  EXPECT_EQ(table.Query(VK_LBUTTON, false), 0);
  EXPECT_EQ(table.Query(0, false), 0);
  EXPECT_EQ(table.Query(-5, false), 0);
  EXPECT_EQ(table.Query(4096, true), static_cast<int16_t>(0x8000));
}

}  // namespace
