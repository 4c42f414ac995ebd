#include "base/window_globals.h"

HWND mainWindow = nullptr;
int clientWidth, clientHeight;
int isActive;

void SetCaption(const char* text) { Os().SetWindowTextA(mainWindow, text); }

void SendCloseMessage() { Os().SendMessageA(mainWindow, WM_CLOSE, 0, 0); }
