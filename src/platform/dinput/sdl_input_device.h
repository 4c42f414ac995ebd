// The part every SDL-backed input device shares: data format, cooperative
// level, acquisition, the state read, the object list and the SDL events seen
// while acquired. Each kind of device fills in its objects, how it reads its
// state and what it takes from the events.
//
// Lost input: SDL keeps the keyboard and the mouse for the life of the program
// (while the window is not focused SDL reports no keys or buttons down, which is
// what the program then sees), so only an unplugged controller reports
// DIERR_INPUTLOST. A lost device is unacquired; acquiring it again fails with
// DIERR_INPUTLOST while it stays unplugged.
#pragma once
#include <SDL2/SDL_events.h>
#include <SDL2/SDL_joystick.h>

#include <vector>

#include "platform/dinput/dinput8.h"

class SdlInputDevice : public IDirectInputDevice8A {
 public:
  HRESULT SetDataFormat(const DIDATAFORMAT* format) final;
  // Both levels read alike: SDL reports the input of the program's own window.
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) final;
  HRESULT Acquire() final;
  HRESULT Unacquire() final;
  HRESULT GetDeviceState(DWORD size, void* data) final;
  HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, void* ref, DWORD flags) final;
  HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) override;  // no properties by default

 protected:
  struct DeviceObject {
    DWORD offset;
    DWORD type;
  };

  explicit SdlInputDevice(DWORD stateSize);
  ~SdlInputDevice() override;

  virtual bool IsAttached() { return true; }
  virtual void StartReading() {}  // on acquisition
  // Each event the message pump takes from SDL while the device is acquired.
  virtual void Observe(const SDL_Event&) {}
  // Fills the zeroed state record; DIERR_INPUTLOST when the device has gone.
  virtual HRESULT ReadState(void* data) = 0;

  std::vector<DeviceObject> objects_;

 private:
  static void ObserveForAcquiredDevices(const SDL_Event& event);

  DWORD stateSize_;
  bool formatSet_ = false;
  bool acquired_ = false;
};

IDirectInputDevice8A* CreateSdlKeyboard();
IDirectInputDevice8A* CreateSdlMouse();
// Takes over an opened joystick.
IDirectInputDevice8A* CreateSdlJoystick(SDL_Joystick* joystick);
