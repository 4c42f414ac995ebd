// The keyboard: SDL's key state by scancode, laid out by DirectInput key code,
// with the presses since the previous read latched.
#include <SDL2/SDL_keyboard.h>

#include "platform/dinput/press_latch.h"
#include "platform/dinput/sdl_input_device.h"
#include "platform/dinput/sdl_keyboard_table.h"
#include "platform/os/sdl_library.h"

namespace {

class SdlKeyboard final : public SdlInputDevice {
 public:
  SdlKeyboard() : SdlInputDevice(c_dfDIKeyboard.dwDataSize) {
    for (const ScancodeToDik& key : KeyboardScancodeTable())
      objects_.push_back({key.dik, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(key.dik)});
  }

 private:
  // A held key's repeats are no new presses.
  void Observe(const SDL_Event& event) override {
    if (event.type == SDL_KEYDOWN && !event.key.repeat) presses_.NotePress(event.key.keysym.scancode);
  }

  void StartReading() override { presses_.Clear(); }

  HRESULT ReadState(void* data) override {
    int count = 0;
    const Uint8* down = Sdl().SDL_GetKeyboardState(&count);
    auto* keys = static_cast<BYTE*>(data);
    for (const ScancodeToDik& key : KeyboardScancodeTable())
      if (presses_.Read(key.scancode, key.scancode < count && down[key.scancode])) keys[key.dik] = 0x80;
    return DI_OK;
  }

  PressLatch presses_{SDL_NUM_SCANCODES};
};

}  // namespace

IDirectInputDevice8A* CreateSdlKeyboard() { return new SdlKeyboard; }
