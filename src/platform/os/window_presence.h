// Whether the main window is in front: it has the keyboard focus and is not
// minimised. Windows asks only that window whether the screen saver may start
// (WM_SYSCOMMAND SC_SCREENSAVE), so the screen saver is held off only then.
#pragma once
#include <SDL2/SDL_events.h>

struct WindowPresence {
  bool focused = false;
  bool minimised = false;
};

// Notes a window event of the main window; other events change nothing.
void NoteWindowEvent(WindowPresence& presence, const SDL_WindowEvent& event);
bool IsInFront(const WindowPresence& presence);
