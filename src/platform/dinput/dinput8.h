// A DirectInput-8-shaped input interface: the keyboard, the mouse and game
// controllers as devices with data formats and immediate state reads. The SDL
// implementation lives in sdl_*.cpp; unit tests install their own factory
// (tests/doubles). Only what the program uses is declared, with the documented
// numeric values.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/d3d/d3d8types.h"
#include "platform/d3d/unknown.h"

using LONG = int32_t;
using BYTE = uint8_t;

struct GUID {
  uint32_t Data1;
  uint16_t Data2, Data3;
  uint8_t Data4[8];
  friend bool operator==(const GUID&, const GUID&) = default;
};

// The system keyboard and mouse.
inline constexpr GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

constexpr DWORD DIRECTINPUT_VERSION = 0x0800;

constexpr HRESULT DI_OK = 0;
constexpr HRESULT DIERR_GENERIC = E_FAIL;
constexpr HRESULT DIERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT DIERR_OBJECTNOTFOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_NOTINITIALIZED = static_cast<HRESULT>(0x80070015u);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);

// Data formats. DirectInput describes each object of a format; here a format
// is known by the size of the state record it fills.
struct DIDATAFORMAT {
  DWORD dwDataSize;
};

// Cooperative levels.
constexpr DWORD DISCL_EXCLUSIVE = 0x1;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x2;
constexpr DWORD DISCL_FOREGROUND = 0x4;
constexpr DWORD DISCL_BACKGROUND = 0x8;

// Device classes and types.
constexpr DWORD DI8DEVCLASS_ALL = 0;
constexpr DWORD DI8DEVCLASS_POINTER = 2;
constexpr DWORD DI8DEVCLASS_KEYBOARD = 3;
constexpr DWORD DI8DEVCLASS_GAMECTRL = 4;
constexpr DWORD DI8DEVTYPE_MOUSE = 0x12;
constexpr DWORD DI8DEVTYPE_KEYBOARD = 0x13;
constexpr DWORD DI8DEVTYPE_JOYSTICK = 0x14;
constexpr DWORD DIEDFL_ATTACHEDONLY = 1;

constexpr BOOL DIENUM_STOP = 0;
constexpr BOOL DIENUM_CONTINUE = 1;

// Object types: the low byte holds the kind, bits 8..23 the instance number.
constexpr DWORD DIDFT_ALL = 0;
constexpr DWORD DIDFT_RELAXIS = 0x1;
constexpr DWORD DIDFT_ABSAXIS = 0x2;
constexpr DWORD DIDFT_AXIS = 0x3;
constexpr DWORD DIDFT_PSHBUTTON = 0x4;
constexpr DWORD DIDFT_POV = 0x10;
constexpr DWORD DIDFT_MAKEINSTANCE(DWORD n) { return (n & 0xFFFF) << 8; }
constexpr DWORD DIDFT_GETINSTANCE(DWORD type) { return (type >> 8) & 0xFFFF; }

// Properties. DirectInput passes property ids as small integers in place of a
// GUID pointer; here they are plain numbers.
constexpr DWORD DIPROP_RANGE = 4;
constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIPH_BYOFFSET = 1;
constexpr DWORD DIPH_BYID = 2;

struct DIPROPHEADER {
  DWORD dwSize;
  DWORD dwHeaderSize;
  DWORD dwObj;
  DWORD dwHow;
};

struct DIPROPRANGE {
  DIPROPHEADER diph;
  LONG lMin;
  LONG lMax;
};
static_assert(sizeof(DIPROPHEADER) == 16 && sizeof(DIPROPRANGE) == 24);

constexpr size_t kDeviceNameSize = 260;

struct DIDEVICEINSTANCEA {
  DWORD dwSize;
  GUID guidInstance;
  GUID guidProduct;
  DWORD dwDevType;
  char tszInstanceName[kDeviceNameSize];
  char tszProductName[kDeviceNameSize];
};

struct DIDEVICEOBJECTINSTANCEA {
  DWORD dwSize;
  DWORD dwOfs;   // offset of the object's value in the state record
  DWORD dwType;  // DIDFT_ kind | DIDFT_MAKEINSTANCE(n)
};

using LPDIENUMDEVICESCALLBACKA = BOOL (*)(const DIDEVICEINSTANCEA* instance, void* ref);
using LPDIENUMDEVICEOBJECTSCALLBACKA = BOOL (*)(const DIDEVICEOBJECTINSTANCEA* object, void* ref);

// Immediate state records. A BYTE button or key is down when bit 7 is set.
struct DIMOUSESTATE {
  LONG lX, lY, lZ;  // relative movement since the previous read; a wheel notch is 120
  BYTE rgbButtons[4];
};

struct DIJOYSTATE2 {
  LONG lX, lY, lZ, lRx, lRy, lRz;
  LONG rglSlider[2];
  DWORD rgdwPOV[4];  // hundredths of a degree clockwise from north; 0xFFFFFFFF when centred
  BYTE rgbButtons[128];
  LONG lVX, lVY, lVZ, lVRx, lVRy, lVRz;
  LONG rglVSlider[2];
  LONG lAX, lAY, lAZ, lARx, lARy, lARz;
  LONG rglASlider[2];
  LONG lFX, lFY, lFZ, lFRx, lFRy, lFRz;
  LONG rglFSlider[2];
};
static_assert(sizeof(DIMOUSESTATE) == 16 && sizeof(DIJOYSTATE2) == 272);

inline constexpr DIDATAFORMAT c_dfDIKeyboard = {256};
inline constexpr DIDATAFORMAT c_dfDIMouse = {sizeof(DIMOUSESTATE)};
inline constexpr DIDATAFORMAT c_dfDIJoystick2 = {sizeof(DIJOYSTATE2)};

class IDirectInputDevice8A : public IUnknown {
 public:
  virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT Acquire() = 0;
  virtual HRESULT Unacquire() = 0;
  // Fills size bytes of the data format's state record with the present state.
  virtual HRESULT GetDeviceState(DWORD size, void* data) = 0;
  // Calls back for each object whose kind matches flags (DIDFT_ALL: every object).
  virtual HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, void* ref, DWORD flags) = 0;
  virtual HRESULT SetProperty(DWORD property, const DIPROPHEADER* header) = 0;
};

class IDirectInput8A : public IUnknown {
 public:
  virtual HRESULT CreateDevice(const GUID& instance, IDirectInputDevice8A** device) = 0;
  virtual HRESULT EnumDevices(DWORD deviceClass, LPDIENUMDEVICESCALLBACKA callback, void* ref, DWORD flags) = 0;
};

// Creates the DirectInput object for version 0x0800. The SDL implementation is
// the default; tests install their own factory.
HRESULT DirectInput8Create(DWORD version, IDirectInput8A** directInput);
using DirectInputFactory = HRESULT (*)(DWORD version, IDirectInput8A** directInput);
void SetDirectInputFactory(DirectInputFactory factory);  // null restores the SDL one

// Keyboard codes: the index of a key in the keyboard state record.
constexpr uint8_t DIK_ESCAPE = 0x01;
constexpr uint8_t DIK_1 = 0x02, DIK_2 = 0x03, DIK_3 = 0x04, DIK_4 = 0x05, DIK_5 = 0x06;
constexpr uint8_t DIK_6 = 0x07, DIK_7 = 0x08, DIK_8 = 0x09, DIK_9 = 0x0A, DIK_0 = 0x0B;
constexpr uint8_t DIK_MINUS = 0x0C, DIK_EQUALS = 0x0D, DIK_BACK = 0x0E, DIK_TAB = 0x0F;
constexpr uint8_t DIK_Q = 0x10, DIK_W = 0x11, DIK_E = 0x12, DIK_R = 0x13, DIK_T = 0x14;
constexpr uint8_t DIK_Y = 0x15, DIK_U = 0x16, DIK_I = 0x17, DIK_O = 0x18, DIK_P = 0x19;
constexpr uint8_t DIK_LBRACKET = 0x1A, DIK_RBRACKET = 0x1B, DIK_RETURN = 0x1C, DIK_LCONTROL = 0x1D;
constexpr uint8_t DIK_A = 0x1E, DIK_S = 0x1F, DIK_D = 0x20, DIK_F = 0x21, DIK_G = 0x22;
constexpr uint8_t DIK_H = 0x23, DIK_J = 0x24, DIK_K = 0x25, DIK_L = 0x26;
constexpr uint8_t DIK_SEMICOLON = 0x27, DIK_APOSTROPHE = 0x28, DIK_GRAVE = 0x29, DIK_LSHIFT = 0x2A;
constexpr uint8_t DIK_BACKSLASH = 0x2B;
constexpr uint8_t DIK_Z = 0x2C, DIK_X = 0x2D, DIK_C = 0x2E, DIK_V = 0x2F, DIK_B = 0x30;
constexpr uint8_t DIK_N = 0x31, DIK_M = 0x32;
constexpr uint8_t DIK_COMMA = 0x33, DIK_PERIOD = 0x34, DIK_SLASH = 0x35, DIK_RSHIFT = 0x36;
constexpr uint8_t DIK_MULTIPLY = 0x37, DIK_LMENU = 0x38, DIK_SPACE = 0x39, DIK_CAPITAL = 0x3A;
constexpr uint8_t DIK_F1 = 0x3B, DIK_F2 = 0x3C, DIK_F3 = 0x3D, DIK_F4 = 0x3E, DIK_F5 = 0x3F;
constexpr uint8_t DIK_F6 = 0x40, DIK_F7 = 0x41, DIK_F8 = 0x42, DIK_F9 = 0x43, DIK_F10 = 0x44;
constexpr uint8_t DIK_NUMLOCK = 0x45, DIK_SCROLL = 0x46;
constexpr uint8_t DIK_NUMPAD7 = 0x47, DIK_NUMPAD8 = 0x48, DIK_NUMPAD9 = 0x49, DIK_SUBTRACT = 0x4A;
constexpr uint8_t DIK_NUMPAD4 = 0x4B, DIK_NUMPAD5 = 0x4C, DIK_NUMPAD6 = 0x4D, DIK_ADD = 0x4E;
constexpr uint8_t DIK_NUMPAD1 = 0x4F, DIK_NUMPAD2 = 0x50, DIK_NUMPAD3 = 0x51, DIK_NUMPAD0 = 0x52;
constexpr uint8_t DIK_DECIMAL = 0x53, DIK_OEM_102 = 0x56, DIK_F11 = 0x57, DIK_F12 = 0x58;
constexpr uint8_t DIK_F13 = 0x64, DIK_F14 = 0x65, DIK_F15 = 0x66;
constexpr uint8_t DIK_KANA = 0x70, DIK_ABNT_C1 = 0x73, DIK_CONVERT = 0x79, DIK_NOCONVERT = 0x7B;
constexpr uint8_t DIK_YEN = 0x7D, DIK_NUMPADEQUALS = 0x8D, DIK_PREVTRACK = 0x90, DIK_NEXTTRACK = 0x99;
constexpr uint8_t DIK_NUMPADENTER = 0x9C, DIK_RCONTROL = 0x9D;
constexpr uint8_t DIK_MUTE = 0xA0, DIK_CALCULATOR = 0xA1, DIK_PLAYPAUSE = 0xA2, DIK_MEDIASTOP = 0xA4;
constexpr uint8_t DIK_VOLUMEDOWN = 0xAE, DIK_VOLUMEUP = 0xB0, DIK_WEBHOME = 0xB2, DIK_NUMPADCOMMA = 0xB3;
constexpr uint8_t DIK_DIVIDE = 0xB5, DIK_SYSRQ = 0xB7, DIK_RMENU = 0xB8, DIK_PAUSE = 0xC5;
constexpr uint8_t DIK_HOME = 0xC7, DIK_UP = 0xC8, DIK_PRIOR = 0xC9, DIK_LEFT = 0xCB, DIK_RIGHT = 0xCD;
constexpr uint8_t DIK_END = 0xCF, DIK_DOWN = 0xD0, DIK_NEXT = 0xD1, DIK_INSERT = 0xD2, DIK_DELETE = 0xD3;
constexpr uint8_t DIK_LWIN = 0xDB, DIK_RWIN = 0xDC, DIK_APPS = 0xDD, DIK_POWER = 0xDE, DIK_SLEEP = 0xDF;
constexpr uint8_t DIK_WEBSEARCH = 0xE5, DIK_WEBFAVORITES = 0xE6, DIK_WEBREFRESH = 0xE7, DIK_WEBSTOP = 0xE8;
constexpr uint8_t DIK_WEBFORWARD = 0xE9, DIK_WEBBACK = 0xEA, DIK_MYCOMPUTER = 0xEB, DIK_MAIL = 0xEC;
constexpr uint8_t DIK_MEDIASELECT = 0xED;
