// The keyboard: SDL's key state by scancode, laid out by DirectInput key code.
#include <SDL2/SDL_keyboard.h>

#include "platform/dinput/sdl_input_device.h"
#include "platform/dinput/sdl_keyboard_table.h"

namespace {

class SdlKeyboard final : public SdlInputDevice {
 public:
  SdlKeyboard() : SdlInputDevice(c_dfDIKeyboard.dwDataSize) {
    for (const ScancodeToDik& key : KeyboardScancodeTable())
      objects_.push_back({key.dik, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(key.dik)});
  }

 private:
  HRESULT ReadState(void* data) override {
    int count = 0;
    const Uint8* down = SDL_GetKeyboardState(&count);
    auto* keys = static_cast<BYTE*>(data);
    for (const ScancodeToDik& key : KeyboardScancodeTable())
      if (key.scancode < count && down[key.scancode]) keys[key.dik] = 0x80;
    return DI_OK;
  }
};

}  // namespace

IDirectInputDevice8A* CreateSdlKeyboard() { return new SdlKeyboard; }
