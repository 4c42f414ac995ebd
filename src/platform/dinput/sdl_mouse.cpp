// The mouse: SDL's button state, and the motion and wheel of the SDL events
// since the previous read (a wheel notch counts 120, forward positive).
#include <SDL2/SDL_mouse.h>

#include <algorithm>
#include <vector>

#include "platform/dinput/sdl_input_device.h"
#include "platform/os/sdl_events.h"

namespace {

constexpr LONG kWheelUnitsPerNotch = 120;

class SdlMouse final : public SdlInputDevice {
 public:
  SdlMouse() : SdlInputDevice(c_dfDIMouse.dwDataSize) {
    objects_ = {{0, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(0)},
                {4, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(1)},
                {8, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(2)}};
    for (DWORD button = 0; button < 4; ++button)
      objects_.push_back({12 + button, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(button)});
    LiveMice().push_back(this);
    AddSdlEventListener(OnSdlEvent);
  }

  ~SdlMouse() override {
    auto& mice = LiveMice();
    mice.erase(std::remove(mice.begin(), mice.end(), this), mice.end());
    if (mice.empty()) RemoveSdlEventListener(OnSdlEvent);
  }

 private:
  static std::vector<SdlMouse*>& LiveMice() {
    static std::vector<SdlMouse*> mice;
    return mice;
  }

  static void OnSdlEvent(const SDL_Event& event) {
    for (SdlMouse* mouse : LiveMice())
      if (mouse->IsAcquired()) mouse->Accumulate(event);
  }

  void Accumulate(const SDL_Event& event) {
    if (event.type == SDL_MOUSEMOTION) {
      movedX_ += event.motion.xrel;
      movedY_ += event.motion.yrel;
    } else if (event.type == SDL_MOUSEWHEEL) {
      LONG notches = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      wheel_ += notches * kWheelUnitsPerNotch;
    }
  }

  void StartReading() override { ResetMotion(); }
  void ResetMotion() { movedX_ = movedY_ = wheel_ = 0; }

  HRESULT ReadState(void* data) override {
    auto* state = static_cast<DIMOUSESTATE*>(data);
    state->lX = movedX_;
    state->lY = movedY_;
    state->lZ = wheel_;
    ResetMotion();
    Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    const Uint32 masks[4] = {SDL_BUTTON_LMASK, SDL_BUTTON_RMASK, SDL_BUTTON_MMASK, SDL_BUTTON_X1MASK};
    for (int i = 0; i < 4; ++i) state->rgbButtons[i] = (buttons & masks[i]) ? 0x80 : 0;
    return DI_OK;
  }

  LONG movedX_ = 0, movedY_ = 0, wheel_ = 0;
};

}  // namespace

IDirectInputDevice8A* CreateSdlMouse() { return new SdlMouse; }
