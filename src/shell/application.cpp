#include "shell/application.h"

#include "graphics/direct3d.h"
#include "input/input.h"
#include "platform/os/os.h"
#include "shell/main_window.h"

namespace {

// While inactive with a pump routine, the loop pumps at this interval instead
// of waiting for a message without end.
constexpr DWORD kInactivePumpIntervalMs = 50;

// Takes the single-instance mutex; false when another copy holds it.
bool GuardAgainstSecondCopy(Application& app) {
  LogPrintf("多重起動を禁止します.\n");
  app.mutex = Os().CreateMutexA("vdl mutex");
  if (!app.mutex) {
    LogPrintf("vdl mutex cannot be created; a second copy will not be detected.\n");
    return true;
  }
  DWORD wait = Os().WaitForSingleObject(app.mutex, 0);
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return true;
  Os().CloseHandle(app.mutex);
  app.mutex = nullptr;
  LogPrintf("vdl mutex is held: another copy is running.\n");
  ShowMessage("このプログラムは既に起動しています.\n");
  return false;
}

}  // namespace

bool ApplicationStartup(const ProgramOptions& options) {
  if (!GuardAgainstSecondCopy(Program().application)) return false;
  Os().CoInitialize();
  Program().application.comInitialized = true;
  InitDebugStream(options.logFile);
  if (!CreateMainWindow()) return false;
  if (!InitDirect3D(Program().screenWidth, Program().screenHeight, options.display)) return false;
  if (!InitDirectInput()) return false;
  ResetFramePacing();
  SetFrameRoutine(nullptr);
  return true;
}

void ApplicationShutdown() {
  FreeInput();
  FreeDirect3D();
  DestroyMainWindow();
  if (Program().application.comInitialized) {
    Os().CoUninitialize();
    Program().application.comInitialized = false;
  }
  if (Program().application.mutex) {
    Os().ReleaseMutex(Program().application.mutex);
    Os().CloseHandle(Program().application.mutex);
    Program().application.mutex = nullptr;
  }
}

void ShowMessage(const char* text) {
  Os().MessageBoxA(Program().mainWindow, text, "", MB_OK);
  ClearInputState();
}

void RunFrame() {
  PollInput();
  if (Program().application.frameRoutine) Program().application.frameRoutine();
  PaceFrame();
}

bool PumpMessages() {
  MSG msg;
  while (Os().PeekMessageA(&msg)) {
    if (msg.message == WM_QUIT) return false;
    Os().DispatchMessageA(&msg);
  }
  if (Program().application.pumpRoutine) Program().application.pumpRoutine();
  PollVirtualKeys();
  return true;
}

void RunMainLoop() {
  while (PumpMessages()) {
    if (Program().isActive)
      RunFrame();
    else if (Program().application.pumpRoutine)
      Os().Sleep(kInactivePumpIntervalMs);
    else
      Os().WaitMessage();
  }
}
