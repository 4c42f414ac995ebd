// The real operating-system layer holds the screen saver off while its main
// window is in front (focused, not minimised) and the window procedure refuses
// the screen saver, and lets it run again otherwise.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "headless_device.h"
#include "platform/os/os.h"
#include "platform/os/sdl_window.h"

namespace {

LRESULT RefusingProcedure(HWND, UINT message, WPARAM wParam, LPARAM) {
  return message == WM_SYSCOMMAND && (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER);
}

LRESULT AllowingProcedure(HWND, UINT, WPARAM, LPARAM) { return 0; }

struct Step {
  SDL_WindowEventID event;
  bool screenSaverEnabled;
};

// Gives the window the event through SDL's queue and the layer's message pump.
void Deliver(HWND window, SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = static_cast<Uint8>(id);
  event.window.windowID = SDL_GetWindowID(SdlWindowOf(window));
  ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  MSG message;
  while (Os().PeekMessageA(&message)) Os().DispatchMessageA(&message);
}

void ExpectSteps(WNDPROC procedure, const std::vector<Step>& steps) {
  UseHeadlessDisplay();
  HWND window = Os().CreateWindowExA("screen saver", 64, 48, procedure);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(SDL_IsScreenSaverEnabled()) << "held before the window came to the front";
  for (const Step& step : steps) {
    Deliver(window, step.event);
    EXPECT_EQ(SDL_IsScreenSaverEnabled(), step.screenSaverEnabled) << "after window event " << step.event;
  }
  Os().DestroyWindow(window);
  EXPECT_TRUE(SDL_IsScreenSaverEnabled()) << "still held after the window went";
}

TEST(PlatformScreenSaverTest, HeldOnlyWhileARefusingWindowIsInFront) {
  ExpectSteps(RefusingProcedure, {{SDL_WINDOWEVENT_SHOWN, true},
                                  {SDL_WINDOWEVENT_FOCUS_GAINED, false},
                                  {SDL_WINDOWEVENT_MOVED, false},
                                  {SDL_WINDOWEVENT_MINIMIZED, true},
                                  {SDL_WINDOWEVENT_RESTORED, false},
                                  {SDL_WINDOWEVENT_FOCUS_LOST, true},
                                  {SDL_WINDOWEVENT_FOCUS_GAINED, false}});
}

TEST(PlatformScreenSaverTest, NeverHeldForAWindowThatAllowsIt) {
  ExpectSteps(AllowingProcedure, {{SDL_WINDOWEVENT_FOCUS_GAINED, true}, {SDL_WINDOWEVENT_RESTORED, true}});
}

}  // namespace
