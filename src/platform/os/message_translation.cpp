#include "platform/os/message_translation.h"

namespace {

int Put(MSG (&out)[kMaxMessagesPerEvent], int count, HWND window, UINT message, WPARAM wParam = 0,
        LPARAM lParam = 0) {
  out[count] = MSG{window, message, wParam, lParam};
  return count + 1;
}

int TranslateWindowEvent(const SDL_WindowEvent& event, HWND window, RECT client,
                         MSG (&out)[kMaxMessagesPerEvent]) {
  if (!window) return 0;
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // Activation also brings the input-method context along, as on Windows.
      return Put(out, Put(out, 0, window, WM_ACTIVATEAPP, 1), window, WM_IME_SETCONTEXT, 1);
    case SDL_WINDOWEVENT_FOCUS_LOST:
      return Put(out, 0, window, WM_ACTIVATEAPP, 0);
    case SDL_WINDOWEVENT_CLOSE:
      return Put(out, 0, window, WM_CLOSE);
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      return Put(out, 0, window, WM_SIZE, SIZE_RESTORED, MakeLParam(event.data1, event.data2));
    case SDL_WINDOWEVENT_MINIMIZED:
      return Put(out, 0, window, WM_SIZE, SIZE_MINIMIZED, 0);
    case SDL_WINDOWEVENT_RESTORED:
      return Put(out, 0, window, WM_SIZE, SIZE_RESTORED,
                 MakeLParam(client.right - client.left, client.bottom - client.top));
    case SDL_WINDOWEVENT_MOVED:
      return Put(out, 0, window, WM_MOVE, 0, MakeLParam(event.data1, event.data2));
    case SDL_WINDOWEVENT_EXPOSED:
      return Put(out, 0, window, WM_PAINT);
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
      return Put(out, 0, window, WM_DISPLAYCHANGE);
    default:
      return 0;
  }
}

}  // namespace

int TranslateSdlEvent(const SDL_Event& event, HWND eventWindow, HWND mainWindow, RECT client,
                      MSG (&out)[kMaxMessagesPerEvent]) {
  switch (event.type) {
    case SDL_QUIT:
      // A termination request (window manager, SIGTERM, SIGINT) closes the
      // main window like its close button, so shut-down runs normally.
      return mainWindow ? Put(out, 0, mainWindow, WM_CLOSE) : Put(out, 0, nullptr, WM_QUIT);
    case SDL_DISPLAYEVENT:
      return mainWindow ? Put(out, 0, mainWindow, WM_DISPLAYCHANGE) : 0;
    case SDL_WINDOWEVENT:
      return TranslateWindowEvent(event.window, eventWindow, client, out);
    default:
      return 0;
  }
}
