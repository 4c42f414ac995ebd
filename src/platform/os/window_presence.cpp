#include "platform/os/window_presence.h"

void NoteWindowEvent(WindowPresence& presence, const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      presence.focused = true;
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      presence.focused = false;
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      presence.minimised = true;
      break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
      presence.minimised = false;
      break;
    default:
      break;
  }
}

bool IsInFront(const WindowPresence& presence) { return presence.focused && !presence.minimised; }
