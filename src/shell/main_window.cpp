#include "shell/main_window.h"

#include "graphics/direct3d.h"
#include "shell/application.h"

namespace {

// Outer top-left corner that centres a window of the given outer size on the desktop.
POINT CentredPosition(RECT outer, RECT desktop) {
  int outerWidth = outer.right - outer.left;
  int outerHeight = outer.bottom - outer.top;
  return POINT{(desktop.right - outerWidth) / 2, (desktop.bottom - outerHeight) / 2};
}

void TrackClientSize(HWND window) {
  if (!Graphics().isWindowed) return;
  RECT client = Os().GetClientRect(window);
  Program().clientWidth = client.right - client.left;
  Program().clientHeight = client.bottom - client.top;
  LogPrintf("<クライアント領域 %d x %d>\n", Program().clientWidth, Program().clientHeight);
}

}  // namespace

int CreateMainWindow() {
  HWND window = Os().CreateWindowExA("Vondrel", Program().screenWidth, Program().screenHeight, MainWindowProc);
  if (!window) {
    LogPrintf("CreateWindowExA failed.\n");
    return 0;
  }
  Program().mainWindow = window;
  Program().clientWidth = Program().screenWidth;
  Program().clientHeight = Program().screenHeight;

  RECT outer = Os().AdjustWindowRect(RECT{0, 0, Program().clientWidth, Program().clientHeight});
  POINT position = CentredPosition(outer, Os().GetDesktopRect());
  Os().SetWindowPos(window, position.x, position.y);

  Program().isActive = true;
  return 1;
}

void DestroyMainWindow() {
  if (!Program().mainWindow) return;
  Os().DestroyWindow(Program().mainWindow);
  Program().mainWindow = nullptr;
}

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATEAPP:
      Program().isActive = wParam != 0;
      LogPrintf(wParam ? "<アクティブ>\n" : "<非アクティブ>\n");
      return 0;
    case WM_CLOSE:
      // The window stays; the application's shut-down destroys it.
      Os().PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      TrackClientSize(window);
      return 0;
    case WM_DISPLAYCHANGE:
      LogPrintf("<ディスプレイモードの変更>\n");
      return 0;
    case WM_PAINT:
      // Frames are drawn by the frame routines; an uncovered window shows the
      // last one again (no frames are drawn while inactive).
      PresentLastFrame();
      return 0;
    case WM_MOVE:
    case WM_CHAR:
    case WM_SYSKEYDOWN:  // system key combinations get no default handling
      return 0;
    case WM_SYSCOMMAND:
      if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 1;
      return Os().DefWindowProcA(window, message, wParam, lParam);
    case WM_IME_SETCONTEXT:
      Os().CloseInputMethodWindow(window);
      return 0;
    default:
      return Os().DefWindowProcA(window, message, wParam, lParam);
  }
}
