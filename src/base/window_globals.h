// The main window as the rest of the program sees it: its handle, client size
// and activity, its caption and the close request. The shell creates it.
#pragma once
#include "platform/os/os.h"

extern HWND mainWindow;  // null until created
extern int clientWidth, clientHeight;
extern int isActive;

void SetCaption(const char* text);
// Sends WM_CLOSE to the main window synchronously.
void SendCloseMessage();
