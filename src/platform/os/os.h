// The operating-system services the program calls, in the shape of the Win32
// calls it was designed around. The real implementation (sdl_os.cpp) runs on
// SDL2 and POSIX; unit tests install a scripted double (tests/doubles).
#pragma once
#include <cstdint>

#include "platform/os/windows_types.h"

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// Window messages the program handles, with their Win32 values.
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_IME_SETCONTEXT = 0x0281;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;

constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct POINT {
  int32_t x, y;
};

struct SYSTEMTIME {
  uint16_t wYear, wMonth, wDayOfWeek, wDay, wHour, wMinute, wSecond, wMilliseconds;
};

// Platform id reported by GetVersionExA here: none of the Windows families
// (0 Win32s, 1 Windows 9x, 2 NT). The version is the kernel release
// major.minor with its patch level as build number.
constexpr DWORD VER_PLATFORM_POSIX = 0x10;

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
};

struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;
  uint64_t dwTotalPhys;  // 64-bit here: machines have more than 4 GiB
  uint64_t dwAvailPhys;
};

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr int IDOK = 1;

// Results of WaitForSingleObject on the single-instance mutex.
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_ABANDONED = 0x80;
constexpr DWORD WAIT_TIMEOUT = 0x102;

// Virtual-key codes (Win32 values).
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28;
constexpr int VK_INSERT = 0x2D, VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;  // VK_F1 .. VK_F12 are consecutive
constexpr int VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4,
              VK_RMENU = 0xA5;

class OperatingSystem {
 public:
  virtual ~OperatingSystem() = default;

  // Single-instance mutex: named, not initially owned. Null on failure.
  virtual void* CreateMutexA(const char* name) = 0;
  virtual DWORD WaitForSingleObject(void* mutex, DWORD timeoutMs) = 0;
  virtual void ReleaseMutex(void* mutex) = 0;
  virtual void CloseHandle(void* handle) = 0;

  // Full path of the running program, at most size-1 bytes; returns the length.
  virtual DWORD GetModuleFileNameA(char* buffer, DWORD size) = 0;

  virtual void CoInitialize() = 0;
  virtual void CoUninitialize() = 0;

  // One top-level window with a client area of width x height; the window
  // procedure receives the translated messages. Hidden until ShowWindow.
  virtual HWND CreateWindowExA(const char* title, int width, int height, WNDPROC procedure) = 0;
  virtual void DestroyWindow(HWND window) = 0;
  virtual void SetWindowTextA(HWND window, const char* text) = 0;
  virtual void ShowWindow(HWND window, bool show) = 0;
  virtual void UpdateWindow(HWND window) = 0;
  virtual void CloseWindow(HWND window) = 0;  // minimises, as the Win32 call does
  virtual void SetWindowPos(HWND window, int x, int y) = 0;  // outer top-left corner
  virtual RECT GetClientRect(HWND window) = 0;
  virtual RECT GetDesktopRect() = 0;
  // Outer size of a window whose client area is the given size (frame added).
  virtual RECT AdjustWindowRect(RECT client) = 0;
  virtual HWND GetActiveWindow() = 0;

  virtual bool PeekMessageA(MSG* msg) = 0;  // removes the message it returns
  virtual void WaitMessage() = 0;
  virtual LRESULT DispatchMessageA(const MSG* msg) = 0;
  virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

  virtual int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style) = 0;

  virtual DWORD timeGetTime() = 0;
  virtual void Sleep(DWORD ms) = 0;
  virtual void OutputDebugStringA(const char* text) = 0;
  virtual void GetLocalTime(SYSTEMTIME* time) = 0;
  virtual bool GetVersionExA(OSVERSIONINFOA* info) = 0;
  virtual void GlobalMemoryStatus(MEMORYSTATUS* status) = 0;

  virtual int ShowCursor(bool show) = 0;
  virtual bool GetCursorPos(POINT* point) = 0;
  virtual bool SetCursorPos(int x, int y) = 0;
  virtual void ScreenToClient(HWND window, POINT* point) = 0;
  virtual void ClientToScreen(HWND window, POINT* point) = 0;
  // Bit 15: down now; bit 0: went down since the previous query of this key.
  virtual int16_t GetAsyncKeyState(int virtualKey) = 0;

  virtual void CloseInputMethodWindow(HWND window) = 0;  // ImmGetDefaultIMEWnd + WM_CLOSE
};

// The services in use: the real ones unless a test has installed others.
OperatingSystem& Os();
void SetOperatingSystem(OperatingSystem* os);  // null restores the real one
