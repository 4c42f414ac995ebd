// The real operating-system services (SDL2 and POSIX); never destroyed, so it
// outlives every static object that may still call it at exit.
#pragma once
#include "platform/os/os.h"

OperatingSystem& RealOperatingSystem();

// Whether OutputDebugStringA reaches standard error (the stand-in for a
// debugger); on by default. Modes whose output is a file or a report turn it off.
void ShowDebuggerOutput(bool shown);
bool DebuggerOutputShown();
