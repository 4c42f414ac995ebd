// Translation of SDL events into the window messages of the window procedure.
#pragma once
#include <SDL2/SDL_events.h>

#include "platform/os/os.h"

constexpr int kMaxMessagesPerEvent = 2;

inline LPARAM MakeLParam(int low, int high) {
  return static_cast<LPARAM>((static_cast<uint32_t>(low) & 0xFFFF) | ((static_cast<uint32_t>(high) & 0xFFFF) << 16));
}

// Fills out[] with the messages the event stands for and returns their number.
// eventWindow is the window the event names (null when it names none of ours),
// mainWindow the window that receives application-wide events (quit, display),
// client the current client rectangle of eventWindow.
int TranslateSdlEvent(const SDL_Event& event, HWND eventWindow, HWND mainWindow, RECT client,
                      MSG (&out)[kMaxMessagesPerEvent]);
