// The mouse: SDL's button state, with the presses since the previous read
// latched, and the motion and wheel of the SDL events since the previous read
// (a wheel notch counts 120, forward positive).
#include <SDL2/SDL_mouse.h>

#include "platform/dinput/press_latch.h"
#include "platform/dinput/sdl_input_device.h"
#include "platform/os/sdl_library.h"

namespace {

constexpr LONG kWheelUnitsPerNotch = 120;
constexpr int kButtonCount = 4;
// The SDL button of each DirectInput button: left, right, middle, first extra.
constexpr Uint8 kSdlButtons[kButtonCount] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1};

class SdlMouse final : public SdlInputDevice {
 public:
  SdlMouse() : SdlInputDevice(c_dfDIMouse.dwDataSize) {
    objects_ = {{0, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(0)},
                {4, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(1)},
                {8, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(2)}};
    for (DWORD button = 0; button < kButtonCount; ++button)
      objects_.push_back({12 + button, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(button)});
  }

 private:
  void Observe(const SDL_Event& event) override {
    if (event.type == SDL_MOUSEMOTION) {
      movedX_ += event.motion.xrel;
      movedY_ += event.motion.yrel;
    } else if (event.type == SDL_MOUSEWHEEL) {
      LONG notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      wheel_ += notches * kWheelUnitsPerNotch;
    } else if (event.type == SDL_MOUSEBUTTONDOWN) {
      for (int i = 0; i < kButtonCount; ++i)
        if (kSdlButtons[i] == event.button.button) presses_.NotePress(i);
    }
  }

  void StartReading() override {
    ResetMotion();
    presses_.Clear();
  }
  void ResetMotion() { movedX_ = movedY_ = wheel_ = 0; }

  HRESULT ReadState(void* data) override {
    auto* state = static_cast<DIMOUSESTATE*>(data);
    state->lX = movedX_;
    state->lY = movedY_;
    state->lZ = wheel_;
    ResetMotion();
    Uint32 buttons = Sdl().SDL_GetMouseState(nullptr, nullptr);
    for (int i = 0; i < kButtonCount; ++i)
      state->rgbButtons[i] = presses_.Read(i, (buttons & SDL_BUTTON(kSdlButtons[i])) != 0) ? 0x80 : 0;
    return DI_OK;
  }

  LONG movedX_ = 0, movedY_ = 0, wheel_ = 0;
  PressLatch presses_{kButtonCount};
};

}  // namespace

IDirectInputDevice8A* CreateSdlMouse() { return new SdlMouse; }
