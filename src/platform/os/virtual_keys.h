// Win32 virtual-key codes for SDL keys and mouse buttons, and the table that
// answers GetAsyncKeyState.
#pragma once
#include <SDL2/SDL_events.h>

#include <array>

#include "platform/os/os.h"

// The specific virtual key of an SDL key (VK_LSHIFT for the left Shift), 0 when unmapped.
int VirtualKeyOfSdlKey(SDL_Keycode key);
// While NumLock is off, the navigation key a keypad key stands for (VK_PRIOR
// for keypad 9); 0 for other keys and while NumLock is on.
int KeypadNavigationKeyOf(SDL_Scancode scancode, Uint16 modifiers);
// The specific virtual key of a key event, keypad navigation included.
int VirtualKeyOfKeysym(const SDL_Keysym& keysym);
// The side-independent key of a specific one (VK_SHIFT for VK_LSHIFT), 0 when there is none.
int GenericVirtualKeyOf(int virtualKey);
// VK_LBUTTON, VK_RBUTTON or VK_MBUTTON for an SDL mouse button, 0 otherwise.
int VirtualKeyOfMouseButton(Uint8 button);

// Remembers which keys went down since their last query.
class AsyncKeyTable {
 public:
  void Observe(const SDL_Event& event);
  // Bit 15: downNow; bit 0: the key went down since the previous query of it.
  int16_t Query(int virtualKey, bool downNow);

 private:
  void NoteDown(int virtualKey);
  std::array<bool, 256> wentDown_{};
};

// Whether the key is down in SDL's current keyboard and mouse state.
bool IsVirtualKeyDown(int virtualKey);
// Whether a keyboard key that stands for the virtual key is down in keys[0..count)
// (by scancode), with these modifiers (KMOD_NUM: NumLock on).
bool IsVirtualKeyDownOnKeyboard(int virtualKey, const Uint8* keys, int count, Uint16 modifiers);
