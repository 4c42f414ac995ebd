#include "fake_dinput.h"

#include <cstring>

namespace {

FakeDirectInput* installed = nullptr;

constexpr uint16_t kControllerMark = 0xFA4E;

class FakeDevice final : public IDirectInputDevice8A {
 public:
  FakeDevice(FakeDirectInput& owner, FakeDirectInput::Device& script, std::string name)
      : owner_(owner), script_(script), name_(std::move(name)) {
    script_.created = true;
    ++owner_.liveDevices;
  }

  ~FakeDevice() override {
    Record("Release");
    --owner_.liveDevices;
  }

  HRESULT SetDataFormat(const DIDATAFORMAT* format) override {
    Record("SetDataFormat");
    if (SUCCEEDED(script_.formatResult)) script_.dataFormat = format;
    return script_.formatResult;
  }

  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
    Record("SetCooperativeLevel");
    script_.window = window;
    script_.cooperativeLevel = flags;
    return script_.cooperativeLevelResult;
  }

  HRESULT Acquire() override {
    Record("Acquire");
    ++script_.acquireCount;
    if (!script_.dataFormat) return DIERR_INVALIDPARAM;
    script_.acquired = true;
    return DI_OK;
  }

  HRESULT Unacquire() override {
    Record("Unacquire");
    script_.acquired = false;
    return DI_OK;
  }

  HRESULT GetDeviceState(DWORD size, void* data) override {
    if (!script_.dataFormat || size != script_.dataFormat->dwDataSize) return DIERR_INVALIDPARAM;
    if (!script_.acquired) return DIERR_NOTACQUIRED;
    HRESULT result = DI_OK;
    if (!script_.readResults.empty()) {
      result = script_.readResults.front();
      script_.readResults.pop_front();
    }
    if (result == DIERR_INPUTLOST) script_.acquired = false;
    if (FAILED(result)) return result;
    if (size == sizeof script_.keys)
      std::memcpy(data, script_.keys, size);
    else if (size == sizeof script_.mouse)
      std::memcpy(data, &script_.mouse, size);
    else
      std::memcpy(data, &script_.joystick, size);
    return result;
  }

  HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, void* ref, DWORD flags) override {
    Record("EnumObjects");
    if (script_.enumObjectsResult != DI_OK) return script_.enumObjectsResult;
    if (flags != DIDFT_ALL && !(flags & DIDFT_ABSAXIS)) return DI_OK;
    for (int axis = 0; axis < script_.axisCount; ++axis) {
      DIDEVICEOBJECTINSTANCEA object = {sizeof object, DWORD(4 * axis), DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axis)};
      if (callback(&object, ref) == DIENUM_STOP) break;
    }
    return DI_OK;
  }

  HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) override {
    Record("SetProperty");
    if (property != DIPROP_RANGE || !header || header->dwSize != sizeof(DIPROPRANGE)) return DIERR_INVALIDPARAM;
    script_.ranges.push_back(*reinterpret_cast<const DIPROPRANGE*>(header));
    return DI_OK;
  }

 private:
  void Record(const char* call) { owner_.calls.push_back(name_ + "." + call); }

  FakeDirectInput& owner_;
  FakeDirectInput::Device& script_;
  std::string name_;
};

class FakeDirectInputObject final : public IDirectInput8A {
 public:
  explicit FakeDirectInputObject(FakeDirectInput& owner) : owner_(owner) { owner_.directInputAlive = true; }
  ~FakeDirectInputObject() override {
    owner_.calls.push_back("DirectInput.Release");
    owner_.directInputAlive = false;
  }

  HRESULT CreateDevice(const GUID& instance, IDirectInputDevice8A** device) override {
    *device = nullptr;
    FakeDirectInput::Device* script = nullptr;
    std::string name;
    if (instance == GUID_SysKeyboard) {
      script = &owner_.keyboard;
      name = "keyboard";
    } else if (instance == GUID_SysMouse) {
      script = &owner_.mouse;
      name = "mouse";
    } else if (instance.Data2 == kControllerMark && instance.Data1 < owner_.controllers.size()) {
      script = &owner_.controllers[instance.Data1];
      name = "controller[" + std::to_string(instance.Data1) + "]";
    }
    if (!script) return DIERR_DEVICENOTREG;
    owner_.calls.push_back(name + ".CreateDevice");
    if (FAILED(script->createResult)) return script->createResult;
    *device = new FakeDevice(owner_, *script, name);
    return DI_OK;
  }

  HRESULT EnumDevices(DWORD deviceClass, LPDIENUMDEVICESCALLBACKA callback, void* ref, DWORD flags) override {
    owner_.calls.push_back("DirectInput.EnumDevices");
    owner_.enumClass = deviceClass;
    owner_.enumFlags = flags;
    if (deviceClass != DI8DEVCLASS_GAMECTRL && deviceClass != DI8DEVCLASS_ALL) return DI_OK;
    for (size_t index = 0; index < owner_.controllers.size(); ++index) {
      DIDEVICEINSTANCEA instance = {sizeof instance, FakeDirectInput::ControllerGuid(index), {}, DI8DEVTYPE_JOYSTICK,
                                    "Fake controller", "Fake controller"};
      if (callback(&instance, ref) == DIENUM_STOP) break;
    }
    return DI_OK;
  }

 private:
  FakeDirectInput& owner_;
};

HRESULT CreateFakeDirectInput(DWORD version, IDirectInput8A** directInput) {
  *directInput = nullptr;
  installed->requestedVersion = version;
  if (FAILED(installed->createResult)) return installed->createResult;
  *directInput = new FakeDirectInputObject(*installed);
  return DI_OK;
}

}  // namespace

FakeDirectInput::FakeDirectInput() {
  installed = this;
  SetDirectInputFactory(CreateFakeDirectInput);
}

FakeDirectInput::~FakeDirectInput() {
  SetDirectInputFactory(nullptr);
  installed = nullptr;
}

GUID FakeDirectInput::ControllerGuid(size_t index) {
  return {static_cast<uint32_t>(index), kControllerMark, 0, {}};
}
