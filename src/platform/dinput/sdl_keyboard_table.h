// Which DirectInput key code each SDL scancode stands for. Keys without a
// DirectInput code are absent, so every entry is one physical key.
#pragma once
#include <SDL2/SDL_scancode.h>

#include <cstdint>
#include <span>

struct ScancodeToDik {
  SDL_Scancode scancode;
  uint8_t dik;
};

std::span<const ScancodeToDik> KeyboardScancodeTable();
