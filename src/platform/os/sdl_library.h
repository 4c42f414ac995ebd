// SDL, opened on its first call (see lazy_library.h): SDL and the libraries
// it needs (sound, X, Wayland) take longer to load than a check report on a
// small plug-in takes to write, and a check report never calls SDL.
#pragma once
#include <SDL2/SDL.h>

#include "platform/os/lazy_library.h"

// As SDL_syswm.h declares it; that header brings in X11's, with its macros.
struct SDL_SysWMinfo;
extern "C" SDL_bool SDLCALL SDL_GetWindowWMInfo(SDL_Window* window, SDL_SysWMinfo* info);

// Every SDL function the program calls.
#define VDL_SDL_FUNCTIONS(X) \
  X(SDL_CreateRGBSurfaceWithFormat) \
  X(SDL_CreateWindow) \
  X(SDL_Delay) \
  X(SDL_DestroyWindow) \
  X(SDL_DisableScreenSaver) \
  X(SDL_EnableScreenSaver) \
  X(SDL_FreeSurface) \
  X(SDL_GL_CreateContext) \
  X(SDL_GL_DeleteContext) \
  X(SDL_GL_GetDrawableSize) \
  X(SDL_GL_MakeCurrent) \
  X(SDL_GL_SetAttribute) \
  X(SDL_GL_SetSwapInterval) \
  X(SDL_GL_SwapWindow) \
  X(SDL_GetCurrentVideoDriver) \
  X(SDL_GetDesktopDisplayMode) \
  X(SDL_GetDisplayBounds) \
  X(SDL_GetDisplayMode) \
  X(SDL_GetDisplayName) \
  X(SDL_GetError) \
  X(SDL_GetGlobalMouseState) \
  X(SDL_GetHint) \
  X(SDL_GetKeyboardFocus) \
  X(SDL_GetKeyboardState) \
  X(SDL_GetModState) \
  X(SDL_GetMouseFocus) \
  X(SDL_GetMouseState) \
  X(SDL_GetNumDisplayModes) \
  X(SDL_GetNumVideoDisplays) \
  X(SDL_GetNumVideoDrivers) \
  X(SDL_GetScancodeFromKey) \
  X(SDL_GetVideoDriver) \
  X(SDL_GetWindowBordersSize) \
  X(SDL_GetWindowFlags) \
  X(SDL_GetWindowFromID) \
  X(SDL_GetWindowPosition) \
  X(SDL_GetWindowSize) \
  X(SDL_GetWindowWMInfo) \
  X(SDL_HideWindow) \
  X(SDL_InitSubSystem) \
  X(SDL_JoystickClose) \
  X(SDL_JoystickGetAttached) \
  X(SDL_JoystickGetAxis) \
  X(SDL_JoystickGetButton) \
  X(SDL_JoystickGetDeviceGUID) \
  X(SDL_JoystickGetDeviceInstanceID) \
  X(SDL_JoystickGetHat) \
  X(SDL_JoystickNameForIndex) \
  X(SDL_JoystickNumAxes) \
  X(SDL_JoystickNumButtons) \
  X(SDL_JoystickNumHats) \
  X(SDL_JoystickOpen) \
  X(SDL_JoystickUpdate) \
  X(SDL_MinimizeWindow) \
  X(SDL_NumJoysticks) \
  X(SDL_PollEvent) \
  X(SDL_QuitSubSystem) \
  X(SDL_SetHint) \
  X(SDL_SetHintWithPriority) \
  X(SDL_SetWindowFullscreen) \
  X(SDL_SetWindowIcon) \
  X(SDL_SetWindowPosition) \
  X(SDL_SetWindowSize) \
  X(SDL_SetWindowTitle) \
  X(SDL_ShowCursor) \
  X(SDL_ShowSimpleMessageBox) \
  X(SDL_ShowWindow) \
  X(SDL_StopTextInput) \
  X(SDL_WaitEvent) \
  X(SDL_WarpMouseGlobal) \
  X(SDL_WarpMouseInWindow) \
  X(SDL_WasInit)

struct SdlLibrary {
  VDL_SDL_FUNCTIONS(VDL_LIBRARY_POINTER)
};

// SDL's functions, opened on the first call.
const SdlLibrary& Sdl();
// Whether SDL was opened and started `flags`; never opens it.
bool SdlWasInit(Uint32 flags);
