// The main window and its window procedure.
#pragma once
#include "platform/os/os.h"

extern HWND mainWindow;  // null until created
extern int clientWidth, clientHeight;
extern int isActive;

int CreateMainWindow();
void SetCaption(const char* text);
// Sends WM_CLOSE to the main window synchronously.
void SendCloseMessage();
LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
