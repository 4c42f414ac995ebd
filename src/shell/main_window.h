// The main window's creation and its window procedure.
#pragma once
#include "base/program_state.h"

int CreateMainWindow();
// Destroys the main window when there is one.
void DestroyMainWindow();
LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
