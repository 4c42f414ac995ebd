#include "platform/os/virtual_keys.h"

#include <SDL2/SDL_keyboard.h>
#include <SDL2/SDL_mouse.h>

#include <array>
#include <vector>

#include "platform/os/sdl_library.h"

namespace {

constexpr int kVirtualKeyCount = 256;

struct KeyPair {
  SDL_Keycode key;
  int virtualKey;
};

constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},           {SDLK_RETURN, VK_RETURN},
    {SDLK_PAUSE, VK_PAUSE},    {SDLK_CAPSLOCK, VK_CAPITAL},  {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, VK_SPACE},    {SDLK_PAGEUP, VK_PRIOR},      {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},        {SDLK_HOME, VK_HOME},         {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},          {SDLK_RIGHT, VK_RIGHT},       {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},  {SDLK_DELETE, VK_DELETE},     {SDLK_LSHIFT, VK_LSHIFT},
    {SDLK_RSHIFT, VK_RSHIFT},  {SDLK_LCTRL, VK_LCONTROL},    {SDLK_RCTRL, VK_RCONTROL},
    {SDLK_LALT, VK_LMENU},     {SDLK_RALT, VK_RMENU},
};

struct KeypadKey {
  SDL_Scancode scancode;
  int virtualKey;
};

// The keypad keys that Windows reads as navigation keys while NumLock is off.
// They are known by position, which NumLock does not change.
constexpr KeypadKey kKeypadNavigationKeys[] = {
    {SDL_SCANCODE_KP_7, VK_HOME},  {SDL_SCANCODE_KP_8, VK_UP},    {SDL_SCANCODE_KP_9, VK_PRIOR},
    {SDL_SCANCODE_KP_4, VK_LEFT},  {SDL_SCANCODE_KP_6, VK_RIGHT}, {SDL_SCANCODE_KP_1, VK_END},
    {SDL_SCANCODE_KP_2, VK_DOWN},  {SDL_SCANCODE_KP_3, VK_NEXT},  {SDL_SCANCODE_KP_0, VK_INSERT},
    {SDL_SCANCODE_KP_PERIOD, VK_DELETE},
};

constexpr SDL_Keycode kFunctionKeys[] = {SDLK_F1, SDLK_F2, SDLK_F3, SDLK_F4,  SDLK_F5,  SDLK_F6,
                                         SDLK_F7, SDLK_F8, SDLK_F9, SDLK_F10, SDLK_F11, SDLK_F12};

// Every SDL key that some virtual key stands for.
template <typename Visit>
void ForEachMappedKey(Visit visit) {
  for (SDL_Keycode key = SDLK_a; key <= SDLK_z; ++key) visit(key);
  for (SDL_Keycode key = SDLK_0; key <= SDLK_9; ++key) visit(key);
  for (SDL_Keycode key : kFunctionKeys) visit(key);
  for (const KeyPair& pair : kNamedKeys) visit(pair.key);
}

Uint32 MouseMaskOf(int virtualKey) {
  switch (virtualKey) {
    case VK_LBUTTON: return SDL_BUTTON_LMASK;
    case VK_RBUTTON: return SDL_BUTTON_RMASK;
    case VK_MBUTTON: return SDL_BUTTON_MMASK;
    default: return 0;
  }
}

}  // namespace

int VirtualKeyOfSdlKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  for (int i = 0; i < 12; ++i)
    if (kFunctionKeys[i] == key) return VK_F1 + i;
  for (const KeyPair& pair : kNamedKeys)
    if (pair.key == key) return pair.virtualKey;
  return 0;
}

int KeypadNavigationKeyOf(SDL_Scancode scancode, Uint16 modifiers) {
  if (modifiers & KMOD_NUM) return 0;
  for (const KeypadKey& key : kKeypadNavigationKeys)
    if (key.scancode == scancode) return key.virtualKey;
  return 0;
}

int VirtualKeyOfKeysym(const SDL_Keysym& keysym) {
  if (int navigation = KeypadNavigationKeyOf(keysym.scancode, keysym.mod)) return navigation;
  return VirtualKeyOfSdlKey(keysym.sym);
}

int GenericVirtualKeyOf(int virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return 0;
  }
}

int VirtualKeyOfMouseButton(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT: return VK_LBUTTON;
    case SDL_BUTTON_RIGHT: return VK_RBUTTON;
    case SDL_BUTTON_MIDDLE: return VK_MBUTTON;
    default: return 0;
  }
}

void AsyncKeyTable::Observe(const SDL_Event& event) {
  if (event.type == SDL_KEYDOWN) {
    int virtualKey = VirtualKeyOfKeysym(event.key.keysym);
    NoteDown(virtualKey);
    NoteDown(GenericVirtualKeyOf(virtualKey));
  } else if (event.type == SDL_MOUSEBUTTONDOWN) {
    NoteDown(VirtualKeyOfMouseButton(event.button.button));
  }
}

void AsyncKeyTable::NoteDown(int virtualKey) {
  if (virtualKey > 0 && virtualKey < static_cast<int>(wentDown_.size())) wentDown_[virtualKey] = true;
}

int16_t AsyncKeyTable::Query(int virtualKey, bool downNow) {
  bool wentDown = false;
  if (virtualKey > 0 && virtualKey < static_cast<int>(wentDown_.size())) {
    wentDown = wentDown_[virtualKey];
    wentDown_[virtualKey] = false;
  }
  return static_cast<int16_t>((downNow ? 0x8000 : 0) | (wentDown ? 1 : 0));
}

bool IsVirtualKeyDown(int virtualKey) {
  if (Uint32 mask = MouseMaskOf(virtualKey)) return (Sdl().SDL_GetMouseState(nullptr, nullptr) & mask) != 0;
  int count = 0;
  const Uint8* keys = Sdl().SDL_GetKeyboardState(&count);
  return IsVirtualKeyDownOnKeyboard(virtualKey, keys, count, Sdl().SDL_GetModState());
}

bool IsVirtualKeyDownOnKeyboard(int virtualKey, const Uint8* keys, int count, Uint16 modifiers) {
  if (virtualKey <= 0 || virtualKey >= kVirtualKeyCount) return false;
  // The SDL keys of each virtual key, found once: the table is asked for every code every frame.
  static const std::array<std::vector<SDL_Keycode>, kVirtualKeyCount> keysOf = [] {
    std::array<std::vector<SDL_Keycode>, kVirtualKeyCount> table;
    ForEachMappedKey([&](SDL_Keycode key) {
      int specific = VirtualKeyOfSdlKey(key);
      table[specific].push_back(key);
      if (int generic = GenericVirtualKeyOf(specific)) table[generic].push_back(key);
    });
    return table;
  }();
  auto isDown = [&](SDL_Scancode scancode) {
    return scancode > SDL_SCANCODE_UNKNOWN && scancode < count && keys[scancode] != 0;
  };
  // Looked up each time, since the keyboard layout may change.
  for (SDL_Keycode key : keysOf[virtualKey])
    if (isDown(Sdl().SDL_GetScancodeFromKey(key))) return true;
  if (modifiers & KMOD_NUM) return false;
  for (const KeypadKey& key : kKeypadNavigationKeys)
    if (key.virtualKey == virtualKey && isDown(key.scancode)) return true;
  return false;
}
