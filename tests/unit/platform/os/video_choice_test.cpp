// SDL is offered only drivers that show a window, unless the environment or
// an off-screen picture chose one.
#include "platform/os/video_choice.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

struct Case {
  const char* name;
  const char* environment;  // SDL_VIDEODRIVER, or null
  std::function<void()> before;
  const char* expected;  // the drivers SDL is offered; null for every driver that shows a window
};

TEST(VideoChoice, OffersOnlyVisibleDriversUnlessOneWasChosen) {
  std::string visible;
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    std::string driver = SDL_GetVideoDriver(i);
    if (driver != "offscreen" && driver != "dummy" && driver != "evdev")
      visible += (visible.empty() ? "" : ",") + driver;
  }
  const Case kCases[] = {
      {"nothing chosen", nullptr, [] {}, nullptr},
      {"the environment's driver", "offscreen", [] {}, "offscreen"},
      {"an off-screen picture", nullptr, UseOffscreenVideo, "offscreen"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    if (c.environment)
      setenv("SDL_VIDEODRIVER", c.environment, 1);
    else
      unsetenv("SDL_VIDEODRIVER");
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    c.before();
    UseOnlyVisibleVideo();
    const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    EXPECT_EQ(std::string(hint ? hint : ""), c.expected ? c.expected : visible);
  }
  unsetenv("SDL_VIDEODRIVER");
  SDL_ResetHint(SDL_HINT_VIDEODRIVER);
}

}  // namespace
