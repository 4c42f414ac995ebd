// The real operating-system services (SDL2 and POSIX); never destroyed, so it
// outlives every static object that may still call it at exit.
#pragma once
#include "platform/os/os.h"

OperatingSystem& RealOperatingSystem();

// Whether OutputDebugStringA reaches standard error (the stand-in for a
// debugger); on by default. Turned off unless the log is asked for there.
void ShowDebuggerOutput(bool shown);
bool DebuggerOutputShown();
// A debugger-output line that tells of a fault (an OpenGL error): it reaches
// standard error also when the debugger output does not, as
// "vondrel-viewer: <text>".
void OutputFaultLine(const char* text);
