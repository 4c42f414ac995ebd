// The DirectInput object on SDL: the system keyboard and mouse, and every SDL
// joystick as a game controller. A controller's instance GUID carries its SDL
// instance id, so it names the same device for as long as it stays plugged in.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/dinput/dinput8.h"
#include "platform/dinput/sdl_input_device.h"
#include "platform/os/sdl_library.h"

namespace {

constexpr uint16_t kJoystickMarkA = 0x5344, kJoystickMarkB = 0x4C4A;  // "SDL" "J"

GUID JoystickInstanceGuid(SDL_JoystickID id) {
  return {static_cast<uint32_t>(id), kJoystickMarkA, kJoystickMarkB, {}};
}

bool IsJoystickGuid(const GUID& guid) { return guid.Data2 == kJoystickMarkA && guid.Data3 == kJoystickMarkB; }

DIDEVICEINSTANCEA SystemDeviceInstance(const GUID& guid, DWORD type, const char* name) {
  DIDEVICEINSTANCEA instance = {sizeof(DIDEVICEINSTANCEA), guid, guid, type, {}, {}};
  std::snprintf(instance.tszInstanceName, kDeviceNameSize, "%s", name);
  std::snprintf(instance.tszProductName, kDeviceNameSize, "%s", name);
  return instance;
}

class SdlDirectInput final : public IDirectInput8A {
 public:
  SdlDirectInput() : joysticksReady_(Sdl().SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0) {}
  ~SdlDirectInput() override {
    if (joysticksReady_) Sdl().SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  HRESULT CreateDevice(const GUID& instance, IDirectInputDevice8A** device) override {
    if (!device) return DIERR_INVALIDPARAM;
    *device = nullptr;
    if (instance == GUID_SysKeyboard) {
      *device = CreateSdlKeyboard();
    } else if (instance == GUID_SysMouse) {
      *device = CreateSdlMouse();
    } else if (SDL_Joystick* joystick = OpenJoystick(instance)) {
      *device = CreateSdlJoystick(joystick);
    } else {
      return DIERR_DEVICENOTREG;
    }
    return DI_OK;
  }

  HRESULT EnumDevices(DWORD deviceClass, LPDIENUMDEVICESCALLBACKA callback, void* ref, DWORD) override {
    if (!callback) return DIERR_INVALIDPARAM;
    // Every device SDL lists is attached, so DIEDFL_ATTACHEDONLY changes nothing.
    bool all = deviceClass == DI8DEVCLASS_ALL;
    if (all || deviceClass == DI8DEVCLASS_KEYBOARD) {
      DIDEVICEINSTANCEA keyboard = SystemDeviceInstance(GUID_SysKeyboard, DI8DEVTYPE_KEYBOARD, "Keyboard");
      if (callback(&keyboard, ref) == DIENUM_STOP) return DI_OK;
    }
    if (all || deviceClass == DI8DEVCLASS_POINTER) {
      DIDEVICEINSTANCEA mouse = SystemDeviceInstance(GUID_SysMouse, DI8DEVTYPE_MOUSE, "Mouse");
      if (callback(&mouse, ref) == DIENUM_STOP) return DI_OK;
    }
    if ((all || deviceClass == DI8DEVCLASS_GAMECTRL) && joysticksReady_) EnumJoysticks(callback, ref);
    return DI_OK;
  }

 private:
  static void EnumJoysticks(LPDIENUMDEVICESCALLBACKA callback, void* ref) {
    int count = Sdl().SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
      SDL_JoystickID id = Sdl().SDL_JoystickGetDeviceInstanceID(index);
      if (id < 0) continue;
      DIDEVICEINSTANCEA instance = {sizeof(DIDEVICEINSTANCEA), JoystickInstanceGuid(id), {}, DI8DEVTYPE_JOYSTICK,
                                    {}, {}};
      SDL_JoystickGUID product = Sdl().SDL_JoystickGetDeviceGUID(index);
      static_assert(sizeof product == sizeof instance.guidProduct);
      std::memcpy(&instance.guidProduct, &product, sizeof product);
      const char* name = Sdl().SDL_JoystickNameForIndex(index);
      std::snprintf(instance.tszInstanceName, kDeviceNameSize, "%s", name ? name : "");
      std::snprintf(instance.tszProductName, kDeviceNameSize, "%s", name ? name : "");
      if (callback(&instance, ref) == DIENUM_STOP) return;
    }
  }

  SDL_Joystick* OpenJoystick(const GUID& instance) const {
    if (!joysticksReady_ || !IsJoystickGuid(instance)) return nullptr;
    int count = Sdl().SDL_NumJoysticks();
    for (int index = 0; index < count; ++index)
      if (JoystickInstanceGuid(Sdl().SDL_JoystickGetDeviceInstanceID(index)) == instance) return Sdl().SDL_JoystickOpen(index);
    return nullptr;
  }

  bool joysticksReady_;
};

HRESULT CreateSdlDirectInput(DWORD version, IDirectInput8A** directInput) {
  if (!directInput) return DIERR_INVALIDPARAM;
  *directInput = nullptr;
  if (version != DIRECTINPUT_VERSION) return DIERR_INVALIDPARAM;
  *directInput = new SdlDirectInput;
  return DI_OK;
}

DirectInputFactory directInputFactory = CreateSdlDirectInput;

}  // namespace

HRESULT DirectInput8Create(DWORD version, IDirectInput8A** directInput) {
  return directInputFactory(version, directInput);
}

void SetDirectInputFactory(DirectInputFactory factory) {
  directInputFactory = factory ? factory : CreateSdlDirectInput;
}
