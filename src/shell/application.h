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

struct Application {
  void* mutex = nullptr;  // the single-instance mutex, held while set
  FrameRoutine frameRoutine = nullptr;
  bool comInitialized = false;

  // 1 when every service is up; 0 at the first step that fails.
  int Startup();
  // Releases what Startup set up, in reverse order; safe after a partial start-up.
  void Shutdown();
};

extern Application application;
extern FramePacing framePacing;
extern int screenWidth, screenHeight;
extern char programDirectory[kPathBufferSize];

// screenWidth and screenHeight from the size table.
void SetDisplaySize();
// The command line as the program received it (argv[1..]); set by main.
void SetCommandLine(int argc, char** argv);
// The first argument after the program name, or null when there is none.
const char* PluginArgument();
bool HasOption(const char* option);
void ShowMessage(const char* text);
// Null installs the empty routine.
void SetFrameRoutine(FrameRoutine routine);
// Ends the process at once with the status, skipping every shut-down step.
[[noreturn]] void EndProcess(int status);
// Ends the process with status 1 when it cannot go on: the reason, one line
// without its line end, goes to the log and to standard error.
[[noreturn]] void EndProcessWithReason(const char* reason);

// Restarts the frame schedule and the frame-rate measurement from now.
void ResetFramePacing();
// Measures the frame rate and waits for the next frame slot.
void PaceFrame();
void RunFrame();
// False once WM_QUIT has been taken from the queue.
bool PumpMessages();
// Runs frames while active and waits for messages while not, until WM_QUIT.
void RunMainLoop();
