// The application object: start-up, shut-down, the main loop and frame pacing.
#pragma once
#include "base/program_state.h"
#include "shell/program_options.h"

// True when every service is up; false at the first step that fails.
bool ApplicationStartup(const ProgramOptions& options);
// Releases what the start-up set up, in reverse order; safe after a partial start-up.
void ApplicationShutdown();

void ShowMessage(const char* text);

// Restarts the frame schedule and the frame-rate measurement from now.
void ResetFramePacing();
// Measures the frame rate and waits for the next frame slot.
void PaceFrame();
void RunFrame();
// False once WM_QUIT has been taken from the queue.
bool PumpMessages();
// Runs frames while active and waits for messages while not, until WM_QUIT.
void RunMainLoop();
