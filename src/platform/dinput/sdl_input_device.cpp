#include "platform/dinput/sdl_input_device.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/os/sdl_events.h"

namespace {

std::vector<SdlInputDevice*>& LiveDevices() {
  static std::vector<SdlInputDevice*> devices;
  return devices;
}

}  // namespace

SdlInputDevice::SdlInputDevice(DWORD stateSize) : stateSize_(stateSize) {
  LiveDevices().push_back(this);
  AddSdlEventListener(ObserveForAcquiredDevices);
}

SdlInputDevice::~SdlInputDevice() {
  auto& devices = LiveDevices();
  devices.erase(std::remove(devices.begin(), devices.end(), this), devices.end());
  if (devices.empty()) RemoveSdlEventListener(ObserveForAcquiredDevices);
}

void SdlInputDevice::ObserveForAcquiredDevices(const SDL_Event& event) {
  for (SdlInputDevice* device : LiveDevices())
    if (device->acquired_) device->Observe(event);
}

HRESULT SdlInputDevice::SetDataFormat(const DIDATAFORMAT* format) {
  if (!format || format->dwDataSize != stateSize_) return DIERR_INVALIDPARAM;
  formatSet_ = true;
  return DI_OK;
}

HRESULT SdlInputDevice::SetCooperativeLevel(HWND window, DWORD flags) {
  bool oneSharing = ((flags & DISCL_EXCLUSIVE) != 0) != ((flags & DISCL_NONEXCLUSIVE) != 0);
  bool oneFocus = ((flags & DISCL_FOREGROUND) != 0) != ((flags & DISCL_BACKGROUND) != 0);
  if (!window || !oneSharing || !oneFocus) return DIERR_INVALIDPARAM;
  return DI_OK;
}

HRESULT SdlInputDevice::Acquire() {
  if (!formatSet_) return DIERR_INVALIDPARAM;
  if (!IsAttached()) return DIERR_INPUTLOST;
  if (!acquired_) {
    acquired_ = true;
    StartReading();
  }
  return DI_OK;
}

HRESULT SdlInputDevice::Unacquire() {
  acquired_ = false;
  return DI_OK;
}

HRESULT SdlInputDevice::GetDeviceState(DWORD size, void* data) {
  if (!data || size != stateSize_) return DIERR_INVALIDPARAM;
  if (!acquired_) return DIERR_NOTACQUIRED;
  std::memset(data, 0, size);
  HRESULT result = ReadState(data);
  if (result == DIERR_INPUTLOST) acquired_ = false;
  return result;
}

HRESULT SdlInputDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, void* ref, DWORD flags) {
  if (!callback) return DIERR_INVALIDPARAM;
  DWORD kinds = flags & 0xFF;
  for (const DeviceObject& object : objects_) {
    if (kinds != DIDFT_ALL && (object.type & kinds) == 0) continue;
    DIDEVICEOBJECTINSTANCEA instance = {sizeof(DIDEVICEOBJECTINSTANCEA), object.offset, object.type};
    if (callback(&instance, ref) == DIENUM_STOP) break;
  }
  return DI_OK;
}

HRESULT SdlInputDevice::SetProperty(DWORD, const DIPROPHEADER* header) {
  return header ? DIERR_UNSUPPORTED : DIERR_INVALIDPARAM;
}
