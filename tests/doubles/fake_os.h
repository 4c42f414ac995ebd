// An operating system for unit tests: a scripted clock and message queue,
// scripted key states, and a record of every call that has a visible effect.
//
//   FakeOs os;                 // installs itself; uninstalls when destroyed
//   os.now = 1000;             // the clock; Sleep advances it
//   os.messages.push_back({...});
//   ... code under test ...
//   EXPECT_EQ(os.DebugText(), "...");
#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/os/os.h"

class FakeOs : public OperatingSystem {
 public:
  struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
  };
  struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  struct CreatedWindow {
    std::string title;
    int width, height;
    WNDPROC procedure;
  };

  FakeOs();  // becomes Os() until destroyed
  ~FakeOs() override;

  // Everything written with OutputDebugStringA, joined.
  std::string DebugText() const;
  // Whether some call of that name (e.g. "DestroyWindow") was recorded.
  bool Called(const std::string& name) const;

  // --- scripted state -------------------------------------------------------
  DWORD now = 0;                 // timeGetTime
  DWORD advancePerTimeQuery = 0;  // added after each timeGetTime
  std::deque<MSG> messages;      // taken by PeekMessageA; PostQuitMessage appends WM_QUIT
  std::deque<MSG> arrivingMessages;  // each WaitMessage moves the first of these into `messages`
  bool mutexHeldElsewhere = false;
  bool failCreateMutex = false;
  bool failCreateWindow = false;
  std::string moduleFileName = "/opt/vondrel/vondrel-viewer";
  SYSTEMTIME localTime{2024, 3, 5, 7, 9, 8, 0, 0};
  OSVERSIONINFOA version{sizeof(OSVERSIONINFOA), 6, 1, 15, VER_PLATFORM_POSIX};
  MEMORYSTATUS memory{sizeof(MEMORYSTATUS), 0, 512ull << 20, 200ull << 20};
  RECT desktop{0, 0, 1280, 1024};
  RECT frame{-4, -24, 4, 4};  // what AdjustWindowRect adds around a client rectangle
  RECT clientRect{0, 0, 640, 480};
  HWND activeWindow = nullptr;
  POINT cursor{0, 0};
  POINT clientOrigin{0, 0};  // screen position of the client area's top-left corner
  std::map<int, int16_t> asyncKeys;  // GetAsyncKeyState results by virtual key
  bool echoToStderr = false;  // also write message boxes and debug output to stderr (for death tests)

  // --- recorded calls -------------------------------------------------------
  std::vector<std::string> calls;  // every call, by name, in order
  std::vector<std::string> debugOutput;
  std::vector<MessageBoxCall> messageBoxes;
  std::vector<SentMessage> sentMessages;
  std::vector<int> quitCodes;
  std::vector<DWORD> sleeps;
  std::vector<CreatedWindow> createdWindows;
  std::vector<std::string> windowTexts;  // SetWindowTextA
  std::vector<POINT> windowPositions;    // SetWindowPos
  std::vector<bool> showCursorCalls;
  std::vector<POINT> cursorMoves;        // SetCursorPos
  int waitMessageCount = 0;
  int cursorCounter = 0;
  HWND window = nullptr;  // the window CreateWindowExA made, while it exists

  static HWND FakeWindowHandle() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x5150)); }

  void* CreateMutexA(const char* name) override;
  DWORD WaitForSingleObject(void* mutex, DWORD timeoutMs) override;
  void ReleaseMutex(void* mutex) override;
  void CloseHandle(void* handle) override;
  DWORD GetModuleFileNameA(char* buffer, DWORD size) override;
  void CoInitialize() override;
  void CoUninitialize() override;
  HWND CreateWindowExA(const char* title, int width, int height, WNDPROC procedure) override;
  void DestroyWindow(HWND window) override;
  void SetWindowTextA(HWND window, const char* text) override;
  void ShowWindow(HWND window, bool show) override;
  void UpdateWindow(HWND window) override;
  void CloseWindow(HWND window) override;
  void SetWindowPos(HWND window, int x, int y) override;
  RECT GetClientRect(HWND window) override;
  RECT GetDesktopRect() override;
  RECT AdjustWindowRect(RECT client) override;
  HWND GetActiveWindow() override;
  bool PeekMessageA(MSG* msg) override;
  void WaitMessage() override;
  LRESULT DispatchMessageA(const MSG* msg) override;
  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void PostQuitMessage(int exitCode) override;
  LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style) override;
  DWORD timeGetTime() override;
  void Sleep(DWORD ms) override;
  void OutputDebugStringA(const char* text) override;
  void GetLocalTime(SYSTEMTIME* time) override;
  bool GetVersionExA(OSVERSIONINFOA* info) override;
  void GlobalMemoryStatus(MEMORYSTATUS* status) override;
  int ShowCursor(bool show) override;
  bool GetCursorPos(POINT* point) override;
  bool SetCursorPos(int x, int y) override;
  void ScreenToClient(HWND window, POINT* point) override;
  void ClientToScreen(HWND window, POINT* point) override;
  int16_t GetAsyncKeyState(int virtualKey) override;
  void CloseInputMethodWindow(HWND window) override;

 private:
  WNDPROC procedure_ = nullptr;
  int mutexToken_ = 0;
};
