// Listeners for the SDL events that the window-message pump takes from SDL's
// queue. Other parts of the platform layer (mouse wheel, key edges) see every
// event this way without taking events away from the pump.
#pragma once
#include <SDL2/SDL_events.h>

using SdlEventListener = void (*)(const SDL_Event&);

// Adding a listener twice has no further effect.
void AddSdlEventListener(SdlEventListener listener);
void RemoveSdlEventListener(SdlEventListener listener);
// Gives the event to every listener, in the order they were added.
void NotifySdlEventListeners(const SDL_Event& event);
