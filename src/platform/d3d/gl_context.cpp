#include "platform/d3d/gl_context.h"

#include <epoxy/gl.h>

#include <cstdlib>

#include "platform/os/sdl_library.h"

namespace {

SDL_GLContext CreateContext(SDL_Window* window, bool robust) {
  Sdl().SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  Sdl().SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  Sdl().SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  Sdl().SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, robust ? SDL_GL_CONTEXT_ROBUST_ACCESS_FLAG : 0);
  Sdl().SDL_GL_SetAttribute(SDL_GL_CONTEXT_RESET_NOTIFICATION,
                      robust ? SDL_GL_CONTEXT_RESET_LOSE_CONTEXT : SDL_GL_CONTEXT_RESET_NO_NOTIFICATION);
  return Sdl().SDL_GL_CreateContext(window);
}

}  // namespace

bool IsSoftwareRenderer(const std::string& renderer) {
  for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
    if (renderer.find(name) != std::string::npos) return true;
  return false;
}

bool CreateGlContext(SDL_Window* window, Rasteriser rasteriser, GlContext* out, std::string* reason) {
  *out = GlContext{};
  if (!window) {
    *reason = "no window";
    return false;
  }
  // Mesa reads this when it loads its driver; a driver already loaded stays, and
  // the renderer check below then refuses the context.
  if (rasteriser == Rasteriser::Software) setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
  Sdl().SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, rasteriser == Rasteriser::Accelerated ? 1 : -1);
  bool robust = true;
  SDL_GLContext context = CreateContext(window, true);
  if (!context) {
    robust = false;
    context = CreateContext(window, false);
  }
  Sdl().SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, -1);
  if (!context) {
    *reason = std::string("no OpenGL 3.3 core context: ") + Sdl().SDL_GetError();
    return false;
  }
  if (Sdl().SDL_GL_MakeCurrent(window, context) != 0) {
    *reason = std::string("context cannot be made current: ") + Sdl().SDL_GetError();
    Sdl().SDL_GL_DeleteContext(context);
    return false;
  }
  const GLubyte* renderer = glGetString(GL_RENDERER);
  std::string name = renderer ? reinterpret_cast<const char*>(renderer) : "";
  bool software = IsSoftwareRenderer(name);
  if ((rasteriser == Rasteriser::Accelerated && software) || (rasteriser == Rasteriser::Software && !software)) {
    *reason = (software ? "not a hardware rasteriser: " : "not a software rasteriser: ") + name;
    Sdl().SDL_GL_MakeCurrent(window, nullptr);
    Sdl().SDL_GL_DeleteContext(context);
    return false;
  }
  GLint strategy = 0;
  if (robust) glGetIntegerv(GL_RESET_NOTIFICATION_STRATEGY_ARB, &strategy);
  out->window = window;
  out->context = context;
  out->robust = strategy == GL_LOSE_CONTEXT_ON_RESET_ARB;
  out->renderer = name;
  return true;
}

void DestroyGlContext(GlContext* context) {
  if (!context->context) return;
  Sdl().SDL_GL_MakeCurrent(context->window, nullptr);
  Sdl().SDL_GL_DeleteContext(context->context);
  *context = GlContext{};
}
