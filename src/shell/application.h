// The application object: start-up, shut-down, the main loop and frame pacing.
#pragma once
#include <cstdint>

#include "shell/debug_log.h"

using FrameRoutine = void (*)();

struct FramePacing {
  uint32_t frameIntervalMs = 33;
  uint32_t extraMs = 1;
  int fpsFrameCounter = 0;
  int pacingFrameCounter = 0;
  uint32_t nextFrameTime = 0;
  uint32_t lastFpsTime = 0;
  float fps = 30.0f;
};

extern FramePacing framePacing;
extern int screenWidth, screenHeight;
extern char programDirectory[kPathBufferSize];

// The command line as the program received it (argv[1..]); set by main.
void SetCommandLine(int argc, char** argv);
// The first argument after the program name, or null when there is none.
const char* PluginArgument();
bool HasOption(const char* option);
void ShowMessage(const char* text);
void SetFrameRoutine(FrameRoutine routine);
