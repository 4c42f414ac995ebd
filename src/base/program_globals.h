// The program's globals: the application record, frame pacing figures, the
// display size, the program's directory and the two viewer switches. They sit
// low so every layer can read them; the shell fills them in.
#pragma once
#include <cstdint>

#include "base/debug_log.h"

using FrameRoutine = void (*)();

struct Application {
  void* mutex = nullptr;  // the single-instance mutex, held while set
  FrameRoutine frameRoutine = nullptr;
  // Run at every pump of the message queue while set, also while the window
  // is not active (the viewer's file watch).
  FrameRoutine pumpRoutine = nullptr;
  bool comInitialized = false;
};

struct FramePacing {
  uint32_t frameIntervalMs = 33;
  uint32_t extraMs = 1;
  int fpsFrameCounter = 0;
  int pacingFrameCounter = 0;
  uint32_t nextFrameTime = 0;
  uint32_t lastFpsTime = 0;
  float fps = 30.0f;
};

extern Application application;
extern FramePacing framePacing;
extern int screenWidth, screenHeight;
extern char programDirectory[kPathBufferSize];
extern uint8_t nightMode;       // 0 day, 1 night; the meshes then use their night materials
extern int32_t isLinearFilter;  // 0 point filtering, 1 linear filtering

// screenWidth and screenHeight from the size table.
void SetDisplaySize();
// Null installs the empty routine.
void SetFrameRoutine(FrameRoutine routine);
