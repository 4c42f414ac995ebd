// A game controller: an SDL joystick read into DIJOYSTATE2. The first eight
// axes fill lX..lRz and the two sliders, scaled to each axis's DIPROP_RANGE
// (0..65535 until set); hats fill the POV values, buttons rgbButtons.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/dinput/sdl_input_device.h"
#include "platform/os/sdl_library.h"

namespace {

constexpr int kMaxAxes = 8, kMaxPovs = 4, kMaxButtons = 128;
constexpr DWORD kPovOffset = 32, kButtonOffset = 48;  // within DIJOYSTATE2
constexpr DWORD kPovCentred = 0xFFFFFFFF;

struct AxisRange {
  LONG min = 0;
  LONG max = 65535;
};

// SDL hat bits (up 1, right 2, down 4, left 8) as hundredths of a degree
// clockwise from north; impossible combinations read as centred.
DWORD PovFromHat(Uint8 hat) {
  constexpr DWORD kNone = kPovCentred;
  static const DWORD kAngles[16] = {
      kNone, 0,     9000,  4500,   // -, up, right, right+up
      18000, kNone, 13500, kNone,  // down, up+down, right+down, -
      27000, 31500, kNone, kNone,  // left, left+up, left+right, -
      22500, kNone, kNone, kNone,  // left+down, -
  };
  return kAngles[hat & 0xF];
}

LONG ScaleAxis(Sint16 value, const AxisRange& range) {
  int64_t span = static_cast<int64_t>(range.max) - range.min;
  int64_t steps = (static_cast<int64_t>(value) + 32768) * span;
  return static_cast<LONG>(range.min + (steps + 32767) / 65535);
}

class SdlJoystick final : public SdlInputDevice {
 public:
  explicit SdlJoystick(SDL_Joystick* joystick)
      : SdlInputDevice(c_dfDIJoystick2.dwDataSize),
        joystick_(joystick),
        axisCount_(std::clamp(Sdl().SDL_JoystickNumAxes(joystick), 0, kMaxAxes)),
        povCount_(std::clamp(Sdl().SDL_JoystickNumHats(joystick), 0, kMaxPovs)),
        buttonCount_(std::clamp(Sdl().SDL_JoystickNumButtons(joystick), 0, kMaxButtons)) {
    // Our own reference keeps the joystick subsystem up until the joystick is closed.
    Sdl().SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    for (int i = 0; i < axisCount_; ++i) objects_.push_back({DWORD(4 * i), DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(i)});
    for (int i = 0; i < povCount_; ++i) objects_.push_back({kPovOffset + 4 * i, DIDFT_POV | DIDFT_MAKEINSTANCE(i)});
    for (int i = 0; i < buttonCount_; ++i)
      objects_.push_back({kButtonOffset + i, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(i)});
  }

  ~SdlJoystick() override {
    Sdl().SDL_JoystickClose(joystick_);
    Sdl().SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) override {
    if (property != DIPROP_RANGE) return SdlInputDevice::SetProperty(property, header);
    if (!header || header->dwSize != sizeof(DIPROPRANGE) || header->dwHeaderSize != sizeof(DIPROPHEADER))
      return DIERR_INVALIDPARAM;
    const auto* request = reinterpret_cast<const DIPROPRANGE*>(header);
    if (request->lMin >= request->lMax) return DIERR_INVALIDPARAM;
    bool found = false;
    for (const DeviceObject& object : objects_) {
      if (!(object.type & DIDFT_AXIS) || !AxisMatches(object, *header)) continue;
      ranges_[DIDFT_GETINSTANCE(object.type)] = {request->lMin, request->lMax};
      found = true;
    }
    return found ? DI_OK : DIERR_OBJECTNOTFOUND;
  }

 private:
  static bool AxisMatches(const DeviceObject& axis, const DIPROPHEADER& header) {
    switch (header.dwHow) {
      case DIPH_DEVICE: return header.dwObj == 0;
      case DIPH_BYOFFSET: return header.dwObj == axis.offset;
      case DIPH_BYID: return header.dwObj == axis.type;
      default: return false;
    }
  }

  bool IsAttached() override { return Sdl().SDL_JoystickGetAttached(joystick_); }

  HRESULT ReadState(void* data) override {
    Sdl().SDL_JoystickUpdate();
    if (!IsAttached()) return DIERR_INPUTLOST;
    auto* state = static_cast<DIJOYSTATE2*>(data);
    auto* bytes = static_cast<BYTE*>(data);
    for (int i = 0; i < axisCount_; ++i) {
      LONG value = ScaleAxis(Sdl().SDL_JoystickGetAxis(joystick_, i), ranges_[i]);
      std::memcpy(bytes + 4 * i, &value, sizeof value);
    }
    for (int i = 0; i < kMaxPovs; ++i)
      state->rgdwPOV[i] = i < povCount_ ? PovFromHat(Sdl().SDL_JoystickGetHat(joystick_, i)) : kPovCentred;
    for (int i = 0; i < buttonCount_; ++i) state->rgbButtons[i] = Sdl().SDL_JoystickGetButton(joystick_, i) ? 0x80 : 0;
    return DI_OK;
  }

  SDL_Joystick* joystick_;
  int axisCount_, povCount_, buttonCount_;
  AxisRange ranges_[kMaxAxes];
};

}  // namespace

IDirectInputDevice8A* CreateSdlJoystick(SDL_Joystick* joystick) { return new SdlJoystick(joystick); }
