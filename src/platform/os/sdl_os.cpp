#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/os/message_translation.h"
#include "platform/os/named_lock.h"
#include "platform/os/posix_system.h"
#include "platform/os/program_icon.h"
#include "platform/os/real_os.h"
#include "platform/os/screen_saver.h"
#include "platform/os/sdl_events.h"
#include "platform/os/sdl_library.h"
#include "platform/os/sdl_window.h"
#include "platform/os/video_choice.h"
#include "platform/os/virtual_keys.h"
#include "platform/os/window_class.h"
#include "platform/os/window_presence.h"

namespace {

struct WindowRecord {
  SDL_Window* window;
  WNDPROC procedure;
};

bool debuggerOutputShown = true;

HWND HandleOf(SDL_Window* window) { return reinterpret_cast<HWND>(window); }

constexpr LPARAM kMonitorOff = 2;  // the lParam of SC_MONITORPOWER that shuts the display off

// Message boxes need a display; the headless drivers have none to show one on.
bool CanShowMessageBox() {
  const char* driver = SdlWasInit(SDL_INIT_VIDEO) ? Sdl().SDL_GetCurrentVideoDriver() : Sdl().SDL_GetHint(SDL_HINT_VIDEODRIVER);
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

void WriteMessageToStderr(const char* text, const char* caption) {
  size_t length = std::strlen(text);
  bool endsWithNewline = length > 0 && text[length - 1] == '\n';
  std::fprintf(stderr, "%s%s%s%s", caption, *caption ? ": " : "", text, endsWithNewline ? "" : "\n");
}

class SdlOperatingSystem final : public OperatingSystem {
 public:
  void* CreateMutexA(const char* name) override { return OpenNamedLock(name); }

  DWORD WaitForSingleObject(void* mutex, DWORD timeoutMs) override {
    auto* lock = static_cast<NamedLock*>(mutex);
    DWORD start = timeGetTime();
    for (;;) {
      if (TryAcquireNamedLock(lock)) return WAIT_OBJECT_0;
      if (timeGetTime() - start >= timeoutMs) return WAIT_TIMEOUT;
      Sdl().SDL_Delay(10);
    }
  }

  void ReleaseMutex(void* mutex) override { ReleaseNamedLock(static_cast<NamedLock*>(mutex)); }
  void CloseHandle(void* handle) override { CloseNamedLock(static_cast<NamedLock*>(handle)); }

  DWORD GetModuleFileNameA(char* buffer, DWORD size) override { return ReadProgramPath(buffer, size); }

  // Nothing here needs COM.
  void CoInitialize() override {}
  void CoUninitialize() override {}

  HWND CreateWindowExA(const char* title, int width, int height, WNDPROC procedure) override {
    if (!InitVideo()) return nullptr;
    SDL_Window* window = Sdl().SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
      std::fprintf(stderr, "SDL_CreateWindow: %s\n", Sdl().SDL_GetError());
      return nullptr;
    }
    SetProgramIcon(window);
    windows_.push_back({window, procedure});
    return HandleOf(window);
  }

  void DestroyWindow(HWND window) override {
    for (auto it = windows_.begin(); it != windows_.end(); ++it) {
      if (HandleOf(it->window) != window) continue;
      if (it == windows_.begin()) LeaveFront(it->window);
      Sdl().SDL_DestroyWindow(it->window);
      windows_.erase(it);
      return;
    }
  }

  void SetWindowTextA(HWND window, const char* text) override {
    if (SDL_Window* w = SdlWindow(window)) Sdl().SDL_SetWindowTitle(w, text);
  }

  void ShowWindow(HWND window, bool show) override {
    if (SDL_Window* w = SdlWindow(window)) show ? Sdl().SDL_ShowWindow(w) : Sdl().SDL_HideWindow(w);
  }

  // Paints at once, as the Win32 call sends WM_PAINT past the queue.
  void UpdateWindow(HWND window) override { SendMessageA(window, WM_PAINT, 0, 0); }

  void CloseWindow(HWND window) override {
    if (SDL_Window* w = SdlWindow(window)) Sdl().SDL_MinimizeWindow(w);
  }

  // SDL places the client area; the frame sits around it.
  void SetWindowPos(HWND window, int x, int y) override {
    SDL_Window* w = SdlWindow(window);
    if (!w) return;
    RECT frame = FrameOf(w);
    Sdl().SDL_SetWindowPosition(w, x - frame.left, y - frame.top);
  }

  RECT GetClientRect(HWND window) override {
    SDL_Window* w = SdlWindow(window);
    if (!w || (Sdl().SDL_GetWindowFlags(w) & SDL_WINDOW_MINIMIZED)) return RECT{0, 0, 0, 0};
    int width = 0, height = 0;
    Sdl().SDL_GetWindowSize(w, &width, &height);
    return RECT{0, 0, width, height};
  }

  RECT GetDesktopRect() override {
    SDL_Rect bounds{0, 0, 0, 0};
    if (InitVideo()) Sdl().SDL_GetDisplayBounds(0, &bounds);
    return RECT{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
  }

  RECT AdjustWindowRect(RECT client) override {
    RECT frame = windows_.empty() ? RECT{0, 0, 0, 0} : FrameOf(windows_.front().window);
    return RECT{client.left + frame.left, client.top + frame.top, client.right + frame.right,
                client.bottom + frame.bottom};
  }

  HWND GetActiveWindow() override {
    if (!SdlWasInit(SDL_INIT_VIDEO)) return nullptr;
    SDL_Window* focus = Sdl().SDL_GetKeyboardFocus();
    return SdlWindow(HandleOf(focus)) ? HandleOf(focus) : nullptr;
  }

  bool PeekMessageA(MSG* msg) override {
    SDL_Event event;
    while (queue_.empty() && SdlWasInit(SDL_INIT_EVENTS) && Sdl().SDL_PollEvent(&event)) Take(event);
    if (queue_.empty()) return false;
    *msg = queue_.front();
    queue_.pop_front();
    return true;
  }

  void WaitMessage() override {
    SDL_Event event;
    while (queue_.empty() && InitVideo() && Sdl().SDL_WaitEvent(&event)) Take(event);
  }

  LRESULT DispatchMessageA(const MSG* msg) override {
    return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  }

  LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
    for (const WindowRecord& record : windows_)
      if (HandleOf(record.window) == window && record.procedure)
        return record.procedure(window, message, wParam, lParam);
    return 0;
  }

  void PostQuitMessage(int exitCode) override {
    queue_.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
  }

  // SDL carries out the platform's default actions itself.
  LRESULT DefWindowProcA(HWND, UINT, WPARAM, LPARAM) override { return 0; }

  int MessageBoxA(HWND owner, const char* text, const char* caption, UINT) override {
    WriteMessageToStderr(text, caption);
    if (CanShowMessageBox() &&
        Sdl().SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, SdlWindow(owner)) != 0)
      std::fprintf(stderr, "SDL_ShowSimpleMessageBox: %s\n", Sdl().SDL_GetError());
    return IDOK;
  }

  DWORD timeGetTime() override { return MonotonicMilliseconds(); }
  void Sleep(DWORD ms) override { Sdl().SDL_Delay(ms); }
  void OutputDebugStringA(const char* text) override {
    if (debuggerOutputShown) std::fputs(text, stderr);
  }
  void GetLocalTime(SYSTEMTIME* time) override { ReadLocalTime(time); }
  bool GetVersionExA(OSVERSIONINFOA* info) override { return ReadKernelVersion(info); }
  void GlobalMemoryStatus(MEMORYSTATUS* status) override { ReadPhysicalMemory(status); }

  // A display counter as on Windows: the cursor shows while it is 0 or more.
  int ShowCursor(bool show) override {
    cursorCounter_ += show ? 1 : -1;
    if (InitVideo()) Sdl().SDL_ShowCursor(cursorCounter_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return cursorCounter_;
  }

  bool GetCursorPos(POINT* point) override {
    if (!InitVideo()) return false;
    // Over our window the position comes from its own events and warps: on X11
    // the global state is only refreshed by button presses and warps.
    if (SDL_Window* focus = Sdl().SDL_GetMouseFocus()) {
      Sdl().SDL_GetMouseState(&point->x, &point->y);
      ClientToScreen(HandleOf(focus), point);
    } else {
      Sdl().SDL_GetGlobalMouseState(&point->x, &point->y);
    }
    return true;
  }

  bool SetCursorPos(int x, int y) override {
    if (!InitVideo()) return false;
    if (windows_.empty()) return Sdl().SDL_WarpMouseGlobal(x, y) == 0;
    POINT point{x, y};
    HWND window = HandleOf(windows_.front().window);
    ScreenToClient(window, &point);
    Sdl().SDL_WarpMouseInWindow(windows_.front().window, point.x, point.y);
    return true;
  }

  void ScreenToClient(HWND window, POINT* point) override {
    POINT origin = ClientOrigin(window);
    point->x -= origin.x;
    point->y -= origin.y;
  }

  void ClientToScreen(HWND window, POINT* point) override {
    POINT origin = ClientOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
  }

  int16_t GetAsyncKeyState(int virtualKey) override {
    bool down = SdlWasInit(SDL_INIT_VIDEO) && IsVirtualKeyDown(virtualKey);
    return keyTable_.Query(virtualKey, down);
  }

  void CloseInputMethodWindow(HWND) override {
    if (SdlWasInit(SDL_INIT_VIDEO)) Sdl().SDL_StopTextInput();
  }

  SDL_Window* SdlWindow(HWND window) const {
    for (const WindowRecord& record : windows_)
      if (HandleOf(record.window) == window) return record.window;
    return nullptr;
  }

 private:
  // SDL starts on first need; its signal handlers then turn SIGTERM and SIGINT
  // into a quit event, which closes the main window.
  bool InitVideo() {
    if (SdlWasInit(SDL_INIT_VIDEO)) return true;
    if (videoFailed_) return false;
    // One close request is enough: the window's own close event carries it.
    Sdl().SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The screen saver is held off only while the main window is in front.
    Sdl().SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    NameWindowClass();
    // With no session bus, libdbus would fork dbus-launch to start one for
    // SDL's input-method and screen-saver calls, though no service the viewer
    // could reach would be on a bus started so.
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    UseOnlyVisibleVideo();
    if (Sdl().SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      std::fprintf(stderr, "SDL_InitSubSystem(video): %s\n", Sdl().SDL_GetError());
      videoFailed_ = true;
      return false;
    }
    return true;
  }

  void Take(const SDL_Event& event) {
    NotifySdlEventListeners(event);
    keyTable_.Observe(event);
    HWND mainWindow = windows_.empty() ? nullptr : HandleOf(windows_.front().window);
    HWND eventWindow = nullptr;
    if (event.type == SDL_WINDOWEVENT) eventWindow = HandleOf(Sdl().SDL_GetWindowFromID(event.window.windowID));
    if (!SdlWindow(eventWindow)) eventWindow = nullptr;
    if (eventWindow && eventWindow == mainWindow) FollowPresence(mainWindow, event.window);
    MSG messages[kMaxMessagesPerEvent];
    int count = TranslateSdlEvent(event, eventWindow, mainWindow, GetClientRect(eventWindow), messages);
    queue_.insert(queue_.end(), messages, messages + count);
  }

  // Windows asks only the window in front whether the screen saver may start or
  // the display power down; SDL holds off both together.
  void FollowPresence(HWND window, const SDL_WindowEvent& event) {
    bool wasInFront = IsInFront(presence_);
    NoteWindowEvent(presence_, event);
    bool inFront = IsInFront(presence_);
    if (inFront == wasInFront) return;
    bool refused = inFront && (SendMessageA(window, WM_SYSCOMMAND, SC_SCREENSAVE, 0) ||
                               SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, kMonitorOff));
    refused ? HoldScreenSaver() : ReleaseScreenSaver(SdlWindow(window));
  }

  void LeaveFront(SDL_Window* window) {
    if (IsInFront(presence_)) ReleaseScreenSaver(window);
    presence_ = WindowPresence{};
  }

  static RECT FrameOf(SDL_Window* window) {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (Sdl().SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) return RECT{0, 0, 0, 0};
    return RECT{-left, -top, right, bottom};
  }

  POINT ClientOrigin(HWND window) const {
    POINT origin{0, 0};
    if (SDL_Window* w = SdlWindow(window)) Sdl().SDL_GetWindowPosition(w, &origin.x, &origin.y);
    return origin;
  }

  std::vector<WindowRecord> windows_;
  std::deque<MSG> queue_;
  AsyncKeyTable keyTable_;
  WindowPresence presence_;
  int cursorCounter_ = 0;
  bool videoFailed_ = false;
};

SdlOperatingSystem& TheRealOs() {
  static auto* os = new SdlOperatingSystem();
  return *os;
}

}  // namespace

OperatingSystem& RealOperatingSystem() { return TheRealOs(); }

void ShowDebuggerOutput(bool shown) { debuggerOutputShown = shown; }
bool DebuggerOutputShown() { return debuggerOutputShown; }

void OutputFaultLine(const char* text) {
  Os().OutputDebugStringA(text);
  if (!debuggerOutputShown) std::fprintf(stderr, "vondrel-viewer: %s", text);
}

SDL_Window* SdlWindowOf(HWND window) { return TheRealOs().SdlWindow(window); }
