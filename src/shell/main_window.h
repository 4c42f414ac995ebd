// The main window's creation and its window procedure.
#pragma once
#include "base/window_globals.h"

int CreateMainWindow();
LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
