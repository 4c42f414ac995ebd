// An OpenGL 3.3 core context on an SDL window, of one of the three kinds the
// Direct3D device types stand for.
#pragma once
#include <SDL2/SDL_video.h>

#include <string>

enum class Rasteriser {
  Accelerated,  // a hardware rasteriser (hardware vertex processing)
  Any,          // whatever the system offers
  Software,     // Mesa's software rasteriser (the reference device)
};

struct GlContext {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  bool robust = false;  // reports resets through the graphics reset status
  std::string renderer;
};

// On failure returns false and says why in `reason`; nothing is left current.
bool CreateGlContext(SDL_Window* window, Rasteriser rasteriser, GlContext* out, std::string* reason);
void DestroyGlContext(GlContext* context);

// llvmpipe, softpipe, swrast: Mesa's rasterisers on the CPU.
bool IsSoftwareRenderer(const std::string& renderer);
