#include <gtest/gtest.h>

#include <vector>

#include "platform/os/window_presence.h"

namespace {

struct PresenceCase {
  const char* name;
  std::vector<SDL_WindowEventID> events;
  bool inFront;
};

class WindowPresenceTest : public ::testing::TestWithParam<PresenceCase> {};

TEST_P(WindowPresenceTest, InFrontOnlyWhileFocusedAndNotMinimised) {
  WindowPresence presence;
  for (SDL_WindowEventID id : GetParam().events) {
    SDL_WindowEvent event{};
    event.type = SDL_WINDOWEVENT;
    event.event = static_cast<Uint8>(id);
    NoteWindowEvent(presence, event);
  }
  EXPECT_EQ(IsInFront(presence), GetParam().inFront);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, WindowPresenceTest,
    ::testing::Values(
        PresenceCase{"Created", {}, false},
        PresenceCase{"Shown", {SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_EXPOSED}, false},
        PresenceCase{"Focused", {SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_FOCUS_GAINED}, true},
        PresenceCase{"FocusLost", {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_FOCUS_LOST}, false},
        // Some window managers minimise without taking the focus away first.
        PresenceCase{"MinimisedKeepingFocus", {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MINIMIZED}, false},
        PresenceCase{"RestoredWithFocus",
                     {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED},
                     true},
        PresenceCase{"RestoredWithoutFocus",
                     {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_FOCUS_LOST,
                      SDL_WINDOWEVENT_RESTORED},
                     false},
        PresenceCase{"FocusedWhileMinimised", {SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_FOCUS_GAINED}, false},
        PresenceCase{"MaximisedAfterMinimised",
                     {SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MAXIMIZED},
                     true},
        PresenceCase{"MovedAndResized",
                     {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MOVED, SDL_WINDOWEVENT_SIZE_CHANGED,
                      SDL_WINDOWEVENT_ENTER, SDL_WINDOWEVENT_LEAVE},
                     true}),
    [](const ::testing::TestParamInfo<PresenceCase>& info) { return std::string(info.param.name); });

}  // namespace
