// The program's state that every layer may read: the application record, the
// frame pacing figures, the display size, the program's directory, the main
// window as the rest of the program sees it, the view switches and the log
// file. It sits low so every layer can reach it through Program(); the shell
// fills it in.
#pragma once
#include <cstdint>

#include "base/debug_log.h"
#include "platform/os/os.h"

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

struct ProgramState {
  Application application;
  FramePacing framePacing;
  int screenWidth = 0, screenHeight = 0;  // from the size table (SetDisplaySize)
  char programDirectory[kPathBufferSize] = "";
  HWND mainWindow = nullptr;  // null until created
  int clientWidth = 0, clientHeight = 0;
  bool isActive = false;
  bool nightMode = false;                   // the meshes then use their night materials
  bool isLinearFilter = false;              // linear texture filtering, else point
  float blinkAngle = 0.0f;                  // the station rails' blink phase in radians
  char debugLogPath[kPathBufferSize] = "";  // the log file (-dbf); empty for none
};

ProgramState& Program();

// screenWidth and screenHeight from the size table.
void SetDisplaySize();
// Null installs the empty routine.
void SetFrameRoutine(FrameRoutine routine);
void SetCaption(const char* text);
// Sends WM_CLOSE to the main window synchronously.
void SendCloseMessage();
