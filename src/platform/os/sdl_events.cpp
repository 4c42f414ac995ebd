#include "platform/os/sdl_events.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<SdlEventListener>& Listeners() {
  static std::vector<SdlEventListener> listeners;
  return listeners;
}

}  // namespace

void AddSdlEventListener(SdlEventListener listener) {
  auto& listeners = Listeners();
  if (listener && std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
    listeners.push_back(listener);
}

void RemoveSdlEventListener(SdlEventListener listener) {
  auto& listeners = Listeners();
  listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

void NotifySdlEventListeners(const SDL_Event& event) {
  for (SdlEventListener listener : Listeners()) listener(event);
}
